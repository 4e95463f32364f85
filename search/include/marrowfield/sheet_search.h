// The sheet search: given a search text, an accuracy level and grids of
// cells, keep the text cells that sound like the search text and order them
// best first. This is the search dialog's algorithm without any window or
// host: the add-in's dialog and the command-line program both run it, so the
// two always agree cell for cell.
#ifndef MARROWFIELD_SEARCH_SHEET_SEARCH_H_
#define MARROWFIELD_SEARCH_SHEET_SEARCH_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "marrowfield/cell_scorer.h"

namespace marrowfield {

// One cell of a grid. Row and column are 1-based within the grid. Only text
// cells are ever scored; for other cells (numbers, dates, booleans, errors)
// |text| may hold their raw value for display but is never looked at.
struct GridCell {
  int32_t row = 0;
  int32_t column = 0;
  bool isText = false;
  std::string text;
};

// The cells of one sheet (or one delimited file), in the order they are to be
// visited: rows outer, columns inner, as the dialog reads a used range.
using CellGrid = std::vector<GridCell>;

// One matching cell. |sheetIndex| is the caller's tag for the grid the cell
// came from (the add-in: the worksheet's Index; the command line: the input's
// position); the search only carries it along.
struct SearchResult {
  int32_t sheetIndex = 0;
  int32_t row = 0;
  int32_t column = 0;
  std::string cellText;
  int32_t score = 0;
};

// The result order: higher score first; equal scores by cell text compared
// byte by byte as unsigned values, the smaller byte first, and a text that is
// a prefix of the other first.
bool ResultBefore(const SearchResult& a, const SearchResult& b);

// Called after each visited cell with the number of cells of the current
// grid visited so far.
using ProgressCallback = std::function<void(std::size_t cellsVisited)>;

// One search over any number of grids. Collect from every grid, then sort
// once: results of all grids are ordered together.
class SheetSearch {
 public:
  // |scorer| must outlive the search. A cell is kept when its score is at
  // least |threshold| (the dialog's accuracy level, 0-100).
  SheetSearch(CellScorer& scorer, int32_t threshold);

  // Visits every cell of |grid| in order and runs MatchCell on each text
  // cell, tagging results with |sheetIndex|.
  void CollectMatches(const CellGrid& grid, int32_t sheetIndex,
                      const ProgressCallback& progress = {});

  // Scores one text cell: an empty text is no data and is skipped; any other
  // text clears noData(), and is kept (setting foundAny()) when its score
  // reaches the threshold.
  void MatchCell(const std::string& text, int32_t sheetIndex, int32_t row,
                 int32_t column);

  // Orders the results with ResultBefore. Records equal in score and text keep
  // the order in which they were collected (grid order, then cell order), so
  // the output is the same on every run.
  void SortResults();

  const std::vector<SearchResult>& results() const { return results_; }
  // At least one cell was kept.
  bool foundAny() const { return foundAny_; }
  // No non-empty text cell was met.
  bool noData() const { return noData_; }

 private:
  CellScorer& scorer_;
  int32_t threshold_;
  std::vector<SearchResult> results_;
  bool foundAny_ = false;
  bool noData_ = true;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_SEARCH_SHEET_SEARCH_H_
