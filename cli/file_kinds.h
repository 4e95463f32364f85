// The two kinds of input file, each read from its bytes into sheets and
// notices. The file name is added by the caller (LoadFile): sheets come back
// without a path and notices without the "FILE: " they are to follow.
#ifndef MARROWFIELD_CLI_FILE_KINDS_H_
#define MARROWFIELD_CLI_FILE_KINDS_H_

#include <string>

#include "spreadsheet_file.h"

namespace marrowfield {

// Reads a workbook package: the worksheet |options| names, the first one,
// or with allSheets all of them. Throws InputError for a file that is not a
// workbook (saying what it looks like), a damaged one, or an unknown sheet.
LoadedFile ReadWorkbook(std::string bytes, const ReadOptions& options);

// Reads delimited text whose extension calls for |extensionDelimiter|.
// Throws InputError for a workbook given a text extension, UTF-16 text
// without a byte-order mark, and malformed text (with its line).
LoadedFile ReadDelimitedFile(std::string bytes, char extensionDelimiter,
                             const ReadOptions& options);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_FILE_KINDS_H_
