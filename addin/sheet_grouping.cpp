// MARROWFIELD.GROUP: one dedupe of a range through the product library
// (the shared sheet dedupe, so that it and the command line choose the same
// suggested spellings), its groups turned back into a cell-by-cell answer.

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "sheet_dedupe.h"
#include "sheet_function_core.h"
#include "xloper.h"

namespace marrowfield {
namespace {

// For each distinct text, the number of the text that names its group:
// its canonical, or itself when it is in none.
std::vector<std::size_t> SuggestedSpellings(const DistinctCells& distinct,
                                            const SheetScoring& scoring,
                                            int accuracy, TextFolding folding) {
  std::vector<std::size_t> suggested(distinct.texts.size());
  for (std::size_t v = 0; v < suggested.size(); ++v) suggested[v] = v;
  if (distinct.texts.empty()) return suggested;

  DedupeRun run;
  run.accuracy = accuracy;
  // Excel's calculation threads are the parallelism.
  run.threads = 1;
  const OwnedGroups groups = DedupeDistinct(distinct, scoring, folding, run);

  const std::size_t count = mf_groups_count(groups.get());
  for (std::size_t g = 0; g < count; ++g) {
    const std::size_t canonical = mf_groups_canonical(groups.get(), g);
    const std::size_t members = mf_groups_member_count(groups.get(), g);
    for (std::size_t m = 0; m < members; ++m) {
      const std::size_t value = mf_groups_member_value(groups.get(), g, m);
      if (value < suggested.size() && canonical < suggested.size()) {
        suggested[value] = canonical;
      }
    }
  }
  return suggested;
}

}  // namespace

SheetAnswer SheetGroup(const SheetGrid& range, const SheetArgument& accuracy,
                       const SheetArgument& scoring, TextFolding folding) {
  SheetAnswer failure;
  if (range.error >= 0) return SheetAnswer::Error(range.error);
  double level = 0;
  if (!ReadSheetAccuracy(accuracy, &level, &failure)) return failure;
  SheetScoring chosen;
  // Word by word, as "marrowfield dedupe" groups unless told --whole-cell.
  SheetScoring defaults;
  defaults.wholeCell = false;
  if (!ReadSheetScoring(scoring, defaults, &chosen, &failure)) return failure;
  if (range.columns == 0 || range.cells.size() != range.rows * range.columns) {
    return SheetAnswer::Error(xlerrValue);
  }

  const DistinctCells distinct = NumberCells(range.cells);
  // Scores are whole percents: one reaches 60.5 exactly when it reaches 61.
  const std::vector<std::size_t> suggested = SuggestedSpellings(
      distinct, chosen, static_cast<int>(std::ceil(level)), folding);

  std::vector<std::string> cells(range.cells.size());
  for (std::size_t c = 0; c < cells.size(); ++c) {
    const std::size_t text = distinct.ofCell[c];
    if (text != DistinctCells::kNoText) {
      cells[c] = *distinct.texts[suggested[text]];
    }
  }
  return SheetAnswer::Grid(std::move(cells), range.columns);
}

}  // namespace marrowfield
