/*
 * What the extension's C files share: its settings and the helpers that
 * call the product library (marrowfield_api.h) and turn its answers into
 * PostgreSQL values and errors.
 *
 * The library reports failure by a status code and a malloc'd message and
 * never lets an exception or a longjmp through its frames; PostgreSQL
 * reports errors by longjmp. So a message is always copied into palloc'd
 * memory and freed with mf_free before ereport, and every handle the
 * library hands out is freed before anything here may raise an error.
 */
#ifndef MARROWFIELD_POSTGRES_EXTENSION_H
#define MARROWFIELD_POSTGRES_EXTENSION_H

#include "postgres.h"

#include "utils/array.h"

#include "marrowfield_api.h"

/* marrowfield.accuracy: the least score, in percent, at which %~ holds. */
extern int	marrowfield_accuracy;
/* How %~ scores: marrowfield.scoring (an MF_SCORING_ value),
 * marrowfield.whole_cell and marrowfield.fold. */
extern int	marrowfield_scoring;
extern bool marrowfield_whole_cell;
extern bool marrowfield_fold;
/* marrowfield.threads: the worker threads of the list functions. */
extern int	marrowfield_threads;
/* marrowfield.remember_scores: whether %~ keeps the scores of a query
 * (score_cache.c). */
extern bool marrowfield_remember_scores;

/* The MF_SCORING_ value named by |name| ('strict', 'tolerant'); ERROR
 * (invalid_parameter_value) for another. */
extern int	marrowfield_scoring_of(text *name);

/*
 * |value| as a palloc'd NUL-terminated string for the library: its bytes
 * as stored, or, to be folded (|fold|), in UTF-8, which is what the library
 * folds.
 */
extern char *marrowfield_cstring(text *value, bool fold);

/* Sets up the engine in this backend on first use; ERROR if it fails. */
extern void marrowfield_start(void);

/*
 * ERROR unless |status| is MF_OK, with the library's |message| (freed with
 * mf_free here, also when status is MF_OK and a message was left) under
 * the SQLSTATE that fits the status.
 */
extern void marrowfield_check(int status, char *message);

/* Whether the text holds a letter a-z or A-Z: only those carry sound. */
extern bool marrowfield_has_letter(const text *value);

/*
 * A new text in the current memory context holding the library's string
 * |owned|, which is freed with mf_free, also when copying fails.
 */
extern text *marrowfield_take_text(char *owned);

/*
 * The items of |strings| as a new text[] in the current memory context.
 * Destroys |strings|, also when copying fails.
 */
extern ArrayType *marrowfield_strings_to_array(mf_strings_t *strings);

/*
 * This backend's one options object, set to score as the arguments say
 * (an MF_SCORING_ value, whole cells or word by word, an MF_FOLD_ value),
 * the library's defaults otherwise. Valid until the next call.
 */
extern const mf_options_t *marrowfield_options(int scoring, bool whole_cell,
											   int fold);

/* The score of two texts as %~ scores them, in the session's mode
 * (marrowfield.scoring, whole_cell, fold); -1 when either holds no letter. */
extern int	marrowfield_session_score(text *a, text *b);

/* Scores two texts; -1 when either holds no letter. */
typedef int (*marrowfield_scorer) (text *a, text *b);

/*
 * |score|(a, b), which must score as the session's settings say, from the
 * scores that |flinfo|'s call site has already computed in this query, or
 * computed now and kept for the rest of it (score_cache.c).
 */
extern int	marrowfield_cached_score(FmgrInfo *flinfo, text *a, text *b,
									 marrowfield_scorer score);

#endif							/* MARROWFIELD_POSTGRES_EXTENSION_H */
