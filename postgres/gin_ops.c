/*
 * The index behind %~: a GIN operator class over the blocking keys of the
 * product library, in the manner of pg_trgm's GIN support for %. Every
 * pair whose strict whole-cell score is above 0 shares one blocking key,
 * the consonant skeleton; pairs whose tolerant score reaches the keys'
 * least accuracy share one of the wider set marrowfield_keys lists. Keys
 * are hashed to int4 as pg_trgm packs its trigrams. A query looks up the
 * rows sharing a key of its mode, and each is rechecked by the exact score,
 * so the index changes which rows are scored, never which rows are
 * returned; a hash collision only adds a row to recheck. Where no key is
 * exact for the session's mode and accuracy, the query asks GIN for every
 * row (GIN_SEARCH_MODE_ALL) and the recheck alone decides.
 *
 * Two operator classes: marrowfield_gin_ops, the first version's, keeps
 * each row under its skeleton alone and so serves strict whole-cell
 * queries on unfolded text; marrowfield_all_gin_ops keeps the keys of
 * every mode (larger indexes) and serves tolerant and folded queries too.
 * Each class's query asks only for keys its own index holds, so an index
 * built by the first version stays exact after an update of the extension,
 * with nothing to rebuild.
 */
#include "postgres.h"

#include "access/gin.h"
#include "access/stratnum.h"
#include "common/hashfn.h"
#include "fmgr.h"
#include "miscadmin.h"
#include "utils/array.h"
#include "lib/stringinfo.h"
#include "utils/builtins.h"

#include "extension.h"

/* The only strategy: text %~ text. */
#define SOUNDS_LIKE_STRATEGY 1

PG_FUNCTION_INFO_V1(marrowfield_keys);
PG_FUNCTION_INFO_V1(gin_extract_value_marrowfield);
PG_FUNCTION_INFO_V1(gin_extract_query_marrowfield);
PG_FUNCTION_INFO_V1(gin_extract_value_marrowfield_all);
PG_FUNCTION_INFO_V1(gin_extract_query_marrowfield_all);
PG_FUNCTION_INFO_V1(gin_marrowfield_consistent);
PG_FUNCTION_INFO_V1(gin_marrowfield_triconsistent);

Datum
marrowfield_keys(PG_FUNCTION_ARGS)
{
	text	   *value = PG_GETARG_TEXT_PP(0);
	mf_strings_t *keys = NULL;
	char	   *message = NULL;

	CHECK_FOR_INTERRUPTS();
	marrowfield_start();
	marrowfield_check(mf_keys(NULL, text_to_cstring(value), &keys, &message),
					  message);
	PG_RETURN_ARRAYTYPE_P(marrowfield_strings_to_array(keys));
}

/* The hashed keys of a text, gathered from the library's key lists. */
typedef struct HashedKeys
{
	Datum	   *entries;
	int32		count;
	int32		capacity;
} HashedKeys;

/*
 * Adds the keys of |value| (its skeleton alone, or all its blocking keys
 * when |tolerant|), folded as |fold| says, to |keys|. The skeleton is
 * hashed as it is, as in the first version's indexes; the tolerant keys
 * with a "T" before them, so that a query that needs the skeleton finds
 * only rows with that very skeleton.
 */
static void
add_keys(HashedKeys *keys, text *value, bool tolerant, bool fold)
{
	mf_strings_t *found = NULL;
	char	   *message = NULL;
	const mf_options_t *options = marrowfield_options(MF_SCORING_STRICT, true,
													  fold ? MF_FOLD_UTF8 : MF_FOLD_NONE);
	char	   *cstring = marrowfield_cstring(value, fold);

	CHECK_FOR_INTERRUPTS();
	marrowfield_start();
	marrowfield_check(tolerant
					  ? mf_keys(options, cstring, &found, &message)
					  : mf_skeleton_key(options, cstring, &found, &message),
					  message);
	PG_TRY();
	{
		size_t		n = mf_strings_count(found);
		size_t		k;

		for (k = 0; k < n; k++)
		{
			const char *key = mf_strings_item(found, k);
			StringInfoData tagged;

			if (keys->count == keys->capacity)
			{
				keys->capacity = Max(8, keys->capacity * 2);
				keys->entries = keys->entries == NULL
					? palloc(sizeof(Datum) * keys->capacity)
					: repalloc(keys->entries, sizeof(Datum) * keys->capacity);
			}
			initStringInfo(&tagged);
			if (tolerant)
				appendStringInfoChar(&tagged, 'T');
			appendStringInfoString(&tagged, key);
			keys->entries[keys->count++] =
				Int32GetDatum((int32) hash_bytes((const unsigned char *) tagged.data,
												 tagged.len));
			pfree(tagged.data);
		}
	}
	PG_FINALLY();
	{
		mf_strings_destroy(found);
	}
	PG_END_TRY();
}

/* Whether |value| has a byte outside ASCII, which folding may change. */
static bool
beyond_ascii(text *value)
{
	const unsigned char *bytes = (const unsigned char *) VARDATA_ANY(value);
	size_t		length = VARSIZE_ANY_EXHDR(value);
	size_t		k;

	for (k = 0; k < length; k++)
		if (bytes[k] >= 0x80)
			return true;
	return false;
}

