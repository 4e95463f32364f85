/*
 * Marrowfield lists: whole lists by sound.
 *
 * The C interface of the pair finding layer, in the library
 * MarrowfieldLists: the duplicates of a list grouped under a suggested
 * spelling, the matches of one list in another, many comparisons in one
 * call, the explanation of one comparison and the blocking keys of a value.
 * Every name starts with mfl_ (functions) or MFL_ (constants).
 *
 * Strings are NUL-terminated 8-bit strings, as in marrowfield.h: only the
 * letters a-z and A-Z carry sound.
 *
 * Errors: a function that can fail returns an mfl status code (MFL_OK on
 * success) and takes a last argument char** errptr. On failure, when
 * errptr is not NULL, the message of *errptr is freed with mfl_free and
 * replaced by a new one that the caller frees with mfl_free; on success
 * *errptr is left as it is. Pass NULL to ignore messages.
 *
 * Ownership: every handle a function hands out (options, groups, links,
 * strings, explanation) belongs to the caller and is freed with its own
 * destroy function exactly once; destroy functions accept NULL. Strings
 * returned by accessors stay valid until their handle is destroyed.
 * Nothing here needs C++ to be freed, and no function lets an exception or
 * a signal out: every failure is a status code.
 *
 * Threads: every function may be called from several threads at once.
 * A handle may be read by several threads at once but must not be changed
 * (options set, handle destroyed) while another thread uses it. The
 * phonetic engine is set up on the first call that needs it and stays set
 * up until the process ends; results never depend on the thread count.
 */
#ifndef MARROWFIELD_LISTS_H_
#define MARROWFIELD_LISTS_H_

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#if defined(MARROWFIELD_LISTS_BUILDING)
#define MFL_EXPORT __declspec(dllexport)
#else
#define MFL_EXPORT __declspec(dllimport)
#endif
#else
#define MFL_EXPORT __attribute__((visibility("default")))
#endif

/* Status codes. */
#define MFL_OK 0
#define MFL_INVALID_ARGUMENT 1 /* a null pointer, an option out of range */
#define MFL_OUT_OF_MEMORY 2
#define MFL_INTERNAL_ERROR 3 /* anything else; the message says what */

/* Scoring modes (mfl_options_set_scoring). */
#define MFL_SCORING_STRICT 0   /* compare_words' score */
#define MFL_SCORING_TOLERANT 1 /* passes over one extra phone at a cost */

typedef struct mfl_options_t mfl_options_t;
typedef struct mfl_groups_t mfl_groups_t;
typedef struct mfl_links_t mfl_links_t;
typedef struct mfl_strings_t mfl_strings_t;
typedef struct mfl_explanation_t mfl_explanation_t;

/* Called now and then during mfl_dedupe and mfl_link with the work done so
 * far and the total, in the same unspecified units (done <= total). Calls
 * never overlap but may come from any thread. It must return normally. */
typedef void (*mfl_progress_fn)(void* state, uint64_t done, uint64_t total);

/* Frees a message written through errptr. NULL does nothing. */
MFL_EXPORT void mfl_free(void* pointer);

/* ---- Options ---------------------------------------------------------- */

/* Returns new options with the defaults: accuracy 60, threads 0 (the
 * hardware's concurrency), word by word, MFL_SCORING_STRICT, every match
 * of a link, no progress. NULL only when memory runs out. */
MFL_EXPORT mfl_options_t* mfl_options_create(void);
MFL_EXPORT void mfl_options_destroy(mfl_options_t* options);

/* The lowest score (0-100) a pair needs to be reported. Values outside
 * 0-100 make the functions that use them fail with MFL_INVALID_ARGUMENT. */
MFL_EXPORT void mfl_options_set_accuracy(mfl_options_t* options, int accuracy);
/* Worker threads, 0 for the hardware's concurrency; negative values make
 * the functions that use them fail with MFL_INVALID_ARGUMENT. */
