/*
 * Marrowfield: find words and names that sound alike.
 *
 * The flat C interface of the phonetic matching engine. A word becomes a
 * list of phones (through Flite's CMU lexicon, or its letter-to-sound rules
 * for words the lexicon lacks); two phone lists are aligned and measured,
 * and the result is a similarity between 0 and 100 percent.
 *
 * Strings are NUL-terminated 8-bit strings. Only the letters a-z and A-Z
 * carry sound; every other byte (digits, punctuation, bytes 0x80-0xFF)
 * separates or is ignored, and no input is rejected.
 *
 * Lifecycle: call initialize() once before anything that compares, searches
 * or codes, and un_initialize() once at the end. A call that needs the
 * engine but comes before initialize() or after un_initialize() returns the
 * failure value named in its comment instead of doing any work.
 *
 * Failure values: no function here reports errors other than by the values
 * documented below, and none of them crashes on a null pointer.
 *
 * Threads: every function may be called from several threads at once and
 * gives exactly the results of the same calls made one after another.
 * initialize() and un_initialize() wait for running calls to finish; a call
 * made while the engine is released returns its failure value. A list
 * search started while set_threshold() runs uses the old or the new level.
 * A handle may be read by several threads, but must be closed once, after
 * every reader is done.
 *
 * Limits: a word longer than 1 MiB (1 048 576 bytes) is treated as having
 * no phones. Transcriptions are cached in memory (at most 16.5 MiB) until
 * un_initialize().
 */
#ifndef MARROWFIELD_H_
#define MARROWFIELD_H_

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#if defined(MARROWFIELD_BUILDING)
#define MARROWFIELD_EXPORT __declspec(dllexport)
#else
#define MARROWFIELD_EXPORT __declspec(dllimport)
#endif
#else
#define MARROWFIELD_EXPORT __attribute__((visibility("default")))
#endif

/* Transcription modes for get_phonemes and match_sub_string_phonetically. */
#define MODE_LEXICON 0  /* lexicon first, rules for unknown words (default) */
#define MODE_LTS_ONLY 1 /* letter-to-sound rules alone */

/* An ordered list of strings handed out by the library. Opaque: read it with
 * get_result_size and get_result_item, then free it with
 * close_result_iterator exactly once. The caller owns it until then. */
typedef struct ResultIterator ResultIterator;

/* Sets up the lexicon and builds the phone tables. Returns 0, or -1 when the
 * tables fail their consistency check (the engine is still usable). A second
 * call rebuilds the tables and releases the first set. */
MARROWFIELD_EXPORT int initialize(void);

/* Releases the phone tables. The lexicon stays set up, so get_phonemes still
 * transcribes; comparing, searching and coding return their failure values
 * until the next initialize(). Harmless when called twice. */
MARROWFIELD_EXPORT void un_initialize(void);

/* Sets the acceptance level of get_similar_words_from_list to |percent|
 * (0-100; 50 until called). A value above 100 (a negative int included) is
 * ignored. May be called at any time. */
MARROWFIELD_EXPORT void set_threshold(unsigned int percent);

/* Returns the phones of |word| (lower case, no stress marks, in spoken
 * order) as a new list that the caller must close. Case is folded and every
 * byte that is not a letter becomes a space before lookup, the spaces at the
 * two ends then being dropped; apostrophes are dropped. |mode| is MODE_LTS_ONLY or (any other value) MODE_LEXICON. A word
 * without phones, a null |word| or a call before initialize() gives a valid
 * empty list. Returns NULL only when memory runs out. */
MARROWFIELD_EXPORT ResultIterator* get_phonemes(const char* word, int mode);

/* Returns how alike |word1| and |word2| sound, in percent (0-100). A word
 * without phones, a null pointer, or a call outside initialize() ..
 * un_initialize() gives 0. The result may differ slightly between the two
 * orders of words whose phone lists are equally long. */
MARROWFIELD_EXPORT int compare_words(const char* word1, const char* word2);

/* Writes the consonant code of |word| (a string of digits) and a NUL into
 * |buffer| only when |bufferSize| is greater than the code's length, and
 * returns that length either way: a result >= bufferSize means a buffer of
 * result + 1 bytes is needed. The word is looked up exactly as given (no case
 * folding). A null |word|, a call outside initialize() .. un_initialize(), or
 * a null |buffer| with any size writes nothing; the first two return 0. */
MARROWFIELD_EXPORT int get_codes_for_word(const char* word, char* buffer,
                                          unsigned int bufferSize);

/* Returns, as a new list that the caller must close, the entries of
 * |list| (|count| strings) that sound like |word| within the threshold of
 * set_threshold, best first; equally good entries in descending byte order.
 * Entries are returned exactly as given; duplicates stay; null entries are
 * skipped. A null |word| or |list|, a count of 0, or a call outside
 * initialize() .. un_initialize() gives a valid empty list. Returns NULL
 * only when memory runs out. */
MARROWFIELD_EXPORT ResultIterator* get_similar_words_from_list(
    const char* word, const char** list, unsigned int count);

/* Returns the number of strings in |handle|; 0 for a null handle. */
MARROWFIELD_EXPORT int get_result_size(const ResultIterator* handle);

/* Returns the string at |index| (0-based), valid until the handle is closed;
 * NULL for a null handle or an index outside 0 .. size - 1. */
MARROWFIELD_EXPORT const char* get_result_item(const ResultIterator* handle,
                                               int index);

/* Frees |handle| and its strings. NULL is accepted and does nothing. The
 * handle must not be used afterwards. */
MARROWFIELD_EXPORT void close_result_iterator(ResultIterator* handle);

/* Finds where |phrase| sounds like part of |text|. Returns the score in
 * percent (0-100) and writes through |matchStart| and |matchLength| the
 * position and length of the first phrase word's match, counted in the text
 * after normalisation (case folded, apostrophes dropped, every other
 * non-letter a space, words joined by single spaces). Returns 0 with
 * *matchStart = -1 and *matchLength = 0 when some phrase word matches
 * nowhere. Returns -1, writing nothing, when the phrase or the text holds no
 * letter, when any pointer is null, or outside initialize() ..
 * un_initialize(). */
MARROWFIELD_EXPORT int match_sub_string_phonetically(const char* phrase,
                                                     const char* text,
                                                     int* matchStart,
                                                     int* matchLength,
                                                     int mode);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* MARROWFIELD_H_ */
