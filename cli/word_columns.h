// The columns "dedupe" reads when none is named: those whose cells are
// mostly words. Pooling every column would make one group of a file's
// customer numbers (C-10001, C-10002 ... sound alike to the engine, which
// hears only their letters) and drown the names it is meant to find.
#ifndef MARROWFIELD_CLI_WORD_COLUMNS_H_
#define MARROWFIELD_CLI_WORD_COLUMNS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "spreadsheet_file.h"

namespace marrowfield {

// The share of a column's non-empty cells that must be words.
constexpr double kWordColumnShare = 0.8;

// Whether |cell| is a word cell: text with a letter, no digit and no @,
// at least half of its non-blank characters letters (a byte above 0x7F
// counts as a letter, so San José is words).
bool IsWordCell(const GridCell& cell);

// The columns of |cells|, ascending, of which at least kWordColumnShare of
// the non-empty cells are word cells.
std::vector<int32_t> WordColumns(const CellGrid& cells);

// The columns named as a user names them: the first row's text for
// delimited text (letters where it has none), letters for a workbook;
// joined by ", ".
std::string DescribeColumns(const LoadedSheet& sheet,
                            const std::vector<int32_t>& columns);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_WORD_COLUMNS_H_
