/*
 * A third operator class behind %~, marrowfield_text_gin_ops, that answers
 * strict whole-cell queries inside the index. Each row is kept under its
 * consonant skeleton followed by its own text, so that the index's entries
 * are the distinct texts of the column, grouped by skeleton. A query asks
 * for the entries that begin with its skeleton (a partial match, as
 * btree_gin serves ranges) and scores each entry's text against itself as
 * the recheck would: each distinct text is scored once a query, however
 * many rows repeat it, and only rows that match are read from the table.
 *
 * Tolerant whole-cell queries are answered the same way from each row's
 * blocking keys (marrowfield_keys), kept apart from the skeletons by a
 * first byte of their own: from mf_keys_min_accuracy() up, every pair a
 * tolerant score relates shares one, so the texts under the query's keys
 * are all the candidates there are.
 *
 * A text too long for an index entry is kept under its keys and a mark
 * instead, and a row found that way is rechecked by its score.
 * Word-by-word and folded queries, and tolerant ones below the keys'
 * accuracy, ask for every row (the class keeps no keys of theirs), which
 * their score then decides, as marrowfield_gin_ops does for them.
 *
 * Entries are ordered by their bytes (compare_texts), not by a collation,
 * so that the entries of one skeleton lie together whatever the column's
 * collation.
 */
#include "postgres.h"

#include "access/gin.h"
#include "access/stratnum.h"
#include "fmgr.h"
#include "miscadmin.h"
#include "utils/builtins.h"

#include "extension.h"

/* The only strategy: text %~ text. */
#define SOUNDS_LIKE_STRATEGY 1

/* The longest text kept in an entry; a GIN entry must fit in a third of a
 * page, and a longer name is rare enough to recheck. */
#define MAX_ENTRY_TEXT 1000

/* What follows the key in an entry: the text itself, or (for a long
 * text) nothing. Keys are printable ASCII, so neither occurs in one. */
#define TEXT_MARK '\001'
#define LONG_MARK '\002'
/* Before a tolerant key, so that it never reads as a skeleton. */
#define TOLERANT_MARK "\003"

/*
 * The query asks for two entries per key, in pairs: at an even position
 * the entries of the key with a text (a partial match that scores them),
 * at the odd one after it the key's long texts.
 */
#define IS_TEXTS_KEY(k) ((k) % 2 == 0)

PG_FUNCTION_INFO_V1(gin_compare_marrowfield_texts);
PG_FUNCTION_INFO_V1(gin_extract_value_marrowfield_texts);
PG_FUNCTION_INFO_V1(gin_extract_query_marrowfield_texts);
PG_FUNCTION_INFO_V1(gin_compare_partial_marrowfield_texts);
PG_FUNCTION_INFO_V1(gin_marrowfield_texts_consistent);
PG_FUNCTION_INFO_V1(gin_marrowfield_texts_triconsistent);

/* Byte order, shorter first on a common prefix. */
static int
compare_texts(text *x, text *y)
{
	int			x_length = VARSIZE_ANY_EXHDR(x);
	int			y_length = VARSIZE_ANY_EXHDR(y);
	int			order = memcmp(VARDATA_ANY(x), VARDATA_ANY(y),
							   Min(x_length, y_length));

	if (order != 0)
		return order;
	return (x_length > y_length) - (x_length < y_length);
}

Datum
gin_compare_marrowfield_texts(PG_FUNCTION_ARGS)
{
	PG_RETURN_INT32(compare_texts(PG_GETARG_TEXT_PP(0), PG_GETARG_TEXT_PP(1)));
}

/*
 * The keys of |value| (unfolded): its skeleton alone, or with |tolerant|
 * its blocking keys, each after TOLERANT_MARK; a palloc'd array of
 * palloc'd strings, its length in *count (0 for a value without phones).
 */
