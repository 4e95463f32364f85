// The dialog's search over grids of cells: which cells are scored, which are
// kept, and in what order they are listed.
#include "marrowfield/sheet_search.h"

#include <algorithm>
#include <cstring>

namespace marrowfield {

bool ResultBefore(const SearchResult& a, const SearchResult& b) {
  if (a.score != b.score) return a.score > b.score;
  const std::size_t shorter = std::min(a.cellText.size(), b.cellText.size());
  // memcmp compares as unsigned char, so bytes of UTF-8 sequences sort after
  // every ASCII byte, as in the dialog.
  const int order = std::memcmp(a.cellText.data(), b.cellText.data(), shorter);
  if (order != 0) return order < 0;
  return a.cellText.size() < b.cellText.size();
}

SheetSearch::SheetSearch(CellScorer& scorer, int32_t threshold)
    : scorer_(scorer), threshold_(threshold) {}

void SheetSearch::CollectMatches(const CellGrid& grid, int32_t sheetIndex,
                                 const ProgressCallback& progress) {
  std::size_t visited = 0;
  for (const GridCell& cell : grid) {
    if (cell.isText) MatchCell(cell.text, sheetIndex, cell.row, cell.column);
    ++visited;
    if (progress) progress(visited);
  }
}

void SheetSearch::MatchCell(const std::string& text, int32_t sheetIndex,
                            int32_t row, int32_t column) {
  if (text.empty()) return;
  const int32_t score = scorer_.Score(text);
  if (score >= threshold_) {
    results_.push_back(SearchResult{sheetIndex, row, column, text, score});
    foundAny_ = true;
  }
  noData_ = false;
}

void SheetSearch::SortResults() {
  // Equal records differ only in where they came from; a stable sort keeps
  // them in reading order instead of leaving it to chance.
  std::stable_sort(results_.begin(), results_.end(), ResultBefore);
}

}  // namespace marrowfield
