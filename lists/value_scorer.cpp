// Scoring prepared values. The strict word score repeats the engine's
// GetDistanceForWords on ids already at hand, reusing buffers instead of
// copying both phone lists per pair: the pair finder scores millions of
// candidates, and a test holds this path equal to compare_words.

#include "value_scorer.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "blocking_keys.h"
#include "distinct_texts.h"
#include "flite_lexicon.h"
#include "mode_comparison.h"
#include "pair_finder.h"
#include "run_chunks.h"
#include "tolerant_reading.h"
#include "value_words.h"
#include "word_scoring.h"

namespace marrowfield::lists {

namespace {
// A direct-mapped table of 64 Ki word scores (1 MiB) per scorer.
constexpr unsigned kRememberedScoresBits = 16;
constexpr size_t kRememberedScores = size_t{1} << kRememberedScoresBits;
// And of 32 Ki walks (512 KiB), which stay in a core's own cache.
constexpr unsigned kRememberedWalksBits = 15;
constexpr size_t kRememberedWalks = size_t{1} << kRememberedWalksBits;
}  // namespace

ValueScorer::ValueScorer(bool wholeCell, ScoringMode mode)
    : matcher(CurrentLexicon()), wholeCellMode(wholeCell), mode(mode) {}

PreparedValue ValueScorer::Prepare(std::string_view value) const {
  PreparedValue prepared;
  if (wholeCellMode) {
    // Exactly compare_words' transcription of a word.
    std::string word(value);
    matcher.CleanWord(word);
    PreparedWord whole;
    Read(word, whole);
    if (!whole.phones.empty()) prepared.words.push_back(std::move(whole));
    return prepared;
  }
  for (ValueWord& word : SplitValueWords(value)) {
    PreparedWord prepared_word;
    prepared_word.letter = word.text[0];
    prepared_word.initial = word.initial;
    if (!word.initial) Read(word.text, prepared_word);
    prepared.words.push_back(std::move(prepared_word));
  }
  return prepared;
}

void ValueScorer::Read(const std::string& word, PreparedWord& prepared) const {
  if (mode == ScoringMode::kStrict) {
    prepared.phones = matcher.TranscribeFromLexicon(word).ids;
    return;
  }
  TolerantReadings readings = ReadTolerantly(matcher, word);
  prepared.phones = std::move(readings.written);
  prepared.respelled = std::move(readings.respelled);
  prepared.skeletons = std::make_shared<const ReadingSkeletons>(
      SkeletonsOfReadings(prepared.phones, prepared.respelled));
}

int ValueScorer::PhonesScore(const PreparedWord& x, const PreparedWord& y,
                             WalksGivingUp givingUp) {
  const PhoneIds& a = x.phones;
  const PhoneIds& b = y.phones;
  if (a.empty() || b.empty()) return 0;
  if (mode == ScoringMode::kTolerant && x.skeletons && y.skeletons) {
    if (givingUp.All()) return 0;
    const bool respelling = !x.respelled.empty() || !y.respelled.empty();
    return DistanceToPercentage(CombineReadingWalks(
        respelling, ReadingsShareKey(*x.skeletons, *y.skeletons), givingUp,
        [&](ReadingWalk which, bool tolerant) {
          if (tolerant) return TolerantWalk(x, y, which);
          return ReadingWalkDistance(matcher, a, b, false);
        }));
  }
  return DistanceToPercentage(
      DistanceOfReadings(matcher, mode, a, x.respelled, b, y.respelled,
                         simValues, currentMismatchedPositions));
}

double ValueScorer::TolerantWalk(const PreparedWord& a, const PreparedWord& b,
                                 ReadingWalk which) {
  const bool written = which == ReadingWalk::kWritten;
  const PhoneIds& x = written || a.respelled.empty() ? a.phones : a.respelled;
  const PhoneIds& y = written || b.respelled.empty() ? b.phones : b.respelled;
  const uint32_t first = a.readingIds[written ? 0 : 1];
  const uint32_t second = b.readingIds[written ? 0 : 1];
  if (first == kNoWordId || second == kNoWordId)
    return ReadingWalkDistance(matcher, x, y, true);
  if (rememberedWalks.empty()) rememberedWalks.resize(kRememberedWalks);
  // Order matters: the first list walks on a tie of lengths.
  const uint64_t key = (static_cast<uint64_t>(first) << 32) | second;
  RememberedWalk& slot = rememberedWalks[(key * 0x9e3779b97f4a7c15ull) >>
                                         (64 - kRememberedWalksBits)];
  if (slot.readings != key)
    slot = RememberedWalk{key, ReadingWalkDistance(matcher, x, y, true)};
  return slot.distance;
}

int ValueScorer::StrictPhonesScore(const PhoneIds& a, const PhoneIds& b) {
  if (a.empty() || b.empty()) return 0;
  static const PhoneIds kNoRespelling;
  return DistanceToPercentage(
      DistanceOfReadings(matcher, ScoringMode::kStrict, a, kNoRespelling, b,
                         kNoRespelling, simValues, currentMismatchedPositions));
}

bool ValueScorer::CountsInValue(const PreparedWord& a, const PreparedWord& b,
                                int score) {
  if (mode == ScoringMode::kStrict || score >= kMinUnrelatedWords)
    return true;
  if (a.initial || b.initial) return false;
  if (StrictPhonesScore(a.phones, b.phones) > 0) return true;
  if (a.respelled.empty() && b.respelled.empty()) return false;
  const PhoneIds& x = a.respelled.empty() ? a.phones : a.respelled;
  const PhoneIds& y = b.respelled.empty() ? b.phones : b.respelled;
  return StrictPhonesScore(x, y) > 0;
}

int ValueScorer::WordScore(const PreparedWord& a, const PreparedWord& b) {
  if (a.initial || b.initial) return a.letter == b.letter ? kInitialScore : 0;
  if (a.id == kNoWordId || b.id == kNoWordId)
    return PhonesScore(a, b);
  if (remembered.empty()) remembered.resize(kRememberedScores);
  // Order matters: a word pair scores as compare_words does, first to second.
  const uint64_t key = (static_cast<uint64_t>(a.id) << 32) | b.id;
  RememberedScore& slot =
      remembered[(key * 0x9e3779b97f4a7c15ull) >> (64 - kRememberedScoresBits)];
  if (slot.first != a.id || slot.second != b.id) {
    slot = RememberedScore{a.id, b.id, PhonesScore(a, b)};
  }
  return slot.score;
}

void ValueScorer::NumberWords(std::vector<PreparedValue*>& values,
                              unsigned threads) {
  // Ids are given in the order words are first met, on the threads.
  std::vector<PreparedWord*> words;
  for (PreparedValue* value : values) {
    for (PreparedWord& word : value->words) {
      if (!word.initial) words.push_back(&word);
    }
  }
  // Beyond the id range words simply go unremembered.
  if (words.size() >= kNoWordId) return;
  // A word's key: the respelled reading scores too; the written phones'
  // count first keeps the two readings apart.
  std::vector<std::string> keys(words.size());
  constexpr size_t kWordsPerChunk = 16384;
  RunChunks(words.size(), kWordsPerChunk,
            WorkerCount(threads, words.size() / kWordsPerChunk + 1),
            [&](unsigned, size_t, size_t begin, size_t end) {
              for (size_t w = begin; w < end; ++w) {
                const PreparedWord& word = *words[w];
                const size_t count = word.phones.size();
                std::string& key = keys[w];
                key.assign(reinterpret_cast<const char*>(&count), sizeof count);
                key.append(word.phones.begin(), word.phones.end());
                key.append(word.respelled.begin(), word.respelled.end());
              }
            });
  const DistinctTexts distinct = NumberDistinctTexts(
      std::vector<std::string_view>(keys.begin(), keys.end()), threads);
  for (size_t w = 0; w < words.size(); ++w) {
    words[w]->id = distinct.ofItem[w];
  }
  if (words.empty() || !words[0]->skeletons) return;

  // The readings of the tolerant mode, every word's two side by side.
  std::vector<std::string_view> readings(2 * words.size());
  for (size_t w = 0; w < words.size(); ++w) {
    const PreparedWord& word = *words[w];
    const PhoneIds& respelled =
        word.respelled.empty() ? word.phones : word.respelled;
    readings[2 * w] = std::string_view(
        reinterpret_cast<const char*>(word.phones.data()), word.phones.size());
    readings[2 * w + 1] = std::string_view(
        reinterpret_cast<const char*>(respelled.data()), respelled.size());
  }
  if (readings.size() >= kNoWordId) return;
  const DistinctTexts distinctReadings = NumberDistinctTexts(readings, threads);
  for (size_t w = 0; w < words.size(); ++w) {
    words[w]->readingIds[0] = distinctReadings.ofItem[2 * w];
    words[w]->readingIds[1] = distinctReadings.ofItem[2 * w + 1];
  }
}

int ValueScorer::ScoreOnce(const PreparedValue& a, const PreparedValue& b,
                           WalksGivingUp givingUp) {
  if (a.words.size() == 1 && b.words.size() == 1 && !a.words[0].initial &&
      !b.words[0].initial)
    return PhonesScore(a.words[0], b.words[0], givingUp);
  return Score(a, b);
}

int ValueScorer::Score(const PreparedValue& a, const PreparedValue& b) {
  const size_t n = a.words.size();
  const size_t m = b.words.size();
  if (n == 0 || m == 0) return 0;
  if (n == 1 && m == 1) return WordScore(a.words[0], b.words[0]);

  wordPairs.clear();
  for (uint32_t i = 0; i < n; ++i) {
    for (uint32_t j = 0; j < m; ++j) {
      const int score = WordScore(a.words[i], b.words[j]);
      if (score > 0 && CountsInValue(a.words[i], b.words[j], score))
        wordPairs.push_back({score, i, j});
    }
  }
  std::sort(wordPairs.begin(), wordPairs.end(),
            [](const WordPairScore& x, const WordPairScore& y) {
              if (x.score != y.score) return x.score > y.score;
              if (x.i != y.i) return x.i < y.i;
              return x.j < y.j;
            });
  // Words taken, as bits: a value has at most kMaxWordsPerValue words.
  uint32_t takenA = 0;
  uint32_t takenB = 0;
  int sum = 0;
  bool fullWordsAlike = false;
  for (const WordPairScore& pair : wordPairs) {
    if ((takenA >> pair.i & 1u) || (takenB >> pair.j & 1u)) continue;
    takenA |= 1u << pair.i;
    takenB |= 1u << pair.j;
    sum += pair.score;
    if (!a.words[pair.i].initial && !b.words[pair.j].initial &&
        pair.score >= kMinAlikeFullWords) {
      fullWordsAlike = true;
    }
  }
  if (!fullWordsAlike) return 0;
  return sum / static_cast<int>(std::max(n, m));
}

}  // namespace marrowfield::lists
