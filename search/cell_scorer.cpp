// The engine-backed scorer: one compare_words call per cell, on the texts
// folded to ASCII.
#include "marrowfield/cell_scorer.h"

#include <utility>

#include "marrowfield.h"

namespace marrowfield {

CompareWordsScorer::CompareWordsScorer(std::string searchText,
                                       TextFolding folding)
    : folding_(folding), searchText_(FoldToAscii(searchText, folding)) {}

int32_t CompareWordsScorer::Score(const std::string& cellText) {
  if (folding_ == TextFolding::kNone) {
    return compare_words(searchText_.c_str(), cellText.c_str());
  }
  return compare_words(searchText_.c_str(),
                       FoldToAscii(cellText, folding_).c_str());
}

}  // namespace marrowfield