static char **
keys_of(text *value, bool tolerant, int *count)
{
	mf_strings_t *found = NULL;
	char	   *message = NULL;
	char	  **keys = NULL;
	const mf_options_t *options = marrowfield_options(MF_SCORING_STRICT, true,
													  MF_FOLD_NONE);
	char	   *cstring = text_to_cstring(value);

	CHECK_FOR_INTERRUPTS();
	marrowfield_start();
	marrowfield_check(tolerant
					  ? mf_keys(options, cstring, &found, &message)
					  : mf_skeleton_key(options, cstring, &found, &message),
					  message);
	/* The copies may fail; the list must be freed all the same. */
	PG_TRY();
	{
		size_t		n = mf_strings_count(found);
		size_t		k;

		keys = palloc(sizeof(char *) * Max(n, 1));
		for (k = 0; k < n; k++)
			keys[k] = psprintf("%s%s", tolerant ? TOLERANT_MARK : "",
							   mf_strings_item(found, k));
		*count = (int) n;
	}
	PG_FINALLY();
	{
		mf_strings_destroy(found);
	}
	PG_END_TRY();
	return keys;
}

/* A new text: |key|, |mark|, then |length| bytes of |tail|. */
static text *
entry_of(const char *key, char mark, const char *tail, size_t length)
{
	size_t		key_length = strlen(key);
	text	   *entry = palloc(VARHDRSZ + key_length + 1 + length);
	char	   *bytes = VARDATA(entry);

	SET_VARSIZE(entry, VARHDRSZ + key_length + 1 + length);
	memcpy(bytes, key, key_length);
	bytes[key_length] = mark;
	if (length > 0)
		memcpy(bytes + key_length + 1, tail, length);
	return entry;
}

/* Each row under its skeleton and its blocking keys, with its text. */
Datum
gin_extract_value_marrowfield_texts(PG_FUNCTION_ARGS)
{
	text	   *value = PG_GETARG_TEXT_PP(0);
	int32	   *nentries = (int32 *) PG_GETARG_POINTER(1);
	size_t		length = VARSIZE_ANY_EXHDR(value);
	int			skeletons;
	int			blocking;
	char	  **skeleton = keys_of(value, false, &skeletons);
	char	  **keys = keys_of(value, true, &blocking);
	Datum	   *entries = palloc(sizeof(Datum) * Max(skeletons + blocking, 1));
	int			k;

	*nentries = 0;
	for (k = 0; k < skeletons + blocking; k++)
	{
		const char *key = k < skeletons ? skeleton[k] : keys[k - skeletons];

		entries[(*nentries)++] = length <= MAX_ENTRY_TEXT
			? PointerGetDatum(entry_of(key, TEXT_MARK, VARDATA_ANY(value), length))
			: PointerGetDatum(entry_of(key, LONG_MARK, NULL, 0));
	}
	PG_RETURN_POINTER(entries);
}

/*
 * The query's keys, each a partial match carrying the query text for
 * gin_compare_partial_marrowfield_texts followed by its long texts' key,
 * when the session scores whole cells without folding, strictly at an
 * accuracy from 1 (scores above 0 always share the skeleton) or
 * tolerantly from mf_keys_min_accuracy(); every row otherwise.
 */
