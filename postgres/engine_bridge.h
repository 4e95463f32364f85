/*
 * The extension's one way into the engine and the pair-finding layer. PostgreSQL reports errors by
 * longjmp, which must never cross a C++ frame, and the engine reports them
 * by exception, which must never reach PostgreSQL; so the SQL functions
 * (C, in the other files) call only these functions, which catch
 * everything and hand answers back as plain values or as the bridge's
 * result list, kept until the next call. A backend is one thread, so one
 * list per process is enough.
 *
 * Every function that needs the engine sets it up on first use (once per
 * process) and goes through the engine's own transcription, whose guards
 * keep Flite from ending the process.
 */
#ifndef MARROWFIELD_POSTGRES_ENGINE_BRIDGE_H
#define MARROWFIELD_POSTGRES_ENGINE_BRIDGE_H

#include <stdbool.h>
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef enum MfStatus
{
	MF_OK = 0,
	MF_NO_LETTERS = 1,			/* an argument holds no letter a-z, A-Z */
	MF_FAILED = 2				/* see mf_error() */
} MfStatus;

/* Sets up the lexicon and the phone tables unless done already in this
 * process. Returns MF_FAILED when that failed or the tables failed their
 * consistency check. */
MfStatus	mf_start(void);

/* Bounds the transcription cache to |bytes| (see the engine's cache);
 * returns the bound in force. Forgets what the cache held. */
size_t		mf_set_cache_bytes(size_t bytes);

/* Whether |text| holds a letter a-z or A-Z: only those carry sound. */
bool		mf_has_letter(const char *text, size_t length);

/* The compare_words percentage of the two texts. */
MfStatus	mf_score(const char *a, size_t a_length, const char *b,
					 size_t b_length, int *percent);

/* Fills the result list with the phones of |text|, by the letter-to-sound
 * rules alone when |rules|, else lexicon first. */
MfStatus	mf_phones(const char *text, size_t length, bool rules);

/* Fills the result list with one item: the consonant code of |text|,
 * looked up exactly as given. */
MfStatus	mf_code(const char *text, size_t length);

/* Where |phrase| sounds like part of |body|: the score, and the 0-based
 * start and the length of the first phrase word's match in the normalised
 * body (-1 and 0 when some phrase word matches nowhere). */
MfStatus	mf_match(const char *phrase, size_t phrase_length, const char *body,
					 size_t body_length, int *score, int *start, int *length);

/* Fills the result list with the blocking keys of |text| (sorted, no
 * duplicates, printable ASCII; none for a text without phones). Two texts
 * whose score reaches mf_keys_min_accuracy() share a key. */
MfStatus	mf_keys(const char *text, size_t length);
int			mf_keys_min_accuracy(void);

/* Fills the result list with the one key the index keeps for |text|: its
 * consonant skeleton, the blocking key that every pair with a strict score
 * above 0 shares (none for a text without phones). */
MfStatus	mf_index_key(const char *text, size_t length);

/* The result list of the last call that fills it. Items are valid until
 * the next such call. REQUIRES: index < mf_list_size(). */
size_t		mf_list_size(void);
const char *mf_list_item(size_t index, size_t *length);

/* The message of the last MF_FAILED. */
const char *mf_error(void);

#ifdef __cplusplus
}
#endif

#endif							/* MARROWFIELD_POSTGRES_ENGINE_BRIDGE_H */
