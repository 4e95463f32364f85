/*
 * Marrowfield: find words and names that sound alike.
 *
 * The product interface: every capability of Marrowfield behind one flat C
 * interface, in the library libmarrowfield (libmarrowfield.so.0 on Linux;
 * linked into the add-in on Windows). The command line, the Python
 * binding, the PostgreSQL extension and the Excel add-in are all clients of
 * it, and a process that loads it holds one engine and one transcription
 * cache, whoever calls.
 *
 * Every name starts with mf_ (functions, types) or MF_ (constants).
 *
 * Text: NUL-terminated 8-bit strings. Only the letters a-z and A-Z carry
 * sound; every other byte separates or is ignored. With folding on
 * (mf_options_set_fold) text is first folded to ASCII, as the command line
 * and the add-in fold it (José is Jose, ß is ss).
 *
 * Errors: a function that can fail returns a status code (MF_OK on success)
 * and takes a last argument char** errptr. On failure, when errptr is not
 * NULL, the message of *errptr is freed with mf_free and replaced by a new
 * one that the caller frees with mf_free; on success *errptr is left as it
 * is. Pass NULL to ignore messages. No function lets an exception or a
 * signal out, and none ends the process: the engine never hands Flite a
 * word it cannot take.
 *
 * Ownership: every handle a function hands out belongs to the caller and is
 * freed with its own destroy function (or mf_free for plain strings)
 * exactly once; destroy functions accept NULL. Strings returned by
 * accessors stay valid until their handle is destroyed. Nothing here needs
 * C++ to be freed.
 *
 * Threads: every function may be called from several threads at once, and
 * results never depend on the thread count. A handle may be read by
 * several threads at once but must not be changed (options set, handle
 * destroyed) while another thread uses it. The engine is set up on the
 * first call that needs it and stays set up until the process ends.
 */
#ifndef MARROWFIELD_API_H_
#define MARROWFIELD_API_H_

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* MF_STATIC: compiled into another module (the add-in), which exports
 * only its own entry points. */
#if defined(MF_STATIC)
#define MF_EXPORT
#elif defined(_WIN32)
#if defined(MF_BUILDING)
#define MF_EXPORT __declspec(dllexport)
#else
#define MF_EXPORT __declspec(dllimport)
#endif
#else
#define MF_EXPORT __attribute__((visibility("default")))
#endif

/* Status codes. */
#define MF_OK 0
#define MF_INVALID_ARGUMENT 1 /* a null pointer, an option out of range */
#define MF_OUT_OF_MEMORY 2
#define MF_INTERNAL_ERROR 3 /* anything else; the message says what */
#define MF_CANCELLED 4      /* the cancel callback said to stop */

/* Scoring modes (mf_options_set_scoring). */
#define MF_SCORING_STRICT 0   /* compare_words' score */
#define MF_SCORING_TOLERANT 1 /* passes over one extra phone at a cost */

/* Folding of text before it is scored (mf_options_set_fold). */
#define MF_FOLD_NONE 0         /* bytes as they are (the default) */
#define MF_FOLD_UTF8 1         /* UTF-8; malformed bytes read as Windows-1252 */
#define MF_FOLD_WINDOWS1252 2  /* Windows-1252 throughout */

/* Transcriptions (mf_phones, mf_match). */
#define MF_PHONES_LEXICON 0 /* lexicon first, rules for unknown words */
#define MF_PHONES_RULES 1   /* letter-to-sound rules alone */

typedef struct mf_options_t mf_options_t;
typedef struct mf_groups_t mf_groups_t;
typedef struct mf_links_t mf_links_t;
typedef struct mf_records_t mf_records_t;
typedef struct mf_strings_t mf_strings_t;
typedef struct mf_explanation_t mf_explanation_t;

/* Called now and then during mf_dedupe and mf_link with the work done so
 * far and the total, in the same unspecified units (done <= total). Calls
 * never overlap but may come from any thread. It must return normally. */
typedef void (*mf_progress_fn)(void* state, uint64_t done, uint64_t total);

/* Asked now and then during mf_dedupe and mf_link whether to stop: a
 * non-zero answer stops the call, which then frees what it built, writes
 * no result and returns MF_CANCELLED. It is asked between values and every
 * few hundred pairs scored, so a call stops within milliseconds of the
 * first non-zero answer. It may be called from any of the worker threads,
 * from several at once, so it should only read a flag that some other
 * code sets (a signal handler, another thread); it must return normally
 * and must not call back into this library. */
