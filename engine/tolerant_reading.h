// The second reading of a word in the tolerant scoring mode. Flite's
// letter-to-sound rules read a misspelt name letter by letter, and some
// spellings people write by ear lead them far from the name: Joddy sounds
// "jh aa iy", Lacie "l ae k iy", Wolfph "w uh l f f". The tolerant score
// therefore also compares a respelling of each word in which such
// spellings are written plainly (Jody, Lacy, Wolf) and keeps the better of
// the two comparisons; the word as written is always one of them, so the
// tolerant score never falls below the strict one.

#ifndef MARROWFIELD_ENGINE_TOLERANT_READING_H_
#define MARROWFIELD_ENGINE_TOLERANT_READING_H_

#include <string>

#include "phonetic_matcher.h"
#include "transcription_cache.h"

namespace marrowfield {

// |word| (cleaned: lower case a-z and inner spaces) written plainly:
// "ph" inside a word as "f", "ck" as "k", a doubled consonant
// letter as one (but "cc", which can sound "k s"), a "y" between two
// consonants as "i", a final "ie", "ee", "ey" or "i" after a consonant as
// "y", and a final "s" of a word of five letters or more (not "ss")
// dropped. Returns |word| itself when nothing applies; never an empty word
// for a non-empty one.
std::string RespellForTolerantReading(const std::string& word);

// The two readings of a word as the tolerant score compares them: the
// lexicon's phones of the word as written, and those of its respelling,
// the latter left empty when the respelling sounds exactly like the word
// (or is the word), so that it costs no second comparison.
struct TolerantReadings {
  PhoneIds written;
  PhoneIds respelled;
};

// The readings of |cleanedWord| (cleaned as compare_words cleans it), both
// through the lexicon and the transcription cache, which also keeps the
// two together so that a warm word is one lookup. |written| is empty when
// the word has no phones.
TolerantReadings ReadTolerantly(const PhoneticMatcher& matcher,
                                const std::string& cleanedWord);
// The same into |readings|, reusing its lists' memory: once the word's
// readings are in the cache, this allocates nothing.
void ReadTolerantly(const PhoneticMatcher& matcher,
                    const std::string& cleanedWord,
                    TolerantReadings& readings);

// The cache key of the readings of |cleanedWord|, which it references; for
// starting to fetch an entry (PrefetchCachedTranscription) before it is
// needed, and then reading it with the overload below.
TranscriptionKey TolerantReadingsKey(const std::string& cleanedWord);
// REQUIRES: |key| is TolerantReadingsKey(cleanedWord).
void ReadTolerantly(const PhoneticMatcher& matcher,
                    const std::string& cleanedWord,
                    const TranscriptionKey& key, TolerantReadings& readings);

// The tolerant word distance of two words from their readings: the
// smaller (better) of the tolerant distance of the written phones and, when
// either word has a respelled reading, that of the respelled ones (the
// written phones standing in for a word without one). -1.0 when neither
// pair can be aligned. REQUIRES: PhoneTablesReady().
double TolerantDistanceOfReadings(const PhoneticMatcher& matcher,
                                  const PhoneIds& written1,
                                  const PhoneIds& respelled1,
                                  const PhoneIds& written2,
                                  const PhoneIds& respelled2);

// Which of the two tolerant walks of a pair of words a caller has proven
// to give up (forced_step_replay.h): the walk of the written readings, and
// that of the respelled ones (set too when neither word has a respelling,
// and so there is no such walk).
struct WalksGivingUp {
  bool written = false;
  bool respelled = false;
  bool All() const { return written && respelled; }
};

// The same for a caller that already knows whether the two words share a
// skeleton key (ReadingsShareKey), from skeletons it keeps, and which of
// the walks give up; those are not taken. The score is the same, the
// distance may not be: without a shared key and with the written walk
// giving up, the answer is kFailureDistance where the strict walk might
// finish at a distance that also scores 0.
// REQUIRES: |shareKey| is ReadingsShareKey of the four readings; the
// tolerant walks |givingUp| names do give up.
double TolerantDistanceOfReadings(const PhoneticMatcher& matcher,
                                  const PhoneIds& written1,
                                  const PhoneIds& respelled1,
                                  const PhoneIds& written2,
                                  const PhoneIds& respelled2, bool shareKey,
                                  WalksGivingUp givingUp = {});

// Whether distance |a| gives a better score than |b| (-1.0 is the worst).
bool BetterDistance(double a, double b);

// The walks TolerantDistanceOfReadings takes: of the written readings, and
// of the respelled ones (the written phones standing in for a word without
// one).
enum class ReadingWalk { kWritten, kRespelled };

// The distance of one walk of two phone lists: tolerant (forced steps
// allowed) or strict. REQUIRES: PhoneTablesReady().
double ReadingWalkDistance(const PhoneticMatcher& matcher, const PhoneIds& a,
                           const PhoneIds& b, bool tolerant);

// TolerantDistanceOfReadings (the overload that knows |shareKey|) from
// the walks |walk(ReadingWalk, bool tolerant)| gives, for a caller that
// remembers walks: in pair finding one pair of readings comes back with
// many pairs of words. |respelling|: either word has a respelled reading.
// REQUIRES: |walk| gives ReadingWalkDistance of the readings it names.
template <typename Walk>
double CombineReadingWalks(bool respelling, bool shareKey,
                           WalksGivingUp givingUp, Walk&& walk) {
  // Forced steps relate words only where they share a skeleton key;
  // elsewhere a shared ending would carry unrelated words (Communism and
  // Lutheranism), and pair finding, which meets words through their keys,
  // could never find what the score reports. Such words get the strict
  // score, which is 0 for words of different skeletons (and words that
  // share no key have different skeletons): where the tolerant walk gives
  // up anyway, so does the score, without the strict walk.
  if (givingUp.written) {
    if (!shareKey) return kFailureDistance;
  } else if (!shareKey) {
    return walk(ReadingWalk::kWritten, false);
  }
  const double asWritten =
      givingUp.written ? kFailureDistance : walk(ReadingWalk::kWritten, true);
  // Nothing beats no difference at all.
  if (!respelling || asWritten == 0.0 || givingUp.respelled) return asWritten;
  const double asRespelled = walk(ReadingWalk::kRespelled, true);
  return BetterDistance(asRespelled, asWritten) ? asRespelled : asWritten;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_TOLERANT_READING_H_
