/*
 * The extension's module: its settings, set-up of the engine in each
 * backend, and the conversion of the product library's answers and
 * failures into PostgreSQL's values and errors.
 *
 * The engine is set up on the first call that needs it, not when the
 * library is loaded, so that a backend that only reads a setting (or a
 * parallel worker that never scores) pays nothing for it.
 */
#include "postgres.h"

#include "catalog/pg_type.h"
#include "fmgr.h"
#include "utils/array.h"
#include "mb/pg_wchar.h"
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
int			marrowfield_scoring = MF_SCORING_STRICT;
bool		marrowfield_whole_cell = true;
bool		marrowfield_fold = false;
int			marrowfield_threads = 1;
bool		marrowfield_remember_scores = true;
static int	marrowfield_cache_kb = DEFAULT_CACHE_KB;
static bool marrowfield_started = false;
static mf_options_t *marrowfield_backend_options = NULL;

void		_PG_init(void);

static const struct config_enum_entry scoring_options[] = {
	{"strict", MF_SCORING_STRICT, false},
	{"tolerant", MF_SCORING_TOLERANT, false},
	{NULL, 0, false}
};

static void
assign_cache_size(int newval, void *extra)
{
	/* The library never fails here; a refused table just caches nothing. */
	mf_cache_set_bytes((size_t) newval * 1024);
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
	DefineCustomEnumVariable("marrowfield.scoring",
							 "How %~ scores: strict, or tolerant of one extra phone.",
							 NULL,
							 &marrowfield_scoring,
							 MF_SCORING_STRICT, scoring_options,
							 PGC_USERSET, 0,
							 NULL, NULL, NULL);
	DefineCustomBoolVariable("marrowfield.whole_cell",
							 "Whether %~ scores each text as one word.",
							 "Off: texts of several words are compared word by word, in any order.",
							 &marrowfield_whole_cell,
							 true,
							 PGC_USERSET, 0,
							 NULL, NULL, NULL);
	DefineCustomBoolVariable("marrowfield.fold",
							 "Whether %~ folds accented letters to ASCII first.",
							 NULL,
							 &marrowfield_fold,
							 false,
							 PGC_USERSET, 0,
							 NULL, NULL, NULL);
	DefineCustomIntVariable("marrowfield.threads",
							"Worker threads of marrowfield_dedupe and marrowfield_link.",
							"0 for the machine's every core; a backend is one core's worth by default.",
							&marrowfield_threads,
							1, 0, 64,
							PGC_USERSET, 0,
							NULL, NULL, NULL);
	/* Like the server's own enable_memoize: for measuring what the memory
	 * saves, and for ruling it out when a query's answer is in doubt. */
	DefineCustomBoolVariable("marrowfield.remember_scores",
							 "Whether %~ scores each pair of texts once a query.",
							 "Off: every row's pair is scored again; answers are the same.",
							 &marrowfield_remember_scores,
							 true,
							 PGC_USERSET, 0,
							 NULL, NULL, NULL);
	MarkGUCPrefixReserved("marrowfield");
}

void
marrowfield_start(void)
{
	char	   *message = NULL;

	if (marrowfield_started)
		return;
	marrowfield_check(mf_engine_start(&message), message);
	marrowfield_started = true;
}

void
marrowfield_check(int status, char *message)
{
	int			code;
	char	   *copy;

	if (status == MF_OK)
	{
		mf_free(message);
		return;
	}
	switch (status)
	{
		case MF_OUT_OF_MEMORY:
			code = ERRCODE_OUT_OF_MEMORY;
			break;
		case MF_INVALID_ARGUMENT:
			code = ERRCODE_INVALID_PARAMETER_VALUE;
			break;
		default:
			code = ERRCODE_EXTERNAL_ROUTINE_EXCEPTION;
			break;
	}

	/*
	 * The copy must not leave the library's message behind if palloc fails
	 * (which raises an error itself): with memory short, the message is
	 * given up rather than leaked.
	 */
	copy = palloc_extended(message != NULL ? strlen(message) + 1 : 1,
						   MCXT_ALLOC_NO_OOM);
	if (copy != NULL)
		strcpy(copy, message != NULL ? message : "");
	mf_free(message);
	if (code == ERRCODE_INVALID_PARAMETER_VALUE)
		ereport(ERROR,
				(errcode(code),
				 errmsg("%s", copy != NULL ? copy : "invalid argument")));
	ereport(ERROR,
			(errcode(code),
			 errmsg("phonetic engine failed: %s",
					copy != NULL && copy[0] != '\0' ? copy : "no message")));
}