Datum
gin_extract_query_marrowfield_texts(PG_FUNCTION_ARGS)
{
	text	   *query = PG_GETARG_TEXT_PP(0);
	int32	   *nentries = (int32 *) PG_GETARG_POINTER(1);
	StrategyNumber strategy = PG_GETARG_UINT16(2);
	bool	  **partial = (bool **) PG_GETARG_POINTER(3);
	Pointer   **extra = (Pointer **) PG_GETARG_POINTER(4);
	int32	   *searchMode = (int32 *) PG_GETARG_POINTER(6);
	bool		tolerant = marrowfield_scoring == MF_SCORING_TOLERANT;
	char	  **keys;
	int			count;
	Datum	   *entries;
	int			k;

	if (strategy != SOUNDS_LIKE_STRATEGY)
		elog(ERROR, "unrecognized strategy number: %d", strategy);
	*nentries = 0;
	if (!marrowfield_whole_cell || marrowfield_fold ||
		marrowfield_accuracy < (tolerant ? mf_keys_min_accuracy() : 1))
	{
		*searchMode = GIN_SEARCH_MODE_ALL;
		PG_RETURN_POINTER(NULL);
	}
	/* A query without phones matches nothing: no keys. */
	keys = keys_of(query, tolerant, &count);
	entries = palloc(sizeof(Datum) * Max(2 * count, 1));
	*partial = palloc0(sizeof(bool) * Max(2 * count, 1));
	*extra = palloc0(sizeof(Pointer) * Max(2 * count, 1));
	for (k = 0; k < count; k++)
	{
		entries[2 * k] = PointerGetDatum(entry_of(keys[k], TEXT_MARK, NULL, 0));
		entries[2 * k + 1] = PointerGetDatum(entry_of(keys[k], LONG_MARK, NULL, 0));
		(*partial)[2 * k] = true;
		(*extra)[2 * k] = (Pointer) query;
	}
	*nentries = 2 * count;
	PG_RETURN_POINTER(entries);
}

/*
 * For each entry from the query's skeleton on: past the skeleton's
 * entries, stop (1); an entry whose text scores at the accuracy against
 * the query, match (0); another, skip (-1). The score is the one %~ gives
 * the row: the entry holds the row's text byte for byte.
 */
Datum
gin_compare_partial_marrowfield_texts(PG_FUNCTION_ARGS)
{
	text	   *prefix = PG_GETARG_TEXT_PP(0);
	text	   *entry = PG_GETARG_TEXT_PP(1);
	text	   *query = (text *) PG_GETARG_POINTER(3);
	int			prefix_length = VARSIZE_ANY_EXHDR(prefix);
	int			entry_length = VARSIZE_ANY_EXHDR(entry);
	text	   *row;
	int			percent;

	if (entry_length < prefix_length ||
		memcmp(VARDATA_ANY(entry), VARDATA_ANY(prefix), prefix_length) != 0)
		PG_RETURN_INT32(1);
	row = cstring_to_text_with_len(VARDATA_ANY(entry) + prefix_length,
								   entry_length - prefix_length);
	percent = marrowfield_session_score(row, query);
	pfree(row);
	PG_RETURN_INT32(percent >= 0 && percent >= marrowfield_accuracy ? 0 : -1);
}

/* A text entry that matched needs no recheck; a long text's does. */
Datum
gin_marrowfield_texts_consistent(PG_FUNCTION_ARGS)
{
	bool	   *check = (bool *) PG_GETARG_POINTER(0);
	int32		nkeys = PG_GETARG_INT32(3);
	bool	   *recheck = (bool *) PG_GETARG_POINTER(5);

	bool		candidate = (nkeys == 0);
	int32		k;

	*recheck = true;
	for (k = 0; k < nkeys; k++)
	{
		if (check[k] && IS_TEXTS_KEY(k))
		{
			*recheck = false;
			PG_RETURN_BOOL(true);
		}
		candidate = candidate || check[k];
	}
	PG_RETURN_BOOL(candidate);
}

Datum
gin_marrowfield_texts_triconsistent(PG_FUNCTION_ARGS)
{
	GinTernaryValue *check = (GinTernaryValue *) PG_GETARG_POINTER(0);
	int32		nkeys = PG_GETARG_INT32(3);

	GinTernaryValue result = nkeys == 0 ? GIN_MAYBE : GIN_FALSE;
	int32		k;

	for (k = 0; k < nkeys; k++)
	{
		if (check[k] == GIN_TRUE && IS_TEXTS_KEY(k))
			PG_RETURN_GIN_TERNARY_VALUE(GIN_TRUE);
		if (check[k] != GIN_FALSE)
			result = GIN_MAYBE;
	}
	PG_RETURN_GIN_TERNARY_VALUE(result);
}