typedef int (*mf_cancel_fn)(void* state);

/* Frees a message written through errptr, or a string handed out by
 * mf_code or mf_fold. NULL does nothing. */
MF_EXPORT void mf_free(void* pointer);

/* "MAJOR.MINOR.PATCH" of the library. */
MF_EXPORT const char* mf_version(void);

/* ---- The engine -------------------------------------------------------- */

/* Sets up the engine now rather than on first use. Returns MF_OK, or
 * MF_INTERNAL_ERROR when the phone tables failed their consistency check
 * (the engine is then still usable, as the message says). */
MF_EXPORT int mf_engine_start(char** errptr);

/* Bounds the transcription cache to about |bytes| (at most its built-in
 * size of 16.5 MiB; 0 turns caching off) and returns the bound in force.
 * Setting the bound in force again keeps what the cache holds; another
 * bound forgets it. */
MF_EXPORT size_t mf_cache_set_bytes(size_t bytes);
/* Forgets every cached transcription, giving back its memory. */
MF_EXPORT void mf_cache_clear(void);

/* ---- Options ----------------------------------------------------------- */

/* Returns new options with the defaults: accuracy 60, threads 0 (the
 * hardware's concurrency), word by word, MF_SCORING_STRICT, MF_FOLD_NONE,
 * every match of a link, no progress, no cancelling. NULL only when memory
 * runs out. */
MF_EXPORT mf_options_t* mf_options_create(void);
MF_EXPORT void mf_options_destroy(mf_options_t* options);

/* The lowest score (0-100) a pair needs to be reported. Values outside
 * 0-100 make the functions that use them fail with MF_INVALID_ARGUMENT. */
MF_EXPORT void mf_options_set_accuracy(mf_options_t* options, int accuracy);
/* Worker threads, 0 for the hardware's concurrency; negative values make
 * the functions that use them fail with MF_INVALID_ARGUMENT. */
MF_EXPORT void mf_options_set_threads(mf_options_t* options, int threads);
/* Non-zero: each value is scored as one word, as compare_words sees it.
 * Zero (the default): values of several words ("Smith, John") are compared
 * word by word, in any order, titles dropped, initials matching words. */
MF_EXPORT void mf_options_set_whole_cell(mf_options_t* options,
                                         unsigned char whole_cell);
/* MF_SCORING_STRICT or MF_SCORING_TOLERANT; other values make the
 * functions that use them fail with MF_INVALID_ARGUMENT. */
MF_EXPORT void mf_options_set_scoring(mf_options_t* options, int scoring);
/* One of MF_FOLD_NONE, MF_FOLD_UTF8, MF_FOLD_WINDOWS1252; other values make
 * the functions that use them fail with MF_INVALID_ARGUMENT. Results name
 * values by index or hand them back as given, never folded. */
MF_EXPORT void mf_options_set_fold(mf_options_t* options, int fold);
/* Non-zero: mf_link keeps only the best matches of each value (all of
 * them when several share the best score). */
MF_EXPORT void mf_options_set_best_only(mf_options_t* options,
                                        unsigned char best_only);
/* |fn| (NULL for none) is called with |state| to report progress. */
MF_EXPORT void mf_options_set_progress(mf_options_t* options,
                                       mf_progress_fn fn, void* state);
/* |fn| (NULL for none, the default) is called with |state| to ask whether
 * to stop (see mf_cancel_fn). */
MF_EXPORT void mf_options_set_cancel(mf_options_t* options, mf_cancel_fn fn,
                                     void* state);

/* ---- Lists of strings -------------------------------------------------- */

MF_EXPORT void mf_strings_destroy(mf_strings_t* strings);
MF_EXPORT size_t mf_strings_count(const mf_strings_t* strings);
/* The string at |index|, or NULL out of range. */
MF_EXPORT const char* mf_strings_item(const mf_strings_t* strings,
                                      size_t index);

/* ---- Words ------------------------------------------------------------- */

