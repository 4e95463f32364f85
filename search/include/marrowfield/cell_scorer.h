// The one place where the sheet search asks the engine how well a cell
// sounds like the search text. Keeping it behind this small interface lets a
// faster scorer (one that transcribes the search text once) replace the
// plain compare_words call without touching the search itself, and lets
// tests score with a table instead of the engine.
#ifndef MARROWFIELD_SEARCH_CELL_SCORER_H_
#define MARROWFIELD_SEARCH_CELL_SCORER_H_

#include <cstdint>
#include <string>

namespace marrowfield {

// Scores cell texts against one search text fixed when the scorer is made.
class CellScorer {
 public:
  virtual ~CellScorer() = default;

  // Returns the similarity of the search text and |cellText| in percent,
  // 0-100.
  virtual int32_t Score(const std::string& cellText) = 0;
};

// Scores with the engine's compare_words(searchText, cellText), in that
// order, exactly as the add-in's search dialog does.
// REQUIRES: the engine is initialised (initialize() was called) while
// Score() is used; otherwise every score is 0.
class CompareWordsScorer final : public CellScorer {
 public:
  explicit CompareWordsScorer(std::string searchText);

  int32_t Score(const std::string& cellText) override;

 private:
  std::string searchText_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_SEARCH_CELL_SCORER_H_
