/*
 * The index behind %~: a GIN operator class over the blocking keys of the
 * product library, in the manner of pg_trgm's GIN support for %. %~ is
 * the strict score, and every pair whose strict score is above 0 shares
 * one blocking key: the consonant skeleton. So each value is indexed under
 * that one key (the other keys marrowfield_keys lists serve the tolerant
 * score of pair finding, and would only add rows to recheck), hashed to
 * int4 as pg_trgm packs its trigrams. A query looks up the rows sharing its
 * key, and each is rechecked by the exact score, so the index changes
 * which rows are scored, never which rows are returned; a hash collision
 * only adds a row to recheck.
 *
 * The keys serve accuracies from mf_keys_min_accuracy() up. Below it the
 * query asks GIN for every row (GIN_SEARCH_MODE_ALL), and the recheck
 * alone decides, so that results stay exact at any setting.
 */
#include "postgres.h"

#include "access/gin.h"
#include "access/stratnum.h"
#include "common/hashfn.h"
#include "fmgr.h"
#include "miscadmin.h"
#include "utils/array.h"
#include "utils/builtins.h"

#include "extension.h"

/* The only strategy: text %~ text. */
#define SOUNDS_LIKE_STRATEGY 1

PG_FUNCTION_INFO_V1(marrowfield_keys);
PG_FUNCTION_INFO_V1(gin_extract_value_marrowfield);
PG_FUNCTION_INFO_V1(gin_extract_query_marrowfield);
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

/* The hashed index keys of |value| as a palloc'd array (NULL for none);
 * *count gets their number. */
static Datum *
hashed_keys(text *value, int32 *count)
{
	mf_strings_t *keys = NULL;
	char	   *message = NULL;
	Datum	   *volatile entries = NULL;
	size_t		n;

	CHECK_FOR_INTERRUPTS();
	marrowfield_start();
	marrowfield_check(mf_skeleton_key(NULL, text_to_cstring(value), &keys,
									  &message),
					  message);
	n = mf_strings_count(keys);
	*count = (int32) n;
	PG_TRY();
	{
		size_t		k;

		if (n > 0)
			entries = palloc(sizeof(Datum) * n);
		for (k = 0; k < n; k++)
		{
			const char *key = mf_strings_item(keys, k);

			entries[k] = Int32GetDatum((int32) hash_bytes((const unsigned char *) key,
														  (int) strlen(key)));
		}
	}
	PG_FINALLY();
	{
		mf_strings_destroy(keys);
	}
	PG_END_TRY();
	return entries;
}

Datum
gin_extract_value_marrowfield(PG_FUNCTION_ARGS)
{
	text	   *value = PG_GETARG_TEXT_PP(0);
	int32	   *nentries = (int32 *) PG_GETARG_POINTER(1);

	PG_RETURN_POINTER(hashed_keys(value, nentries));
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

	/*
	 * Below the keys' least accuracy a pair may share no key: scan every row.
	 * Otherwise a query without keys (no phones) matches nothing, which is
	 * what GIN's default mode returns for no entries.
	 */
	if (marrowfield_accuracy < mf_keys_min_accuracy())
	{
		*nentries = 0;
		*searchMode = GIN_SEARCH_MODE_ALL;
		PG_RETURN_POINTER(NULL);
	}
	PG_RETURN_POINTER(hashed_keys(query, nentries));
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