MFL_EXPORT void mfl_options_set_threads(mfl_options_t* options, int threads);
/* Non-zero: each value is scored as one word, as compare_words sees it.
 * Zero (the default): values of several words ("Smith, John") are compared
 * word by word, in any order, titles dropped, initials matching words. */
MFL_EXPORT void mfl_options_set_whole_cell(mfl_options_t* options,
                                           unsigned char whole_cell);
/* MFL_SCORING_STRICT or MFL_SCORING_TOLERANT; other values make the
 * functions that use them fail with MFL_INVALID_ARGUMENT. */
MFL_EXPORT void mfl_options_set_scoring(mfl_options_t* options, int scoring);
/* Non-zero: mfl_link keeps only the best matches of each value (all of
 * them when several share the best score). */
MFL_EXPORT void mfl_options_set_best_only(mfl_options_t* options,
                                          unsigned char best_only);
/* |fn| (NULL for none) is called with |state| to report progress. */
MFL_EXPORT void mfl_options_set_progress(mfl_options_t* options,
                                         mfl_progress_fn fn, void* state);

/* ---- Scores ----------------------------------------------------------- */

/* Writes the score (0-100) of |first| against |second| under |options| to
 * *score (the accuracy, best-only and progress options do not matter).
 * With whole cells and MFL_SCORING_STRICT it is compare_words(first,
 * second). A value without letters scores 0. */
MFL_EXPORT int mfl_compare(const mfl_options_t* options, const char* first,
                           const char* second, int* score, char** errptr);

/* Scores |count| pairs (first[i], second[i]) as mfl_compare does, on the
 * threads of |options|, writing scores[i]. On failure scores is left in an
 * unspecified state. REQUIRES: each array holds |count| entries; none of
 * them is NULL. */
MFL_EXPORT int mfl_compare_many(const mfl_options_t* options,
                                const char* const* first,
                                const char* const* second, size_t count,
                                int* scores, char** errptr);

/* ---- Duplicates -------------------------------------------------------- */

/* Finds the pairs of |values| scoring at least the accuracy and groups the
 * values connected through them (chains included: A-B and B-C make one
 * group even when A-C scores lower). Give each distinct value once, with
 * how often it occurs in counts[i]; |counts| may be NULL (each value once).
 * Values in no pair form no group. On success *result receives a new
 * groups handle. */
MFL_EXPORT int mfl_dedupe(const mfl_options_t* options,
                          const char* const* values, const uint64_t* counts,
                          size_t count, mfl_groups_t** result, char** errptr);
MFL_EXPORT void mfl_groups_destroy(mfl_groups_t* groups);

/* Groups, biggest first (total occurrences, then members). Indexes are
 * 0-based; an index out of range gives 0 (SIZE_MAX for value indexes). */
MFL_EXPORT size_t mfl_groups_count(const mfl_groups_t* groups);
/* The suggested spelling of a group: the index in |values| of its most
 * frequent member (ties: the best connected). */
MFL_EXPORT size_t mfl_groups_canonical(const mfl_groups_t* groups,
                                       size_t group);
/* The members of a group, the canonical first, then by score to it. */
MFL_EXPORT size_t mfl_groups_member_count(const mfl_groups_t* groups,
                                          size_t group);
/* The member's index in |values|. */
MFL_EXPORT size_t mfl_groups_member_value(const mfl_groups_t* groups,
                                          size_t group, size_t member);
/* The member's score against the canonical (100 for the canonical). */
MFL_EXPORT int mfl_groups_member_score(const mfl_groups_t* groups, size_t group,
                                       size_t member);
/* The value (index in |values|) through which the member joined its group,
 * and that pair's score: the canonical for its direct partners, the last
 * link of the chain otherwise. The canonical names itself, score 100. */
MFL_EXPORT size_t mfl_groups_member_via(const mfl_groups_t* groups,
                                        size_t group, size_t member);
MFL_EXPORT int mfl_groups_member_via_score(const mfl_groups_t* groups,
                                           size_t group, size_t member);

