/*
 * The SQL functions over single values: the score of two texts (strict or
 * tolerant, whole cells or word by word, folded or not), folding, their
 * phones, their consonant code, a phrase's place in a text, and the "sounds
 * like" operator %~. Each one hands its arguments to the product library
 * as NUL-terminated copies (text_to_cstring: PostgreSQL's text is not
 * terminated) and copies the answer into palloc'd memory; the engine's
 * cost is in the library's call, before which a pending cancel is honoured.
 */
#include "postgres.h"

#include "access/htup_details.h"
#include "fmgr.h"
#include "funcapi.h"
#include "mb/pg_wchar.h"
#include "miscadmin.h"
#include "utils/array.h"
#include "utils/builtins.h"

#include "extension.h"

PG_FUNCTION_INFO_V1(marrowfield_score);
PG_FUNCTION_INFO_V1(marrowfield_score_options);
PG_FUNCTION_INFO_V1(marrowfield_fold_text);
PG_FUNCTION_INFO_V1(marrowfield_phones);
PG_FUNCTION_INFO_V1(marrowfield_code);
PG_FUNCTION_INFO_V1(marrowfield_match);
PG_FUNCTION_INFO_V1(marrowfield_sounds_like);

/*
 * Whether |value| holds a letter a-z or A-Z once folded as |fold| says:
 * only letters carry sound. Folding is asked of the library only for a text
 * with bytes outside ASCII and no ASCII letter, the rare case it decides.
 */
static bool
has_letter(text *value, bool fold)
{
	const unsigned char *bytes = (const unsigned char *) VARDATA_ANY(value);
	size_t		length = VARSIZE_ANY_EXHDR(value);
	bool		beyond_ascii = false;
	size_t		k;
	char	   *folded = NULL;
	char	   *message = NULL;
	bool		found = false;

	if (marrowfield_has_letter(value))
		return true;
	for (k = 0; k < length && !beyond_ascii; k++)
		beyond_ascii = bytes[k] >= 0x80;
	if (!fold || !beyond_ascii)
		return false;
	marrowfield_check(mf_fold(marrowfield_cstring(value, true), MF_FOLD_UTF8,
							  &folded, &message),
					  message);
	for (k = 0; folded[k] != '\0' && !found; k++)
		found = (folded[k] >= 'a' && folded[k] <= 'z') ||
			(folded[k] >= 'A' && folded[k] <= 'Z');
	mf_free(folded);
	return found;
}

/*
 * The score of two texts as |scoring|, |whole_cell| and |fold| say, or -1
 * when either holds no letter. Shared by marrowfield_score and %~.
 */
static int
score_texts(text *a, text *b, int scoring, bool whole_cell, bool fold)
{
	int			percent = 0;
	char	   *message = NULL;

	CHECK_FOR_INTERRUPTS();
	if (!has_letter(a, fold) || !has_letter(b, fold))
		return -1;
	marrowfield_start();
	marrowfield_check(mf_compare(marrowfield_options(scoring, whole_cell,
													 fold ? MF_FOLD_UTF8 : MF_FOLD_NONE),
								 marrowfield_cstring(a, fold),
								 marrowfield_cstring(b, fold),
								 &percent, &message),
					  message);
	return percent;
}

/* The score as compare_words gives it. */
Datum
marrowfield_score(PG_FUNCTION_ARGS)
{
	int			percent = score_texts(PG_GETARG_TEXT_PP(0), PG_GETARG_TEXT_PP(1),
									  MF_SCORING_STRICT, true, false);

	if (percent < 0)
		PG_RETURN_NULL();
	PG_RETURN_INT32(percent);
}

/* marrowfield_score(a, b, scoring, whole_cell, fold). */
Datum
marrowfield_score_options(PG_FUNCTION_ARGS)
{
	int			percent = score_texts(PG_GETARG_TEXT_PP(0), PG_GETARG_TEXT_PP(1),
									  marrowfield_scoring_of(PG_GETARG_TEXT_PP(2)),
									  PG_GETARG_BOOL(3), PG_GETARG_BOOL(4));

	if (percent < 0)
		PG_RETURN_NULL();
	PG_RETURN_INT32(percent);
}

int
marrowfield_session_score(text *a, text *b)
{
	return score_texts(a, b, marrowfield_scoring, marrowfield_whole_cell,
					   marrowfield_fold);
}

