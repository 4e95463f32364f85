// Loads the cells of one input file, whatever its format: .csv and .tsv
// (RFC 4180 with comma or tab) and .xlsx workbooks, chosen by the file's
// extension.
#ifndef MARROWFIELD_CLI_SPREADSHEET_FILE_H_
#define MARROWFIELD_CLI_SPREADSHEET_FILE_H_

#include <optional>
#include <string>

#include "marrowfield/sheet_search.h"
#include "reader_limits.h"

namespace marrowfield {

struct LoadedSheet {
  std::string path;                  // as given by the user
  std::optional<std::string> sheet;  // the worksheet's name; none for CSV/TSV
  CellGrid cells;
};

// Reads |path|. For a workbook, reads the sheet named |sheetName| or, without
// one, the first worksheet; delimited files have no sheets and ignore it.
// Throws InputError with one line naming the file and, where it helps, the
// line or the sheet: unreadable file, unknown extension, malformed content,
// unknown sheet, a file past one of |limits|.
LoadedSheet LoadSheet(const std::string& path,
                      const std::optional<std::string>& sheetName,
                      const ReaderLimits& limits = ReaderLimits());

// Returns the cells of the chosen sheet of the workbook held in |bytes|.
// Throws InputError without the file name. |chosenSheet| receives the name
// of the sheet read.
CellGrid ReadXlsxSheet(std::string bytes,
                       const std::optional<std::string>& sheetName,
                       std::string& chosenSheet,
                       const ReaderLimits& limits = ReaderLimits());

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_SPREADSHEET_FILE_H_