/* Writes to *result the phones of |word| (lower case, no stress marks, in
 * spoken order) by MF_PHONES_RULES or (any other value) MF_PHONES_LEXICON.
 * Case is folded and every byte that is not a letter becomes a space before
 * lookup, the spaces at the two ends then dropped; apostrophes are dropped.
 * A word without phones gives an empty list. */
MF_EXPORT int mf_phones(const char* word, int transcription,
                        mf_strings_t** result, char** errptr);

/* Writes to *code a new string (freed with mf_free): the consonant code of
 * |word|, a string of digits, looked up exactly as given (no case
 * folding); "" for a word without phones. */
MF_EXPORT int mf_code(const char* word, char** code, char** errptr);

/* Writes to *folded a new string (freed with mf_free): |text| folded to
 * ASCII as |fold| says (an MF_FOLD_ value). Characters without an ASCII
 * form keep their bytes; case is kept. */
MF_EXPORT int mf_fold(const char* text, int fold, char** folded,
                      char** errptr);

/* Finds where |phrase| sounds like part of |text|, transcribed as
 * |transcription| says. Writes the score in percent (0-100) and the
 * position and length of the first phrase word's match, counted in the
 * text after normalisation (case folded, apostrophes dropped, every other
 * non-letter a space, words joined by single spaces): score 0 with start
 * -1 and length 0 when some phrase word matches nowhere; score -1 (start
 * and length untouched) when the phrase or the text holds no letter. */
MF_EXPORT int mf_match(const char* phrase, const char* text,
                       int transcription, int* score, int* start, int* length,
                       char** errptr);

/* ---- Scores ------------------------------------------------------------ */

/* Writes the score (0-100) of |first| against |second| under |options|
 * (accuracy, best-only and progress do not matter). With whole cells,
 * MF_SCORING_STRICT and MF_FOLD_NONE it is compare_words(first, second).
 * A value without letters scores 0. */
MF_EXPORT int mf_compare(const mf_options_t* options, const char* first,
                         const char* second, int* score, char** errptr);

/* Scores |count| pairs (first[i], second[i]) as mf_compare does, on the
 * threads of |options|, writing scores[i]. On failure scores is left in an
 * unspecified state. REQUIRES: each array holds |count| entries. */
MF_EXPORT int mf_compare_many(const mf_options_t* options,
                              const char* const* first,
                              const char* const* second, size_t count,
                              int* scores, char** errptr);

/* Writes to *result the entries of |list| (|count| strings) that sound like
 * |word| at the accuracy of |options| or better, best first, equally good
 * entries in descending byte order; entries exactly as given, duplicates
 * kept, NULL entries skipped. With whole cells and MF_SCORING_STRICT this
 * is the engine's list search, which averages the two orders of words with
 * equally long phone lists and accepts a distance of at most
 * 1 - accuracy / 100; otherwise an entry is accepted when mf_compare
 * reaches the accuracy and is above 0. A word without phones matches
 * nothing. */
MF_EXPORT int mf_similar(const mf_options_t* options, const char* word,
                         const char* const* list, size_t count,
                         mf_strings_t** result, char** errptr);

/* ---- Duplicates -------------------------------------------------------- */

/* Finds the pairs of |values| scoring at least the accuracy and groups the
 * values connected through them (chains included: A-B and B-C make one
 * group even when A-C scores lower). Give each distinct value once, with
 * how often it occurs in counts[i]; |counts| may be NULL (each value once).
 * Values in no pair form no group. On success *result receives a new
 * groups handle. */
MF_EXPORT int mf_dedupe(const mf_options_t* options,
                        const char* const* values, const uint64_t* counts,
                        size_t count, mf_groups_t** result, char** errptr);

/* Groups the |count| distinct |values| (counts as for mf_dedupe) through
 * pairs found elsewhere, with mf_dedupe's grouping: pair k joins
 * values[firsts[k]] and values[seconds[k]] (either way round) with score
 * scores[k], the score mf_compare_many gives them under |options|. Pairs
 * scoring below the options' accuracy are left out; the rest may come in
 * any order. Given the pairs mf_dedupe finds on the same values and
 * options, the groups and pairs of the handle are mf_dedupe's. Fails with
 * MF_INVALID_ARGUMENT for an index out of range, a value paired with
 * itself, a score outside 0-100, or a pair given twice. On success
 * *result receives a new groups handle. */
