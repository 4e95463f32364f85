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
 * A text too long for an index entry is kept under its skeleton and a
 * mark instead, and a row found by that key is rechecked by its score.
 * Tolerant, word-by-word and folded queries ask for every row (the class
 * keeps no keys of theirs), which their score then decides, as
 * marrowfield_gin_ops does for them.
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

/* What follows the skeleton in an entry: the text itself, or (for a long
 * text) nothing. Skeletons are printable ASCII, so neither occurs in one. */
#define TEXT_MARK '\001'
#define LONG_MARK '\002'

/* The query keys: entries of the skeleton with a text, the long texts'. */
#define TEXTS_KEY 0
#define LONG_KEY 1

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
 * The skeleton of |value| (strict, unfolded), a palloc'd string, or NULL
 * for a value without phones.
 */
static char *
skeleton_of(text *value)
{
	mf_strings_t *found = NULL;
	char	   *message = NULL;
	char	   *skeleton = NULL;

	CHECK_FOR_INTERRUPTS();
	marrowfield_start();
	marrowfield_check(mf_skeleton_key(marrowfield_options(MF_SCORING_STRICT, true,
														  MF_FOLD_NONE),
									  text_to_cstring(value), &found, &message),
					  message);
	/* The copy may fail; the list must be freed all the same. */
	PG_TRY();
	{
		if (mf_strings_count(found) > 0)
			skeleton = pstrdup(mf_strings_item(found, 0));
	}
	PG_FINALLY();
	{
		mf_strings_destroy(found);
	}
	PG_END_TRY();
	return skeleton;
}

/* A new text: |skeleton|, |mark|, then |length| bytes of |tail|. */
static text *
entry_of(const char *skeleton, char mark, const char *tail, size_t length)
{
	size_t		skeleton_length = strlen(skeleton);
	text	   *entry = palloc(VARHDRSZ + skeleton_length + 1 + length);
	char	   *bytes = VARDATA(entry);

	SET_VARSIZE(entry, VARHDRSZ + skeleton_length + 1 + length);
	memcpy(bytes, skeleton, skeleton_length);
	bytes[skeleton_length] = mark;
	memcpy(bytes + skeleton_length + 1, tail, length);
	return entry;
}

Datum
gin_extract_value_marrowfield_texts(PG_FUNCTION_ARGS)
{
	text	   *value = PG_GETARG_TEXT_PP(0);
	int32	   *nentries = (int32 *) PG_GETARG_POINTER(1);
	char	   *skeleton = skeleton_of(value);
	size_t		length = VARSIZE_ANY_EXHDR(value);
	Datum	   *entries;

	*nentries = 0;
	if (skeleton == NULL)
		PG_RETURN_POINTER(NULL);
	entries = palloc(sizeof(Datum));
	entries[0] = length <= MAX_ENTRY_TEXT
		? PointerGetDatum(entry_of(skeleton, TEXT_MARK, VARDATA_ANY(value), length))
		: PointerGetDatum(entry_of(skeleton, LONG_MARK, NULL, 0));
	*nentries = 1;
	PG_RETURN_POINTER(entries);
}

/*
 * The query's two keys, the first a partial match carrying the query text
 * for gin_compare_partial_marrowfield_texts, when the session scores
 * strictly by whole cells without folding at an accuracy from 1 (scores
 * above 0 always share the skeleton); every row otherwise.
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
	char	   *skeleton;
	Datum	   *entries;

	if (strategy != SOUNDS_LIKE_STRATEGY)
		elog(ERROR, "unrecognized strategy number: %d", strategy);
	*nentries = 0;
	if (marrowfield_scoring != MF_SCORING_STRICT || !marrowfield_whole_cell ||
		marrowfield_fold || marrowfield_accuracy < 1)
	{
		*searchMode = GIN_SEARCH_MODE_ALL;
		PG_RETURN_POINTER(NULL);
	}
	/* A query without phones matches nothing: no keys. */
	skeleton = skeleton_of(query);
	if (skeleton == NULL)
		PG_RETURN_POINTER(NULL);
	entries = palloc(sizeof(Datum) * 2);
	entries[TEXTS_KEY] = PointerGetDatum(entry_of(skeleton, TEXT_MARK, NULL, 0));
	entries[LONG_KEY] = PointerGetDatum(entry_of(skeleton, LONG_MARK, NULL, 0));
	*partial = palloc0(sizeof(bool) * 2);
	(*partial)[TEXTS_KEY] = true;
	*extra = palloc0(sizeof(Pointer) * 2);
	(*extra)[TEXTS_KEY] = (Pointer) query;
	*nentries = 2;
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

	*recheck = true;
	if (nkeys == 0)
		PG_RETURN_BOOL(true);
	if (check[TEXTS_KEY])
	{
		*recheck = false;
		PG_RETURN_BOOL(true);
	}
	PG_RETURN_BOOL(check[LONG_KEY]);
}

Datum
gin_marrowfield_texts_triconsistent(PG_FUNCTION_ARGS)
{
	GinTernaryValue *check = (GinTernaryValue *) PG_GETARG_POINTER(0);
	int32		nkeys = PG_GETARG_INT32(3);

	if (nkeys == 0)
		PG_RETURN_GIN_TERNARY_VALUE(GIN_MAYBE);
	if (check[TEXTS_KEY] == GIN_TRUE)
		PG_RETURN_GIN_TERNARY_VALUE(GIN_TRUE);
	if (check[TEXTS_KEY] == GIN_FALSE && check[LONG_KEY] == GIN_FALSE)
		PG_RETURN_GIN_TERNARY_VALUE(GIN_FALSE);
	PG_RETURN_GIN_TERNARY_VALUE(GIN_MAYBE);
}
