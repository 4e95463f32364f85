/*
 * The SQL functions over single values: the score of two texts, their
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
#include "miscadmin.h"
#include "utils/array.h"
#include "utils/builtins.h"

#include "extension.h"

PG_FUNCTION_INFO_V1(marrowfield_score);
PG_FUNCTION_INFO_V1(marrowfield_phones);
PG_FUNCTION_INFO_V1(marrowfield_code);
PG_FUNCTION_INFO_V1(marrowfield_match);
PG_FUNCTION_INFO_V1(marrowfield_sounds_like);

/*
 * The score of two texts, or -1 when either holds no letter. Shared by
 * marrowfield_score and %~.
 */
static int
score_texts(text *a, text *b)
{
	int			percent = 0;
	char	   *message = NULL;

	CHECK_FOR_INTERRUPTS();
	if (!marrowfield_has_letter(a) || !marrowfield_has_letter(b))
		return -1;
	marrowfield_start();
	marrowfield_check(mf_compare(marrowfield_options(MF_SCORING_STRICT, true,
													 MF_FOLD_NONE),
								 text_to_cstring(a), text_to_cstring(b),
								 &percent, &message),
					  message);
	return percent;
}

Datum
marrowfield_score(PG_FUNCTION_ARGS)
{
	int			percent = score_texts(PG_GETARG_TEXT_PP(0), PG_GETARG_TEXT_PP(1));

	if (percent < 0)
		PG_RETURN_NULL();
	PG_RETURN_INT32(percent);
}

/* text %~ text: the score reaches marrowfield.accuracy. */
Datum
marrowfield_sounds_like(PG_FUNCTION_ARGS)
{
	int			percent = score_texts(PG_GETARG_TEXT_PP(0), PG_GETARG_TEXT_PP(1));

	PG_RETURN_BOOL(percent >= 0 && percent >= marrowfield_accuracy);
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
