// The limits the file readers enforce. Users hand the program whatever their
// folders hold, and a small file can claim a great deal: a workbook whose
// parts inflate a thousandfold, cells that all repeat one long shared string,
// XML nested without end. Each limit is far above what a real spreadsheet
// needs and turns such a file into one clear error instead of exhausted
// memory; together they bound what one input can cost.
#ifndef MARROWFIELD_CLI_READER_LIMITS_H_
#define MARROWFIELD_CLI_READER_LIMITS_H_

#include <cstdint>
#include <string>

#include "marrowfield/sheet_search.h"

namespace marrowfield {

constexpr uint64_t kMebibyte = uint64_t{1} << 20;
constexpr uint64_t kGibibyte = uint64_t{1} << 30;

struct ReaderLimits {
  // An input file is read whole; it may be at most this large.
  uint64_t fileBytes = kGibibyte;
  // A worksheet or shared-strings part, counted as it is inflated (the size
  // a zip header declares is checked first but never trusted).
  uint64_t partBytes = kGibibyte;
  // The relationships and the workbook part: a few kilobytes in real files,
  // and read into maps whose entries weigh more than their XML.
  uint64_t structurePartBytes = 64 * kMebibyte;
  // All parts inflated while reading one workbook, together.
  uint64_t inflatedBytes = 2 * kGibibyte;
  // Cells of one delimited file or one worksheet, and the bytes of their
  // text together (shared strings are copied into every cell that uses them).
  uint64_t cells = 20'000'000;
  uint64_t cellTextBytes = kGibibyte;
  // Items of the shared-strings part.
  uint64_t sharedStrings = 20'000'000;
  // Elements open at once in an XML part (the limit libxml2 sets by default;
  // worksheets need fewer than ten).
  int xmlDepth = 256;
  // XML that may wait for the parser to complete one piece of markup (a tag
  // with its attributes, a comment): expat keeps such a piece in memory.
  uint64_t xmlPendingBytes = 16 * kMebibyte;
};

// Returns |bytes| as people write it: "1 GiB", "64 MiB", "3000 bytes".
std::string DescribeBytes(uint64_t bytes);

// Counts the cells a reader keeps and refuses the one that would go past the
// limits: "more than 20000000 cells (the limit for one file or sheet)".
class CellBudget {
 public:
  explicit CellBudget(const ReaderLimits& limits) : limits_(limits) {}

  // Accounts for |cell|. Throws InputError (without file, sheet or line)
  // when it would pass the cell or text limit.
  void Add(const GridCell& cell);

  // The most cells Add accepts.
  uint64_t MaxCells() const { return limits_.cells; }

 private:
  const ReaderLimits& limits_;
  uint64_t cells_ = 0;
  uint64_t textBytes_ = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_READER_LIMITS_H_
