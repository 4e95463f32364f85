// Why two words score what they score: the engine's own comparison of two
// words, recorded step by step. The explanation shows both phone lists,
// every step of the alignment (phones paired, passed over as silent, left
// over, or passed over at a cost in the tolerant mode) with the values it
// recorded, and the terms that add up to the distance and the percentage.
// Its numbers come from the same alignment and scoring code that
// compare_words runs, so its percentage is compare_words' in kStrict.

#ifndef MARROWFIELD_ENGINE_EXPLANATION_H_
#define MARROWFIELD_ENGINE_EXPLANATION_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "score_terms.h"
#include "scoring_mode.h"

namespace marrowfield {

enum class ExplanationStepKind {
  // A phone of each word set against each other at their phone distance.
  kPaired,
  // A phone of one word passed over as silent (it can be blank and may be
  // skipped where it stands).
  kSkipped,
  // A phone left over at the end of the walk, silent-capable; it records
  // its own position as its value.
  kLeftOver,
  // Tolerant mode only, where the strict alignment gives up: a phone that
  // cannot be silent passed over at a cost (one position set).
  kTolerantPass,
  // Tolerant mode only, where the strict alignment gives up: two unlike
  // phones set against each other at the distance of unrelated phones
  // (both positions set, distance 50).
  kForcedPair,
  // The alignment gives up here: the words cannot be compared (score 0).
  kRefused,
};

// Why a comparison gives no similarity at all, if it does not.
enum class ExplanationFailure {
  kNone,
  kNoPhones,       // a word has no phones (no letters, or none Flite sounds)
  kRefused,        // the alignment gave up (see the kRefused step)
  kNoDenominator,  // too many mismatches for the shorter word's length
};

struct ExplanationStep {
  ExplanationStepKind kind = ExplanationStepKind::kPaired;
  // Positions in phones1 / phones2 of the explanation; -1 where the step
  // involves no phone of that word.
  int position1 = -1;
  int position2 = -1;
  // The phone distance of a kPaired step; -1 for other steps.
  int32_t distance = -1;
  // The values this step appended to the alignment's values, in order.
  std::vector<int32_t> values;
  // How many mismatch positions this step recorded.
  int32_t mismatches = 0;
  // True when a later step took this step's last value back (the greedy
  // walk revises its previous pairing when the next phone fits that phone
  // better); that value then no longer counts, but the step's mismatches
  // still do, as in the engine's own arithmetic.
  bool withdrawn = false;
};

struct ComparisonExplanation {
  ScoringMode mode = ScoringMode::kStrict;
  // The words as compared: case folded, non-letters as spaces.
  std::string word1;
  std::string word2;
  // Tolerant mode: the respelling of a word whose respelled reading was
  // compared (tolerant_reading.h), because it scored better than the words
  // as written; empty for a word read as written.
  std::string reading1;
  std::string reading2;
  // The phones of the readings compared, which the steps' positions index.
  std::vector<std::string> phones1;
  std::vector<std::string> phones2;
  // True when word2's list is the one walked phone by phone (it is
  // shorter); word1's otherwise, ties included.
  bool secondWalked = false;
  // Tolerant mode: the words share no skeleton key, so they were walked
  // and scored strictly (the tolerant score relates only words that do).
  bool keysApart = false;
  std::vector<ExplanationStep> steps;
  ExplanationFailure failure = ExplanationFailure::kNone;
  // The alignment's recorded values and mismatch positions (positions in
  // the walked list, or in the list a left-over phone belongs to).
  std::vector<int32_t> simValues;
  std::vector<int32_t> mismatchedPositions;
  ScoreTerms terms;
  // The word distance (-1.0 when the words cannot be compared) and the
  // similarity percentage 0-100.
  double distance = -1.0;
  int percentage = 0;
};

// Compares |word1| with |word2| in |mode| as the engine does (lexicon
// transcription through the cache) and records how. Its percentage equals
// ComparePercentage(word1, word2, mode), and compare_words for kStrict.
// When the engine is not initialized the explanation holds no phones,
// failure kNoPhones and percentage 0. Safe on any number of threads, but
// not while initialize() or un_initialize() runs.
ComparisonExplanation ExplainComparison(const std::string& word1,
                                        const std::string& word2,
                                        ScoringMode mode);

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_EXPLANATION_H_
