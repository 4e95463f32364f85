// The score of two values as pair finding computes it: values are
// transcribed once (Prepare) and then scored against each other many
// times (Score) from their phone ids, without going back to the words.
// Score gives exactly ScoreValues of the two original values.

#ifndef MARROWFIELD_LISTS_VALUE_SCORER_H_
#define MARROWFIELD_LISTS_VALUE_SCORER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "phone_tables.h"
#include "phonetic_matcher.h"
#include "scoring_mode.h"
#include "skeleton_keys.h"
#include "tolerant_reading.h"

namespace marrowfield::lists {

// Words with the same id score alike against any word; kNoWordId words
// are scored afresh every time.
constexpr uint32_t kNoWordId = UINT32_MAX;

struct PreparedWord {
  PhoneIds phones;  // empty for an initial or a word without phones
  // The tolerant score's respelled reading (tolerant_reading.h): empty in
  // the strict mode and when the respelling sounds like the word.
  PhoneIds respelled;
  // The tolerant score's skeletons of the two readings, so that whether
  // two words share a key is not worked out again for every pair; none in
  // the strict mode, which keeps the memory of large lists of full names.
  std::shared_ptr<const ReadingSkeletons> skeletons;
  char letter = 0;  // the word's first letter, lower case
  bool initial = false;
  uint32_t id = kNoWordId;
  // Tolerant: ids of the phone lists of the written and the respelled
  // reading (the written one's for a word without a respelling); equal
  // phones, equal ids, whatever word or reading they are of.
  uint32_t readingIds[2] = {kNoWordId, kNoWordId};
};

// A transcribed value: one word holding the whole value in whole-cell
// mode, its words (value_words.h) otherwise. No words: no phones at all.
struct PreparedValue {
  std::vector<PreparedWord> words;
};

// Not thread-safe (it keeps scratch buffers): one scorer per thread.
class ValueScorer {
 public:
  // REQUIRES: the engine is initialized for as long as the scorer is used.
  ValueScorer(bool wholeCell, ScoringMode mode);

  PreparedValue Prepare(std::string_view value) const;

  // The score 0-100 of |a| against |b| (order matters as it does for
  // compare_words). REQUIRES: both come from Prepare of a scorer with the
  // same wholeCell setting.
  int Score(const PreparedValue& a, const PreparedValue& b);
  // The same for a caller that asks about each pair of single words once:
  // such a pair's score is not remembered. |givingUp|: the tolerant walks
  // of two single full words that the caller has proven to give up.
  int ScoreOnce(const PreparedValue& a, const PreparedValue& b,
                WalksGivingUp givingUp = {});

  bool wholeCell() const { return wholeCellMode; }

  // Numbers the distinct words of |values| (equal phones of both readings
  // give equal ids; initials get none), and in the tolerant mode their
  // readings, so that Score can remember word scores and walks. Runs on
  // |threads| threads (0: every core); the ids are the same for every
  // count. A scorer remembers by these ids: give it values of one
  // numbering only.
  static void NumberWords(std::vector<PreparedValue*>& values,
                          unsigned threads);

 private:
  // Fills the readings of |word| (cleaned) the mode scores.
  void Read(const std::string& word, PreparedWord& prepared) const;
  int WordScore(const PreparedWord& a, const PreparedWord& b);
  int PhonesScore(const PreparedWord& a, const PreparedWord& b,
                  WalksGivingUp givingUp = {});
  // The strict score of two phone lists, as compare_words gives it.
  int StrictPhonesScore(const PhoneIds& a, const PhoneIds& b);
  // Whether a word pair's |score| counts towards its values' score. In
  // tolerant scoring a pair below kMinUnrelatedWords counts only if
  // the strict score relates the words (in either reading): the tolerant
  // score gives unrelated words 30 to 56 (Michels/Gonsales 41), and a full
  // name would then match another on one word alone. Counted pairs also
  // share a blocking key, which keeps pair finding's recall.
  bool CountsInValue(const PreparedWord& a, const PreparedWord& b, int score);

  PhoneticMatcher matcher;
  bool wholeCellMode;
  ScoringMode mode;
  std::vector<int32_t> simValues;
  std::vector<int32_t> currentMismatchedPositions;
  struct WordPairScore {
    int score;
    uint32_t i;
    uint32_t j;
  };
  std::vector<WordPairScore> wordPairs;
  // Word scores seen lately, by word ids: full names share their words
  // with many others, so most word pairs come back again and again.
  struct RememberedScore {
    uint32_t first = kNoWordId;
    uint32_t second = kNoWordId;
    int score = 0;
  };
  std::vector<RememberedScore> remembered;
  // Tolerant walks seen lately, by reading ids: in pair finding a reading
  // is met through every word that has it (Jody's phones are also Joddy's
  // respelling), and nearby words come with the same candidates.
  struct RememberedWalk {
    uint64_t readings = UINT64_MAX;  // first id above, second below
    double distance = 0.0;
  };
  std::vector<RememberedWalk> rememberedWalks;
  double TolerantWalk(const PreparedWord& a, const PreparedWord& b,
                      ReadingWalk which);
};

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_VALUE_SCORER_H_