bool
marrowfield_has_letter(const text *value)
{
	const char *bytes = VARDATA_ANY(value);
	size_t		length = VARSIZE_ANY_EXHDR(value);
	size_t		k;

	for (k = 0; k < length; k++)
	{
		char		c = bytes[k];

		if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
			return true;
	}
	return false;
}

ArrayType *
marrowfield_strings_to_array(mf_strings_t *strings)
{
	ArrayType  *volatile result = NULL;

	PG_TRY();
	{
		size_t		count = mf_strings_count(strings);
		Datum	   *items = palloc(sizeof(Datum) * Max(count, 1));
		size_t		k;

		for (k = 0; k < count; k++)
			items[k] = PointerGetDatum(cstring_to_text(mf_strings_item(strings, k)));
		result = construct_array(items, (int) count, TEXTOID, -1, false,
								 TYPALIGN_INT);
	}
	PG_FINALLY();
	{
		mf_strings_destroy(strings);
	}
	PG_END_TRY();
	return result;
}

text *
marrowfield_take_text(char *owned)
{
	size_t		length = strlen(owned);
	text	   *result = palloc_extended(VARHDRSZ + length, MCXT_ALLOC_NO_OOM);

	if (result != NULL)
	{
		SET_VARSIZE(result, VARHDRSZ + length);
		memcpy(VARDATA(result), owned, length);
	}
	mf_free(owned);
	if (result == NULL)
		ereport(ERROR,
				(errcode(ERRCODE_OUT_OF_MEMORY),
				 errmsg("out of memory")));
	return result;
}

const mf_options_t *
marrowfield_options(int scoring, bool whole_cell, int fold)
{
	if (marrowfield_backend_options == NULL)
	{
		marrowfield_backend_options = mf_options_create();
		if (marrowfield_backend_options == NULL)
			ereport(ERROR,
					(errcode(ERRCODE_OUT_OF_MEMORY),
					 errmsg("out of memory for the phonetic engine's options")));
	}
	mf_options_set_scoring(marrowfield_backend_options, scoring);
	mf_options_set_whole_cell(marrowfield_backend_options, whole_cell);
	mf_options_set_fold(marrowfield_backend_options, fold);
	/* A backend is one thread: scoring one pair needs no others. */
	mf_options_set_threads(marrowfield_backend_options, 1);
	return marrowfield_backend_options;
}

int
marrowfield_scoring_of(text *name)
{
	char	   *given = text_to_cstring(name);

	if (pg_strcasecmp(given, "strict") == 0)
		return MF_SCORING_STRICT;
	if (pg_strcasecmp(given, "tolerant") == 0)
		return MF_SCORING_TOLERANT;
	ereport(ERROR,
			(errcode(ERRCODE_INVALID_PARAMETER_VALUE),
			 errmsg("invalid scoring \"%s\"", given),
			 errhint("Valid values are \"strict\" and \"tolerant\".")));
	return MF_SCORING_STRICT;	/* not reached */
}

char *
marrowfield_cstring(text *value, bool fold)
{
	char	   *bytes = text_to_cstring(value);
	int			encoding = GetDatabaseEncoding();

	/*
	 * The library folds UTF-8 (and reads stray bytes as Windows-1252, which
	 * also serves SQL_ASCII's unknown bytes); any other server encoding is
	 * converted to UTF-8 first, so that a letter folds the same whatever
	 * the database's encoding.
	 */
	if (!fold || encoding == PG_UTF8 || encoding == PG_SQL_ASCII)
		return bytes;
	return pg_server_to_any(bytes, (int) strlen(bytes), PG_UTF8);
}
