// The prepared search: remembers the score of every distinct cell text.
#include <utility>

#include "marrowfield/cell_scorer.h"

namespace marrowfield {

int32_t RememberingScorer::Score(const std::string& cellText) {
  auto found = scores_.find(cellText);
  if (found != scores_.end()) return found->second;
  const int32_t score = inner_.Score(cellText);
  scores_.emplace(cellText, score);
  return score;
}

}  // namespace marrowfield
