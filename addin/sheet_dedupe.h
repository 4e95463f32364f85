// One dedupe of a list of cell texts through the product library, shared
// by MARROWFIELD.GROUP and the Find duplicates command. The distinct texts
// are handed over exactly as the command line's dedupe hands over a
// column's (first appearance order, occurrence counts, folded copies), so
// that all three choose the same groups and suggested spellings: the
// library breaks ties between equally frequent members by how they
// connect, which depends on nothing but those values and counts.

#ifndef MARROWFIELD_ADDIN_SHEET_DEDUPE_H_
#define MARROWFIELD_ADDIN_SHEET_DEDUPE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "marrowfield/text_folding.h"
#include "marrowfield_api.h"
#include "sheet_scoring.h"

namespace marrowfield {

struct GroupsDeleter {
  void operator()(mf_groups_t* groups) const { mf_groups_destroy(groups); }
};
using OwnedGroups = std::unique_ptr<mf_groups_t, GroupsDeleter>;

// The distinct texts of a list of cells (pointing into it) and, per cell,
// the number of its text (kNoText for cells without one).
struct DistinctCells {
  static constexpr std::size_t kNoText = SIZE_MAX;
  std::vector<const std::string*> texts;
  std::vector<uint64_t> counts;
  std::vector<std::size_t> ofCell;
};

// Numbers the texts of |cells| in order of first appearance; "" is no
// text. The result points into |cells|, which must outlive it.
DistinctCells NumberCells(const std::vector<std::string>& cells);

// What a dedupe runs with besides the scoring.
struct DedupeRun {
  int accuracy = 60;              // 0-100
  int threads = 1;                // 0: the hardware's concurrency
  mf_cancel_fn cancel = nullptr;  // see mf_options_set_cancel
  void* cancelState = nullptr;
  mf_progress_fn progress = nullptr;  // see mf_options_set_progress
  void* progressState = nullptr;
};

// Thrown when the run's cancel function stopped the dedupe.
class DedupeCancelled : public std::runtime_error {
 public:
  DedupeCancelled() : std::runtime_error("the dedupe was cancelled") {}
};

// mf_dedupe of |distinct|'s texts, folded to ASCII as |folding| says, with
// their counts. Throws DedupeCancelled when cancelled, std::bad_alloc when
// memory runs out and std::runtime_error for any other failure.
// REQUIRES: |distinct| holds at least one text.
OwnedGroups DedupeDistinct(const DistinctCells& distinct,
                           const SheetScoring& scoring, TextFolding folding,
                           const DedupeRun& run);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_SHEET_DEDUPE_H_
