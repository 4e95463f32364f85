/*
 * Pair finding where the data is: marrowfield_dedupe groups the values of
 * an array that sound alike, marrowfield_link finds for each value of one
 * array the values of another that sound like it. Both hand the whole list
 * to the product library's pair finding in one call, as the command line
 * does, and return a set of rows built in the function's memory.
 *
 * The library's own memory (its copies of the values, keys and pairs) is
 * malloc'd outside the server's memory contexts and freed before the
 * function returns, also on error. Its worker threads never call into the
 * server. A cancel (pg_cancel_backend, statement_timeout, a terminating
 * server) is honoured during the library's call too: the library asks
 * pending_cancel() between values, which only reads the flags the
 * server's signal handlers set, so it is safe on any thread; once it has
 * said stop, the library returns MF_CANCELLED and this backend's own
 * thread raises the cancel with CHECK_FOR_INTERRUPTS().
 */
#include "postgres.h"

#include "catalog/pg_type.h"
#include "fmgr.h"
#include "funcapi.h"
#include "miscadmin.h"
#include "utils/array.h"
#include "utils/builtins.h"
#include "utils/tuplestore.h"

#include "extension.h"

PG_FUNCTION_INFO_V1(marrowfield_dedupe);
PG_FUNCTION_INFO_V1(marrowfield_link);

/*
 * The non-NULL elements of a text[]: as given, for the results, and as
 * the library is to read them (converted to UTF-8 when they are to be
 * folded in a database of another encoding).
 */
typedef struct ValueList
{
	char	  **given;
	char	  **library;
	int			count;
} ValueList;

static ValueList
values_of(ArrayType *array, bool fold)
{
	Datum	   *elements;
	bool	   *nulls;
	int			n;
	int			k;
	ValueList	list;

	deconstruct_array(array, TEXTOID, -1, false, TYPALIGN_INT, &elements,
					  &nulls, &n);
	list.given = palloc(sizeof(char *) * Max(n, 1));
	list.library = palloc(sizeof(char *) * Max(n, 1));
	list.count = 0;
	for (k = 0; k < n; k++)
	{
		text	   *value;

		if (nulls[k])
			continue;
		value = DatumGetTextPP(elements[k]);
		list.given[list.count] = text_to_cstring(value);
		list.library[list.count] = marrowfield_cstring(value, fold);
		list.count++;
	}
	return list;
}

/* Orders the indexes of a ValueList by the values as given. */
static const ValueList *sorted_list;

static int
compare_given(const void *a, const void *b)
{
	return strcmp(sorted_list->given[*(const int *) a],
				  sorted_list->given[*(const int *) b]);
}

/*
 * The library's cancel callback: whether a cancel or a termination is
 * pending. It may run on the library's worker threads, so it reads the
 * signal handlers' flags and nothing else; ereport and CHECK_FOR_INTERRUPTS
 * belong to the backend's own thread (finish_call).
 */
static int
pending_cancel(void *state)
{
	return InterruptPending && (QueryCancelPending || ProcDiePending);
}

/*
 * Options for one call, freed by the caller with mf_options_destroy.
 * marrowfield.threads bounds the worker threads; a pending cancel stops
 * the call.
 */
static mf_options_t *
list_options(int accuracy, int scoring, bool whole_cell, bool fold)
{
	mf_options_t *options = mf_options_create();

	if (options == NULL)
		ereport(ERROR,
				(errcode(ERRCODE_OUT_OF_MEMORY),
				 errmsg("out of memory for the phonetic engine's options")));
	mf_options_set_accuracy(options, accuracy);
	mf_options_set_scoring(options, scoring);
	mf_options_set_whole_cell(options, whole_cell);
	mf_options_set_fold(options, fold ? MF_FOLD_UTF8 : MF_FOLD_NONE);
	mf_options_set_threads(options, marrowfield_threads);
	mf_options_set_cancel(options, pending_cancel, NULL);
	return options;
}

/*
 * After a library call: raises the pending cancel when the library stopped
 * for one (CHECK_FOR_INTERRUPTS, on this thread, as any cancel is raised),
 * and otherwise the error |status| stands for. Frees |options| and the
 * message first, whatever the outcome.
 */
static void
finish_call(mf_options_t *options, int status, char *message)
{
	mf_options_destroy(options);
	if (status == MF_CANCELLED)
	{
		mf_free(message);
		CHECK_FOR_INTERRUPTS();
		/* The flags said stop but the server chose not to (interrupts
		 * held off): the call was still cut short, so it fails. */
		ereport(ERROR,
				(errcode(ERRCODE_QUERY_CANCELED),
				 errmsg("canceling statement: the phonetic engine was interrupted")));
	}
	marrowfield_check(status, message);
	CHECK_FOR_INTERRUPTS();
}

/*
 * marrowfield_dedupe(values, accuracy, scoring, whole_cell, fold) →
 * (value, canonical, score, via, group_id). Each distinct value is given
 * to the library once with how often it occurs, so that the canonical
 * spelling of a group is its most frequent one.
 */
