/*
 * The scores %~ has computed in one query. An index scan rechecks every
 * row sharing a key with the query text, and a column repeats its
 * spellings over many rows (Smith, Smyth, Smith, ...): without a memory of
 * them, each of thousands of candidate rows would be scored again although
 * only a few dozen distinct texts share the key. So each call site of the
 * operator keeps the scores of the pairs of texts it has met in a hash
 * table, in memory of its own under the call's fn_mcxt, which lives as long
 * as the query: each distinct pair is scored once.
 *
 * A score depends on the two texts and the session's scoring settings
 * alone, so a hit gives exactly what scoring again would; a change of the
 * settings within the query empties the table. Texts longer than
 * MAX_CACHED_TEXT are scored without it, and the table is emptied when it
 * holds CACHE_BYTES of texts and entries, which bounds its memory.
 */
#include "postgres.h"

#include "common/hashfn.h"
#include "fmgr.h"
#include "miscadmin.h"
#include "utils/memutils.h"

#include "extension.h"

#define MAX_CACHED_TEXT 200
#define CACHE_BYTES (2 * 1024 * 1024)

/* A pair of texts by their bytes: the caller's while it is looked up, the
 * table's own copy once it is kept. */
typedef struct PairKey
{
	const char *a;
	const char *b;
	uint32		a_length;
	uint32		b_length;
} PairKey;

typedef struct ScoredPair
{
	PairKey		key;
	uint32		hash;
	int			percent;
	char		status;			/* simplehash's */
} ScoredPair;

static inline uint32
pair_hash(PairKey key)
{
	return hash_combine(hash_bytes((const unsigned char *) key.a, (int) key.a_length),
						hash_bytes((const unsigned char *) key.b, (int) key.b_length));
}

static inline bool
pair_equal(PairKey x, PairKey y)
{
	return x.a_length == y.a_length && x.b_length == y.b_length &&
		memcmp(x.a, y.a, x.a_length) == 0 && memcmp(x.b, y.b, x.b_length) == 0;
}

#define SH_PREFIX scored
#define SH_ELEMENT_TYPE ScoredPair
#define SH_KEY_TYPE PairKey
#define SH_KEY key
#define SH_HASH_KEY(tb, k) pair_hash(k)
#define SH_EQUAL(tb, x, y) pair_equal(x, y)
#define SH_STORE_HASH
#define SH_GET_HASH(tb, e) (e)->hash
#define SH_SCOPE static inline
#define SH_DECLARE
#define SH_DEFINE
#include "lib/simplehash.h"

typedef struct ScoreCache
{
	MemoryContext context;		/* the table and the kept texts */
	scored_hash *table;
	Size		bytes;			/* kept so far, about */
	int			scoring;		/* the settings the scores were made in */
	bool		whole_cell;
	bool		fold;
} ScoreCache;

/* Empties |cache| and notes the session's settings as its own. */
static void
start_afresh(ScoreCache *cache)
{
	MemoryContextReset(cache->context);
	cache->table = scored_create(cache->context, 256, NULL);
	cache->bytes = 0;
	cache->scoring = marrowfield_scoring;
	cache->whole_cell = marrowfield_whole_cell;
	cache->fold = marrowfield_fold;
}

int
marrowfield_cached_score(FmgrInfo *flinfo, text *a, text *b,
						 marrowfield_scorer score)
{
	ScoreCache *cache = (ScoreCache *) flinfo->fn_extra;
	PairKey		key;
	uint32		hash;
	ScoredPair *entry;
	bool		found;
	int			percent;
	char	   *copy;

	key.a = VARDATA_ANY(a);
	key.b = VARDATA_ANY(b);
	key.a_length = VARSIZE_ANY_EXHDR(a);
	key.b_length = VARSIZE_ANY_EXHDR(b);
	if (!marrowfield_remember_scores ||
		key.a_length > MAX_CACHED_TEXT || key.b_length > MAX_CACHED_TEXT)
		return score(a, b);
	if (cache == NULL)
	{
		cache = MemoryContextAllocZero(flinfo->fn_mcxt, sizeof(ScoreCache));
		cache->context = AllocSetContextCreate(flinfo->fn_mcxt,
											   "marrowfield scores",
											   ALLOCSET_DEFAULT_SIZES);
		start_afresh(cache);
		flinfo->fn_extra = cache;
	}
	/* A function may change the settings within a query. */
	if (cache->scoring != marrowfield_scoring ||
		cache->whole_cell != marrowfield_whole_cell ||
		cache->fold != marrowfield_fold)
		start_afresh(cache);

	hash = pair_hash(key);
	entry = scored_lookup_hash(cache->table, key, hash);
	if (entry != NULL)
	{
		/* Scoring would have answered a pending cancel. */
		CHECK_FOR_INTERRUPTS();
		return entry->percent;
	}
	/* Scored before the table changes, so that an error leaves no entry
	 * without its score. */
	percent = score(a, b);
	if (cache->bytes >= CACHE_BYTES)
		start_afresh(cache);
	copy = MemoryContextAlloc(cache->context, key.a_length + key.b_length + 1);
	memcpy(copy, key.a, key.a_length);
	memcpy(copy + key.a_length, key.b, key.b_length);
	entry = scored_insert_hash(cache->table, key, hash, &found);
	entry->key.a = copy;
	entry->key.b = copy + key.a_length;
	entry->percent = percent;
	cache->bytes += key.a_length + key.b_length + 2 * sizeof(ScoredPair);
	return percent;
}