MF_EXPORT int mf_group_pairs(const mf_options_t* options,
                             const char* const* values, const uint64_t* counts,
                             size_t count, const size_t* firsts,
                             const size_t* seconds, const int* scores,
                             size_t pair_count, mf_groups_t** result,
                             char** errptr);
MF_EXPORT void mf_groups_destroy(mf_groups_t* groups);

/* Groups, biggest first (total occurrences, then members). Indexes are
 * 0-based; an index out of range gives 0 (SIZE_MAX for value indexes). */
MF_EXPORT size_t mf_groups_count(const mf_groups_t* groups);
/* The suggested spelling of a group: the index in |values| of its most
 * frequent member (ties: the best connected). */
MF_EXPORT size_t mf_groups_canonical(const mf_groups_t* groups, size_t group);
/* The members of a group, the canonical first, then by score to it. */
MF_EXPORT size_t mf_groups_member_count(const mf_groups_t* groups,
                                        size_t group);
/* The member's index in |values|. */
MF_EXPORT size_t mf_groups_member_value(const mf_groups_t* groups,
                                        size_t group, size_t member);
/* The member's score against the canonical (100 for the canonical). */
MF_EXPORT int mf_groups_member_score(const mf_groups_t* groups, size_t group,
                                     size_t member);
/* The value (index in |values|) through which the member joined its group,
 * and that pair's score: the canonical for its direct partners, the last
 * link of the chain otherwise. The canonical names itself, score 100. */
MF_EXPORT size_t mf_groups_member_via(const mf_groups_t* groups, size_t group,
                                      size_t member);
MF_EXPORT int mf_groups_member_via_score(const mf_groups_t* groups,
                                         size_t group, size_t member);

/* Every pair found, ordered by first then second index (first < second).
 * mf_groups_pair writes the indexes and the score of pair |pair| and
 * returns 1, or returns 0, writing nothing, for an index out of range. */
MF_EXPORT size_t mf_groups_pair_count(const mf_groups_t* groups);
MF_EXPORT int mf_groups_pair(const mf_groups_t* groups, size_t pair,
                             size_t* first, size_t* second, int* score);

/* ---- Linking two lists ------------------------------------------------- */

/* Finds, for each of the |a_count| values of |a|, the values of |b| scoring
 * at least the accuracy against it. On success *result receives a new
 * links handle. */
MF_EXPORT int mf_link(const mf_options_t* options, const char* const* a,
                      size_t a_count, const char* const* b, size_t b_count,
                      mf_links_t** result, char** errptr);
MF_EXPORT void mf_links_destroy(mf_links_t* links);

/* The number of matches of a[a_index] (0 for an index out of range). */
MF_EXPORT size_t mf_links_match_count(const mf_links_t* links,
                                      size_t a_index);
/* Match |match| of a[a_index], best first (equal scores in the order of
 * |b|): its index in |b|, or SIZE_MAX out of range, and its score, or 0. */
MF_EXPORT size_t mf_links_match_value(const mf_links_t* links, size_t a_index,
                                      size_t match);
MF_EXPORT int mf_links_match_score(const mf_links_t* links, size_t a_index,
                                   size_t match);

/* ---- Duplicate records ------------------------------------------------- */

/* Records are rows of fields: first |name_fields| name fields, then
 * |same_fields| same fields, then |also_fields| also fields.
 * - The name fields are joined in order with spaces and scored word by
 *   word, as values are ("Jon" + "Smyth" against "Smith, John"). A record
 *   whose name holds no letter is compared with no other.
 * - Two records are compared only when every same field is equal after a
 *   light normalisation: accents, case and runs of blanks do not count,
 *   and a field that looks like a telephone number (only digits, blanks
 *   and + - ( ) . /, with at least five digits) counts by its digits
 *   alone. A record with an empty same field is compared with no other.
 *   Blocking keys are filed within the same fields' values, so records
 *   that differ there are never compared, however many there are.
 * - Each also field is scored by sound as the name is, and a pair's score
 *   is the least of its name's and its also fields' scores: a pair is as
 *   alike as its least alike part. An also field empty or without letters
 *   in either record is left out of the least (it has no sound to score).
 * Records identical in every field are copies of one record: compared
 * once, counted together for the canonical, always in one group (copies
 * alone form a group when the record is comparable). */