/* Every pair found, ordered by first then second index (first < second).
 * mfl_groups_pair writes the indexes and the score of pair |pair| and
 * returns 1, or returns 0, writing nothing, for an index out of range. */
MFL_EXPORT size_t mfl_groups_pair_count(const mfl_groups_t* groups);
MFL_EXPORT int mfl_groups_pair(const mfl_groups_t* groups, size_t pair,
                               size_t* first, size_t* second, int* score);

/* ---- Linking two lists ------------------------------------------------- */

/* Finds, for each of the |a_count| values of |a|, the values of |b| scoring
 * at least the accuracy against it. On success *result receives a new
 * links handle. */
MFL_EXPORT int mfl_link(const mfl_options_t* options, const char* const* a,
                        size_t a_count, const char* const* b, size_t b_count,
                        mfl_links_t** result, char** errptr);
MFL_EXPORT void mfl_links_destroy(mfl_links_t* links);

/* The number of matches of a[a_index] (0 for an index out of range). */
MFL_EXPORT size_t mfl_links_match_count(const mfl_links_t* links,
                                        size_t a_index);
/* Match |match| of a[a_index], best first (equal scores in the order of
 * |b|): its index in |b|, or SIZE_MAX out of range, and its score, or 0. */
MFL_EXPORT size_t mfl_links_match_value(const mfl_links_t* links,
                                        size_t a_index, size_t match);
MFL_EXPORT int mfl_links_match_score(const mfl_links_t* links, size_t a_index,
                                     size_t match);

/* ---- Lists of strings -------------------------------------------------- */

MFL_EXPORT void mfl_strings_destroy(mfl_strings_t* strings);
MFL_EXPORT size_t mfl_strings_count(const mfl_strings_t* strings);
/* The string at |index|, or NULL out of range. */
MFL_EXPORT const char* mfl_strings_item(const mfl_strings_t* strings,
                                        size_t index);

/* Writes to *result the blocking keys of |value| (the whole value as one
 * word): sorted, distinct, printable ASCII. Two values whose score reaches
 * mfl_keys_min_accuracy() share at least one key, in either scoring mode,
 * for all but a small share of pairs; a value without phones has none. */
MFL_EXPORT int mfl_keys(const char* value, mfl_strings_t** result,
                        char** errptr);
/* The lowest accuracy the keys serve; below it, compare every pair. */
MFL_EXPORT int mfl_keys_min_accuracy(void);

/* ---- Explaining one comparison ---------------------------------------- */

/* Records how the engine compares the words |first| and |second| in the
 * scoring mode of |options| (everything else in it is ignored). On success
 * *result receives a new explanation handle, whose percentage equals
 * mfl_compare with whole cells in that mode. */
MFL_EXPORT int mfl_explain(const mfl_options_t* options, const char* first,
                           const char* second, mfl_explanation_t** result,
                           char** errptr);
MFL_EXPORT void mfl_explanation_destroy(mfl_explanation_t* explanation);

MFL_EXPORT int mfl_explanation_percentage(const mfl_explanation_t* explanation);
/* The word distance: 0.0 for no difference, larger for less alike, -1.0
 * when the words cannot be compared. */
MFL_EXPORT double mfl_explanation_distance(
    const mfl_explanation_t* explanation);
/* The phones of word 1 or 2 (|word|), space-separated; "" for another
 * |word| or a word without phones. In tolerant scoring these are the
 * phones of the reading the score compared, which for a misspelling the
 * letter-to-sound rules misread is its plain respelling (the text says
 * "read as"). */
MFL_EXPORT const char* mfl_explanation_phones(
    const mfl_explanation_t* explanation, int word);
/* The whole explanation as text for people: the phones, each step of the
 * alignment with its values, and how they add up to the percentage, in
 * lines ending with "\n". */
MFL_EXPORT const char* mfl_explanation_text(
    const mfl_explanation_t* explanation);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* MARROWFIELD_LISTS_H_ */
