/*
 * The extension's module: its settings, set-up of the engine in each
 * backend, and the conversion of the bridge's answers and failures.
 *
 * The engine is set up on the first call that needs it, not when the
 * library is loaded, so that a backend that only reads a setting (or a
 * parallel worker that never scores) pays nothing for it.
 */
#include "postgres.h"

#include "catalog/pg_type.h"
#include "fmgr.h"
#include "utils/array.h"
#include "utils/builtins.h"
#include "utils/guc.h"

#include "extension.h"

PG_MODULE_MAGIC;

/* The largest cache the engine keeps, 16.5 MiB, in kB. */
#define MAX_CACHE_KB 16896

/*
 * A backend keeps its own cache, and a server may run hundreds of them, so
 * the default is a small fraction of the engine's own: about 15 000 names.
 */
#define DEFAULT_CACHE_KB 1024

int			marrowfield_accuracy = 60;
static int	marrowfield_cache_kb = DEFAULT_CACHE_KB;

void		_PG_init(void);

static void
assign_cache_size(int newval, void *extra)
{
	/* The bridge never fails here; a refused table just caches nothing. */
	mf_set_cache_bytes((size_t) newval * 1024);
}

void
_PG_init(void)
{
	DefineCustomIntVariable("marrowfield.accuracy",
							"Least score, in percent, at which the %~ operator holds.",
							NULL,
							&marrowfield_accuracy,
							60, 0, 100,
							PGC_USERSET, 0,
							NULL, NULL, NULL);
	DefineCustomIntVariable("marrowfield.cache_size",
							"Memory each backend keeps for transcriptions of words.",
							"0 turns the cache off; results never depend on it.",
							&marrowfield_cache_kb,
							DEFAULT_CACHE_KB, 0, MAX_CACHE_KB,
							PGC_USERSET, GUC_UNIT_KB,
							NULL, assign_cache_size, NULL);
	MarkGUCPrefixReserved("marrowfield");
}

void
marrowfield_start(void)
{
	marrowfield_check(mf_start());
}

MfStatus
marrowfield_check(MfStatus status)
{
	if (status == MF_FAILED)
		ereport(ERROR,
				(errcode(ERRCODE_EXTERNAL_ROUTINE_EXCEPTION),
				 errmsg("%s", mf_error())));
	return status;
}

ArrayType *
marrowfield_list_to_array(void)
{
	size_t		count = mf_list_size();
	Datum	   *items = palloc(sizeof(Datum) * Max(count, 1));
	size_t		k;

	for (k = 0; k < count; k++)
	{
		size_t		length;
		const char *item = mf_list_item(k, &length);

		items[k] = PointerGetDatum(cstring_to_text_with_len(item, (int) length));
	}
	return construct_array(items, (int) count, TEXTOID, -1, false,
						   TYPALIGN_INT);
}