/* Writes to *result new empty records of that shape. |name_fields| must be
 * at least 1. */
MF_EXPORT int mf_records_create(size_t name_fields, size_t same_fields,
                                size_t also_fields, mf_records_t** result,
                                char** errptr);
MF_EXPORT void mf_records_destroy(mf_records_t* records);
/* Appends one record: |fields| holds name_fields + same_fields +
 * also_fields strings in that order; a NULL entry is an empty field. The
 * strings are copied. */
MF_EXPORT int mf_records_add(mf_records_t* records, const char* const* fields,
                             char** errptr);
/* The number of records added (0 for NULL). */
MF_EXPORT size_t mf_records_count(const mf_records_t* records);

/* Finds the pairs of |records| scoring at least the accuracy and groups
 * the records connected through them, as mf_dedupe groups values; indexes
 * of the groups handle are record indexes (in the order added). Every copy
 * of a grouped record is a member, after its first copy, with the same
 * score to the canonical and that first copy as its via (score 100); the
 * canonical is the first copy of the most frequent distinct record. A
 * record is in at most one group. The pairs are those between distinct
 * records, each named by its first copy. Names and also fields are folded
 * as |options| says before they are scored. */
MF_EXPORT int mf_records_dedupe(const mf_options_t* options,
                                const mf_records_t* records,
                                mf_groups_t** result, char** errptr);

/* Finds, for each record of |a|, the records of |b| scoring at least the
 * accuracy against it, as mf_link does for values. |a| and |b| must have
 * the same numbers of name, same and also fields. */
MF_EXPORT int mf_records_link(const mf_options_t* options,
                              const mf_records_t* a, const mf_records_t* b,
                              mf_links_t** result, char** errptr);

/* ---- Blocking keys ----------------------------------------------------- */

/* Writes to *result the blocking keys of |value| (the whole value as one
 * word, folded as |options| says; the other options do not matter):
 * sorted, distinct, printable ASCII. Two values whose score reaches
 * mf_keys_min_accuracy() share at least one key, in either scoring mode,
 * for all but a small share of pairs; a value without phones has none.
 * |options| may be NULL (the defaults). */
MF_EXPORT int mf_keys(const mf_options_t* options, const char* value,
                      mf_strings_t** result, char** errptr);
/* Writes to *result the one key that every pair with a strict whole-cell
 * score above 0 shares: the consonant skeleton of |value| (none for a value
 * without phones). A database index keeps it for each row. */
MF_EXPORT int mf_skeleton_key(const mf_options_t* options, const char* value,
                              mf_strings_t** result, char** errptr);
/* The lowest accuracy mf_keys serves; below it, compare every pair. */
MF_EXPORT int mf_keys_min_accuracy(void);

/* ---- Explaining one comparison ----------------------------------------- */

/* Records how the engine compares the words |first| and |second| in the
 * scoring mode of |options|, folded as it says (everything else in it is
 * ignored). On success *result receives a new explanation handle, whose
 * percentage equals mf_compare with whole cells in that mode. */
MF_EXPORT int mf_explain(const mf_options_t* options, const char* first,
                         const char* second, mf_explanation_t** result,
                         char** errptr);
MF_EXPORT void mf_explanation_destroy(mf_explanation_t* explanation);

MF_EXPORT int mf_explanation_percentage(const mf_explanation_t* explanation);
/* The word distance: 0.0 for no difference, larger for less alike, -1.0
 * when the words cannot be compared. */
MF_EXPORT double mf_explanation_distance(const mf_explanation_t* explanation);
/* The phones of word 1 or 2 (|word|), space-separated; "" for another
 * |word| or a word without phones. In tolerant scoring these are the
 * phones of the reading the score compared, which for a misspelling the
 * letter-to-sound rules misread is its plain respelling (the text says
 * "read as"). */
MF_EXPORT const char* mf_explanation_phones(
    const mf_explanation_t* explanation, int word);
/* The whole explanation as text for people: the phones, each step of the
 * alignment with its values, and how they add up to the percentage, in
 * lines ending with "\n". */
MF_EXPORT const char* mf_explanation_text(
    const mf_explanation_t* explanation);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* MARROWFIELD_API_H_ */
