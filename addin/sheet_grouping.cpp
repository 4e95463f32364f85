// MARROWFIELD.GROUP: one dedupe of a range through the product library,
// its groups turned back into a cell-by-cell answer. The range's distinct
// texts are handed over exactly as the command line's dedupe hands over a
// column's (first appearance order, occurrence counts, folded copies), so
// that both choose the same suggested spellings: the library breaks ties
// between equally frequent members by how they connect, which depends on
// nothing but those values and counts.

#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "sheet_function_core.h"
#include "xloper.h"

namespace marrowfield {
namespace {

struct GroupsDeleter {
  void operator()(mf_groups_t* groups) const { mf_groups_destroy(groups); }
};
using OwnedGroups = std::unique_ptr<mf_groups_t, GroupsDeleter>;

// The distinct texts of a grid (pointing into it) and, per cell, the
// number of its text (kNoText for cells without one).
struct DistinctCells {
  static constexpr std::size_t kNoText = SIZE_MAX;
  std::vector<const std::string*> texts;
  std::vector<uint64_t> counts;
  std::vector<std::size_t> ofCell;
};

DistinctCells NumberCells(const SheetGrid& grid) {
  DistinctCells distinct;
  // Views of the grid's own cells, which outlive the numbering.
  std::unordered_map<std::string_view, std::size_t> numbers;
  distinct.ofCell.reserve(grid.cells.size());
  for (const std::string& cell : grid.cells) {
    if (cell.empty()) {
      distinct.ofCell.push_back(DistinctCells::kNoText);
      continue;
    }
    const auto found = numbers.emplace(cell, distinct.texts.size());
    if (found.second) {
      distinct.texts.push_back(&cell);
      distinct.counts.push_back(0);
    }
    ++distinct.counts[found.first->second];
    distinct.ofCell.push_back(found.first->second);
  }
  return distinct;
}

// For each distinct text, the number of the text that names its group:
// its canonical, or itself when it is in none.
std::vector<std::size_t> SuggestedSpellings(const DistinctCells& distinct,
                                            const SheetScoring& scoring,
                                            int accuracy, TextFolding folding) {
  std::vector<std::size_t> suggested(distinct.texts.size());
  for (std::size_t v = 0; v < suggested.size(); ++v) suggested[v] = v;
  if (distinct.texts.empty()) return suggested;

  std::vector<std::string> folded;
  folded.reserve(distinct.texts.size());
  for (const std::string* text : distinct.texts) {
    folded.push_back(FoldToAscii(*text, folding));
  }
  std::vector<const char*> values;
  values.reserve(folded.size());
  for (const std::string& text : folded) values.push_back(text.c_str());

  const SheetMfOptions options = MakeSheetMfOptions(scoring);
  mf_options_set_accuracy(options.get(), accuracy);
  mf_groups_t* found = nullptr;
  const int status =
      mf_dedupe(options.get(), values.data(), distinct.counts.data(),
                values.size(), &found, nullptr);
  const OwnedGroups groups(found);
  if (status == MF_OUT_OF_MEMORY) throw std::bad_alloc();
  // The entries show #VALUE! rather than a grouping that is not the one.
  if (status != MF_OK) throw std::runtime_error("mf_dedupe failed");

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

  const DistinctCells distinct = NumberCells(range);
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
