// The respelled reading of the tolerant mode and the best of the two
// readings. The respelling rules are the spellings after which Flite's
// letter-to-sound rules were found, on the names corpus, to drift furthest
// from the name; each one is a spelling that a person writing a name by
// ear produces and that a reader would say the same either way.

#include "tolerant_reading.h"

#include <algorithm>
#include <utility>

#include "alignment_walk.h"
#include "per_thread.h"
#include "skeleton_keys.h"
#include "transcription_cache.h"

namespace marrowfield {
namespace {

bool IsVowelLetter(char c) {
  return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

// A letter other than a vowel letter: y counts as one here, a space not.
bool IsConsonantLetter(char c) {
  return c >= 'a' && c <= 'z' && !IsVowelLetter(c);
}

// A final ending |ending| after a consonant, with at least one more letter
// before that consonant: Lacie, Jamey, Levi, but not Lee or Joey.
bool EndsAfterConsonant(const std::string& word, const char* ending,
                        size_t length) {
  const size_t n = word.size();
  return n >= length + 2 && word.compare(n - length, length, ending) == 0 &&
         IsConsonantLetter(word[n - length - 1]);
}

// The minimum length of a word whose final s is read away: shorter words
// (Ross, Mars, Jess) are more often a name of their own than a plural.
constexpr size_t kMinPluralLength = 5;

}  // namespace

std::string RespellForTolerantReading(const std::string& word) {
  // Letter pairs the rules read as two sounds: ph after the first letter
  // (Grifphin, Wolfph; a leading ph the rules read right) and ck.
  std::string plain;
  plain.reserve(word.size());
  for (size_t k = 0; k < word.size(); ++k) {
    const char next = k + 1 < word.size() ? word[k + 1] : '\0';
    if (k > 0 && word[k] == 'p' && next == 'h') {
      plain += 'f';
      ++k;
    } else if (word[k] == 'c' && next == 'k') {
      plain += 'k';
      ++k;
    } else {
      plain += word[k];
    }
  }
  // Doubled consonants read as one (Joddy as Jody: the rules sound "dd"
  // after a short vowel as nothing), and y between consonants as i
  // (Mychell, Irvyng), which the rules often read as the y of "my".
  std::string out;
  out.reserve(plain.size());
  for (size_t k = 0; k < plain.size(); ++k) {
    char c = plain[k];
    if (k > 0 && c == plain[k - 1] && IsConsonantLetter(c) && c != 'c')
      continue;
    if (c == 'y' && k > 0 && k + 1 < plain.size() &&
        IsConsonantLetter(plain[k - 1]) && IsConsonantLetter(plain[k + 1]) &&
        plain[k + 1] != 'y') {
      c = 'i';
    }
    out += c;
  }
  // The endings of first names heard alike, written one way (Lacie and
  // Lacy: the rules read "cie" as "k iy").
  if (EndsAfterConsonant(out, "ie", 2) || EndsAfterConsonant(out, "ee", 2) ||
      EndsAfterConsonant(out, "ey", 2)) {
    out.replace(out.size() - 2, 2, "y");
  } else if (EndsAfterConsonant(out, "i", 1)) {
    out.back() = 'y';
  }
  // A plural read as the name: Phillips as Phillip, Johnsons as Johnson.
  // Never an s of its own after a space: the word must not end in one,
  // which the rules would read as context.
  const size_t n = out.size();
  if (n >= kMinPluralLength && out[n - 1] == 's' && out[n - 2] != 's' &&
      out[n - 2] != ' ')
    out.pop_back();
  return out;
}

namespace {

// The cache keeps both readings of a word in one entry of this kind, so
// that a warm tolerant comparison looks each word up once, as a strict one
// does: the written phones, then, when the word has a respelled reading,
// kReadingsSeparator and the respelled phones.
constexpr char kTolerantReadingsKey = 'T';
constexpr PhoneId kReadingsSeparator = 0xff;
static_assert(kReadingsSeparator > kUnknownPhone,
              "the separator is no phone id");

TolerantReadings ReadBothReadings(const PhoneticMatcher& matcher,
                                  const std::string& cleanedWord,
                                  bool& cacheable) {
  TolerantReadings readings;
  const Transcription written = matcher.TranscribeFromLexicon(cleanedWord);
  cacheable = written.names.empty();
  readings.written = written.ids;
  if (readings.written.empty()) return readings;
  const std::string respelled = RespellForTolerantReading(cleanedWord);
  if (respelled == cleanedWord) return readings;
  Transcription other = matcher.TranscribeFromLexicon(respelled);
  cacheable = cacheable && other.names.empty();
  if (other.ids != readings.written) readings.respelled = std::move(other.ids);
  return readings;
}

}  // namespace

TolerantReadings ReadTolerantly(const PhoneticMatcher& matcher,
                                const std::string& cleanedWord) {
  TolerantReadings readings;
  ReadTolerantly(matcher, cleanedWord, readings);
  return readings;
}

TranscriptionKey TolerantReadingsKey(const std::string& cleanedWord) {
  return TranscriptionKey(kTolerantReadingsKey, cleanedWord);
}

void ReadTolerantly(const PhoneticMatcher& matcher,
                    const std::string& cleanedWord,
                    TolerantReadings& readings) {
  ReadTolerantly(matcher, cleanedWord, TolerantReadingsKey(cleanedWord),
                 readings);
}

void ReadTolerantly(const PhoneticMatcher& matcher,
                    const std::string& cleanedWord,
                    const TranscriptionKey& key, TolerantReadings& readings) {
  // Reused, so that a warm lookup allocates nothing.
  MARROWFIELD_PER_THREAD Transcription entry;
  if (FindCachedTranscription(key, &entry)) {
    // The entry's list becomes the written reading, cut at the separator;
    // the list it replaces serves the next lookup.
    readings.written.swap(entry.ids);
    PhoneIds& ids = readings.written;
    const auto separator =
        std::find(ids.begin(), ids.end(), kReadingsSeparator);
    readings.respelled.assign(separator == ids.end() ? ids.end() : separator + 1,
                              ids.end());
    ids.erase(separator, ids.end());
    return;
  }
  bool cacheable = false;
  readings = ReadBothReadings(matcher, cleanedWord, cacheable);
  // A reading with a phone outside the inventory is never kept (the cache
  // keeps no such entry), nor are both readings when they do not fit.
  if (!cacheable) return;
  entry.names.clear();
  entry.ids = readings.written;
  if (!readings.respelled.empty()) {
    entry.ids.push_back(kReadingsSeparator);
    entry.ids.insert(entry.ids.end(), readings.respelled.begin(),
                     readings.respelled.end());
  }
  CacheTranscription(key, entry);
}

bool BetterDistance(double a, double b) {
  if (a == kFailureDistance) return false;
  if (b == kFailureDistance) return true;
  return a < b;
}

double TolerantDistanceOfReadings(const PhoneticMatcher& matcher,
                                  const PhoneIds& written1,
                                  const PhoneIds& respelled1,
                                  const PhoneIds& written2,
                                  const PhoneIds& respelled2) {
  return TolerantDistanceOfReadings(
      matcher, written1, respelled1, written2, respelled2,
      ReadingsShareKey(written1, respelled1, written2, respelled2));
}

double ReadingWalkDistance(const PhoneticMatcher& matcher, const PhoneIds& a,
                           const PhoneIds& b, bool tolerant) {
  // Scratch buffers kept per thread: up to two walks per pair, and the
  // pair finder scores millions of pairs.
  MARROWFIELD_PER_THREAD std::vector<int32_t> simValues;
  MARROWFIELD_PER_THREAD std::vector<int32_t> positions;
  return tolerant ? WalkDistance<ForcedStepTolerance>(matcher, a, b, simValues,
                                                      positions)
                  : WalkDistance<StrictTolerance>(matcher, a, b, simValues,
                                                  positions);
}

double TolerantDistanceOfReadings(const PhoneticMatcher& matcher,
                                  const PhoneIds& written1,
                                  const PhoneIds& respelled1,
                                  const PhoneIds& written2,
                                  const PhoneIds& respelled2, bool shareKey,
                                  WalksGivingUp givingUp) {
  const bool respelling = !respelled1.empty() || !respelled2.empty();
  return CombineReadingWalks(
      respelling, shareKey, givingUp, [&](ReadingWalk which, bool tolerant) {
        if (which == ReadingWalk::kWritten)
          return ReadingWalkDistance(matcher, written1, written2, tolerant);
        return ReadingWalkDistance(
            matcher, respelled1.empty() ? written1 : respelled1,
            respelled2.empty() ? written2 : respelled2, tolerant);
      });
}

}  // namespace marrowfield