/* The first version's index: each row under its skeleton alone. */
Datum
gin_extract_value_marrowfield(PG_FUNCTION_ARGS)
{
	text	   *value = PG_GETARG_TEXT_PP(0);
	int32	   *nentries = (int32 *) PG_GETARG_POINTER(1);
	HashedKeys	keys = {NULL, 0, 0};

	add_keys(&keys, value, false, false);
	*nentries = keys.count;
	PG_RETURN_POINTER(keys.entries);
}

/*
 * Each row under the keys of every mode %~ may score in: its skeleton
 * (strict) and its blocking keys (tolerant), and those of its folded text
 * when folding may change it. Word-by-word scoring has no keys here (see
 * the query's side).
 */
Datum
gin_extract_value_marrowfield_all(PG_FUNCTION_ARGS)
{
	text	   *value = PG_GETARG_TEXT_PP(0);
	int32	   *nentries = (int32 *) PG_GETARG_POINTER(1);
	HashedKeys	keys = {NULL, 0, 0};

	add_keys(&keys, value, false, false);
	add_keys(&keys, value, true, false);
	if (beyond_ascii(value))
	{
		add_keys(&keys, value, false, true);
		add_keys(&keys, value, true, true);
	}
	*nentries = keys.count;
	PG_RETURN_POINTER(keys.entries);
}

/*
 * The query's keys, or GIN_SEARCH_MODE_ALL where no key is exact for the
 * session's mode and accuracy (every row is then rechecked by its score),
 * so that the index returns exactly the rows a scan does:
 *   - strict whole-cell scores above 0 always share the skeleton, so it
 *     serves every accuracy from 1;
 *   - tolerant whole-cell scores share a blocking key from
 *     mf_keys_min_accuracy() up (only |all_keys| indexes, those of
 *     marrowfield_all_gin_ops, hold them, and the folded texts' keys);
 *   - word-by-word scores compare words in any order, which keys of the
 *     whole text cannot cover: every row.
 * A query without keys (no phones) matches nothing, which is what GIN's
 * default mode returns for no entries.
 */
static Datum *
query_keys(text *query, bool all_keys, int32 *nentries, int32 *searchMode)
{
	HashedKeys	keys = {NULL, 0, 0};
	bool		strict = marrowfield_scoring == MF_SCORING_STRICT;
	bool		served;

	if (!marrowfield_whole_cell)
		served = false;
	else if (strict)
		served = marrowfield_accuracy >= 1 && (all_keys || !marrowfield_fold);
	else
		served = all_keys && marrowfield_accuracy >= mf_keys_min_accuracy();
	if (!served)
	{
		*nentries = 0;
		*searchMode = GIN_SEARCH_MODE_ALL;
		return NULL;
	}
	add_keys(&keys, query, !strict, marrowfield_fold);
	*nentries = keys.count;
	return keys.entries;
}

Datum
gin_extract_query_marrowfield(PG_FUNCTION_ARGS)
{
	text	   *query = PG_GETARG_TEXT_PP(0);
	int32	   *nentries = (int32 *) PG_GETARG_POINTER(1);
	StrategyNumber strategy = PG_GETARG_UINT16(2);
	int32	   *searchMode = (int32 *) PG_GETARG_POINTER(6);

	if (strategy != SOUNDS_LIKE_STRATEGY)
		elog(ERROR, "unrecognized strategy number: %d", strategy);
	PG_RETURN_POINTER(query_keys(query, false, nentries, searchMode));
}

Datum
gin_extract_query_marrowfield_all(PG_FUNCTION_ARGS)
{
	text	   *query = PG_GETARG_TEXT_PP(0);
	int32	   *nentries = (int32 *) PG_GETARG_POINTER(1);
	StrategyNumber strategy = PG_GETARG_UINT16(2);
	int32	   *searchMode = (int32 *) PG_GETARG_POINTER(6);

	if (strategy != SOUNDS_LIKE_STRATEGY)
		elog(ERROR, "unrecognized strategy number: %d", strategy);
	PG_RETURN_POINTER(query_keys(query, true, nentries, searchMode));
}

/* A row sharing the key is a candidate; its score decides. */
Datum
gin_marrowfield_consistent(PG_FUNCTION_ARGS)
{
	bool	   *check = (bool *) PG_GETARG_POINTER(0);
	int32		nkeys = PG_GETARG_INT32(3);
	bool	   *recheck = (bool *) PG_GETARG_POINTER(5);
	bool		candidate = (nkeys == 0);
	int32		k;

	for (k = 0; k < nkeys && !candidate; k++)
		candidate = check[k];
	*recheck = true;
	PG_RETURN_BOOL(candidate);
}

Datum
gin_marrowfield_triconsistent(PG_FUNCTION_ARGS)
{
	GinTernaryValue *check = (GinTernaryValue *) PG_GETARG_POINTER(0);
	int32		nkeys = PG_GETARG_INT32(3);
	int32		k;

	/* Never GIN_TRUE: every candidate is rechecked by its score. */
	if (nkeys == 0)
		PG_RETURN_GIN_TERNARY_VALUE(GIN_MAYBE);
	for (k = 0; k < nkeys; k++)
		if (check[k] != GIN_FALSE)
			PG_RETURN_GIN_TERNARY_VALUE(GIN_MAYBE);
	PG_RETURN_GIN_TERNARY_VALUE(GIN_FALSE);
}
