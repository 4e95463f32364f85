// The tolerant scoring of compare, search and similar. Their strict score
// stays the engine's own (MarrowfieldExcel); the tolerant one comes from
// the pair finding library, comparing each text as one word just as
// compare_words does.
#ifndef MARROWFIELD_CLI_SCORING_CHOICE_H_
#define MARROWFIELD_CLI_SCORING_CHOICE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "lists_library.h"
#include "marrowfield/cell_scorer.h"

namespace marrowfield {

// Returns the tolerant score (0-100) of |word1| against |word2|.
int CompareTolerant(const std::string& word1, const std::string& word2);

// The search's scorer for --scoring tolerant: the tolerant score of the
// search text against each cell text, both folded to ASCII first as
// |folding| says (as CompareWordsScorer does for the strict score).
class TolerantScorer final : public CellScorer {
 public:
  TolerantScorer(std::string searchText, TextFolding folding);

  int32_t Score(const std::string& cellText) override;

 private:
  TextFolding folding_;
  std::string searchText_;  // folded
  MfOptions options_;
};

// "similar" with the tolerant score: the candidates scoring at least
// |threshold| against |word|, best first, equal scores in descending byte
// order (as the engine orders its list search), repeats kept.
std::vector<std::string> SimilarTolerant(
    const std::string& word, const std::vector<std::string>& candidates,
    unsigned int threshold);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_SCORING_CHOICE_H_
