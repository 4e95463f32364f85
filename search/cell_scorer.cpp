// The engine-backed scorer: one compare_words call per cell.
#include "marrowfield/cell_scorer.h"

#include <utility>

#include "marrowfield.h"

namespace marrowfield {

CompareWordsScorer::CompareWordsScorer(std::string searchText)
    : searchText_(std::move(searchText)) {}

int32_t CompareWordsScorer::Score(const std::string& cellText) {
  return compare_words(searchText_.c_str(), cellText.c_str());
}

}  // namespace marrowfield