Datum
marrowfield_dedupe(PG_FUNCTION_ARGS)
{
	ReturnSetInfo *rsinfo = (ReturnSetInfo *) fcinfo->resultinfo;
	bool		fold = PG_GETARG_BOOL(4);
	int			scoring = marrowfield_scoring_of(PG_GETARG_TEXT_PP(2));
	ValueList	all = values_of(PG_GETARG_ARRAYTYPE_P(0), fold);
	int		   *order = palloc(sizeof(int) * Max(all.count, 1));
	const char **distinct = palloc(sizeof(char *) * Max(all.count, 1));
	const char **given = palloc(sizeof(char *) * Max(all.count, 1));
	uint64	   *counts = palloc(sizeof(uint64) * Max(all.count, 1));
	size_t		n = 0;
	int			k;
	mf_options_t *options;
	mf_groups_t *volatile groups = NULL;
	char	   *message = NULL;
	int			status;

	InitMaterializedSRF(fcinfo, 0);
	for (k = 0; k < all.count; k++)
		order[k] = k;
	sorted_list = &all;
	qsort(order, all.count, sizeof(int), compare_given);
	for (k = 0; k < all.count; k++)
	{
		int			i = order[k];

		if (n > 0 && strcmp(given[n - 1], all.given[i]) == 0)
		{
			counts[n - 1]++;
			continue;
		}
		given[n] = all.given[i];
		distinct[n] = all.library[i];
		counts[n++] = 1;
	}

	CHECK_FOR_INTERRUPTS();
	marrowfield_start();
	options = list_options(PG_GETARG_INT32(1), scoring, PG_GETARG_BOOL(3), fold);
	status = mf_dedupe(options, distinct, counts, n,
					   (mf_groups_t **) &groups, &message);
	finish_call(options, status, message);

	PG_TRY();
	{
		size_t		group_count = mf_groups_count(groups);
		size_t		g;

		for (g = 0; g < group_count; g++)
		{
			size_t		canonical = mf_groups_canonical(groups, g);
			size_t		members = mf_groups_member_count(groups, g);
			size_t		m;

			for (m = 0; m < members; m++)
			{
				Datum		row[5];
				bool		nulls[5] = {false, false, false, false, false};

				row[0] = CStringGetTextDatum(given[mf_groups_member_value(groups, g, m)]);
				row[1] = CStringGetTextDatum(given[canonical]);
				row[2] = Int32GetDatum(mf_groups_member_score(groups, g, m));
				row[3] = CStringGetTextDatum(given[mf_groups_member_via(groups, g, m)]);
				row[4] = Int32GetDatum((int32) (g + 1));
				tuplestore_putvalues(rsinfo->setResult, rsinfo->setDesc, row,
									 nulls);
			}
		}
	}
	PG_FINALLY();
	{
		mf_groups_destroy(groups);
	}
	PG_END_TRY();
	return (Datum) 0;
}

/*
 * marrowfield_link(a, b, accuracy, scoring, whole_cell, fold, best_only)
 * → (a_value, b_value, score): the values as given (NULLs skipped), each
 * value of a with its matches in b, best first.
 */
Datum
marrowfield_link(PG_FUNCTION_ARGS)
{
	ReturnSetInfo *rsinfo = (ReturnSetInfo *) fcinfo->resultinfo;
	bool		fold = PG_GETARG_BOOL(5);
	int			scoring = marrowfield_scoring_of(PG_GETARG_TEXT_PP(3));
	ValueList	a = values_of(PG_GETARG_ARRAYTYPE_P(0), fold);
	ValueList	b = values_of(PG_GETARG_ARRAYTYPE_P(1), fold);
	mf_options_t *options;
	mf_links_t *volatile links = NULL;
	char	   *message = NULL;
	int			status;

	InitMaterializedSRF(fcinfo, 0);
	CHECK_FOR_INTERRUPTS();
	marrowfield_start();
	options = list_options(PG_GETARG_INT32(2), scoring, PG_GETARG_BOOL(4), fold);
	mf_options_set_best_only(options, PG_GETARG_BOOL(6));
	status = mf_link(options, (const char *const *) a.library, a.count,
					 (const char *const *) b.library, b.count,
					 (mf_links_t **) &links, &message);
	finish_call(options, status, message);

	PG_TRY();
	{
		int			i;

		for (i = 0; i < a.count; i++)
		{
			size_t		matches = mf_links_match_count(links, i);
			size_t		m;

			for (m = 0; m < matches; m++)
			{
				Datum		row[3];
				bool		nulls[3] = {false, false, false};

				row[0] = CStringGetTextDatum(a.given[i]);
				row[1] = CStringGetTextDatum(b.given[mf_links_match_value(links, i, m)]);
				row[2] = Int32GetDatum(mf_links_match_score(links, i, m));
				tuplestore_putvalues(rsinfo->setResult, rsinfo->setDesc, row,
									 nulls);
			}
		}
	}
	PG_FINALLY();
	{
		mf_links_destroy(links);
	}
	PG_END_TRY();
	return (Datum) 0;
}
