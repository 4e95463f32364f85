// The one place where the sheet search asks the engine how well a cell
// sounds like the search text. Keeping it behind this small interface lets a
// faster scorer (one that transcribes the search text once) replace the
// plain compare_words call without touching the search itself, and lets
// tests score with a table instead of the engine.
#ifndef MARROWFIELD_SEARCH_CELL_SCORER_H_
#define MARROWFIELD_SEARCH_CELL_SCORER_H_

#include <cstdint>
#include <string>
#include <unordered_map>

#include "marrowfield/text_folding.h"

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
// order, exactly as the add-in's search dialog does, both texts folded to
// ASCII first as |folding| says.
// REQUIRES: the engine is initialised (initialize() was called) while
// Score() is used; otherwise every score is 0.
class CompareWordsScorer final : public CellScorer {
 public:
  explicit CompareWordsScorer(std::string searchText,
                              TextFolding folding = TextFolding::kUtf8);

  int32_t Score(const std::string& cellText) override;

 private:
  TextFolding folding_;
  std::string searchText_;  // folded
};

// The prepared search: scores each distinct cell text once and answers
// repeats from memory. Sheets repeat values (surnames, cities, "n/a"), and a
// score depends on nothing but the two texts, so the results are exactly
// those of |inner|. The search text itself reaches Flite once per search:
// the engine keeps its transcription for every later comparison.
class RememberingScorer final : public CellScorer {
 public:
  // |inner| must outlive this scorer.
  explicit RememberingScorer(CellScorer& inner) : inner_(inner) {}

  int32_t Score(const std::string& cellText) override;

  // How many texts were passed on to |inner|.
  size_t distinctTexts() const { return scores_.size(); }

 private:
  CellScorer& inner_;
  std::unordered_map<std::string, int32_t> scores_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_SEARCH_CELL_SCORER_H_
