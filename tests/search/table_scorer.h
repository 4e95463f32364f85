// A scorer for tests: scores come from a table, and every call is recorded.
#ifndef MARROWFIELD_TESTS_SEARCH_TABLE_SCORER_H_
#define MARROWFIELD_TESTS_SEARCH_TABLE_SCORER_H_

#include <map>
#include <string>
#include <vector>

#include "marrowfield/cell_scorer.h"

namespace marrowfield {

class TableScorer : public CellScorer {
 public:
  explicit TableScorer(std::map<std::string, int32_t> scores)
      : scores_(std::move(scores)) {}

  // Texts missing from the table score 0.
  int32_t Score(const std::string& cellText) override {
    scored.push_back(cellText);
    const auto found = scores_.find(cellText);
    return found == scores_.end() ? 0 : found->second;
  }

  std::vector<std::string> scored;

 private:
  std::map<std::string, int32_t> scores_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_SEARCH_TABLE_SCORER_H_