/* text %~ text: the score in the session's mode reaches
 * marrowfield.accuracy. Each pair of texts is scored once a query
 * (score_cache.c): an index's recheck meets the same few over and over. */
Datum
marrowfield_sounds_like(PG_FUNCTION_ARGS)
{
	int			percent = marrowfield_cached_score(fcinfo->flinfo,
												   PG_GETARG_TEXT_PP(0),
												   PG_GETARG_TEXT_PP(1),
												   marrowfield_session_score);

	PG_RETURN_BOOL(percent >= 0 && percent >= marrowfield_accuracy);
}

/* The text folded to ASCII as the scores fold it (José is Jose), in the
 * database's encoding. */
Datum
marrowfield_fold_text(PG_FUNCTION_ARGS)
{
	char	   *folded = NULL;
	char	   *message = NULL;
	text	   *result;
	char	   *converted;

	marrowfield_check(mf_fold(marrowfield_cstring(PG_GETARG_TEXT_PP(0), true),
							  MF_FOLD_UTF8, &folded, &message),
					  message);
	result = marrowfield_take_text(folded);
	if (GetDatabaseEncoding() == PG_UTF8 ||
		GetDatabaseEncoding() == PG_SQL_ASCII)
		PG_RETURN_TEXT_P(result);
	/* Characters without an ASCII form come back as the UTF-8 they went
	 * in as. */
	converted = pg_any_to_server(VARDATA(result), VARSIZE(result) - VARHDRSZ,
								 PG_UTF8);
	PG_RETURN_TEXT_P(cstring_to_text(converted));
}

Datum
marrowfield_phones(PG_FUNCTION_ARGS)
{
	text	   *word = PG_GETARG_TEXT_PP(0);
	bool		rules = PG_GETARG_BOOL(1);
	mf_strings_t *phones = NULL;
	char	   *message = NULL;

	CHECK_FOR_INTERRUPTS();
	marrowfield_start();
	marrowfield_check(mf_phones(text_to_cstring(word),
								rules ? MF_PHONES_RULES : MF_PHONES_LEXICON,
								&phones, &message),
					  message);
	PG_RETURN_ARRAYTYPE_P(marrowfield_strings_to_array(phones));
}

Datum
marrowfield_code(PG_FUNCTION_ARGS)
{
	text	   *word = PG_GETARG_TEXT_PP(0);
	char	   *code = NULL;
	char	   *message = NULL;
	text	   *result;

	CHECK_FOR_INTERRUPTS();
	marrowfield_start();
	marrowfield_check(mf_code(text_to_cstring(word), &code, &message),
					  message);
	result = marrowfield_take_text(code);
	PG_RETURN_TEXT_P(result);
}

/*
 * (score, start, length): start counts from 1, as positions in SQL do, in
 * the body as the engine normalises it; start and length are NULL when some
 * phrase word matches nowhere. NULL when phrase or body holds no letter.
 */
Datum
marrowfield_match(PG_FUNCTION_ARGS)
{
	text	   *phrase = PG_GETARG_TEXT_PP(0);
	text	   *body = PG_GETARG_TEXT_PP(1);
	TupleDesc	descriptor;
	Datum		values[3];
	bool		nulls[3] = {false, false, false};
	int			score = 0;
	int			start = -1;
	int			length = 0;
	char	   *message = NULL;

	if (get_call_result_type(fcinfo, NULL, &descriptor) != TYPEFUNC_COMPOSITE)
		ereport(ERROR,
				(errcode(ERRCODE_FEATURE_NOT_SUPPORTED),
				 errmsg("function returning record called in context "
						"that cannot accept type record")));
	CHECK_FOR_INTERRUPTS();
	marrowfield_start();
	marrowfield_check(mf_match(text_to_cstring(phrase), text_to_cstring(body),
							   MF_PHONES_LEXICON, &score, &start, &length,
							   &message),
					  message);
	if (score < 0)
		PG_RETURN_NULL();

	values[0] = Int32GetDatum(score);
	values[1] = Int32GetDatum(start + 1);
	values[2] = Int32GetDatum(length);
	nulls[1] = nulls[2] = (start < 0);
	descriptor = BlessTupleDesc(descriptor);
	PG_RETURN_DATUM(HeapTupleGetDatum(heap_form_tuple(descriptor, values,
													  nulls)));
}
