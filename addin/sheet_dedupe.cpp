// Numbering a list's distinct texts and deduping them, as the command
// line's dedupe does for a column.

#include "sheet_dedupe.h"

#include <new>
#include <string_view>
#include <unordered_map>

namespace marrowfield {

DistinctCells NumberCells(const std::vector<std::string>& cells) {
  DistinctCells distinct;
  // Views of the caller's own cells, which outlive the numbering.
  std::unordered_map<std::string_view, std::size_t> numbers;
  distinct.ofCell.reserve(cells.size());
  for (const std::string& cell : cells) {
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

OwnedGroups DedupeDistinct(const DistinctCells& distinct,
                           const SheetScoring& scoring, TextFolding folding,
                           const DedupeRun& run) {
  std::vector<std::string> folded;
  folded.reserve(distinct.texts.size());
  for (const std::string* text : distinct.texts) {
    folded.push_back(FoldToAscii(*text, folding));
  }
  std::vector<const char*> values;
  values.reserve(folded.size());
  for (const std::string& text : folded) values.push_back(text.c_str());

  const SheetMfOptions options = MakeSheetMfOptions(scoring);
  mf_options_set_accuracy(options.get(), run.accuracy);
  mf_options_set_threads(options.get(), run.threads);
  mf_options_set_cancel(options.get(), run.cancel, run.cancelState);
  mf_options_set_progress(options.get(), run.progress, run.progressState);
  mf_groups_t* found = nullptr;
  const int status =
      mf_dedupe(options.get(), values.data(), distinct.counts.data(),
                values.size(), &found, nullptr);
  OwnedGroups groups(found);
  if (status == MF_CANCELLED) throw DedupeCancelled();
  if (status == MF_OUT_OF_MEMORY) throw std::bad_alloc();
  // Callers show an error rather than a grouping that is not the one.
  if (status != MF_OK) throw std::runtime_error("mf_dedupe failed");
  return groups;
}

}  // namespace marrowfield
