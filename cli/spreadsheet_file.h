// Loads the cells of one input file, whatever its format: delimited text
// (.csv, .tsv, .txt; the delimiter sniffed, the encoding found) and Office
// Open XML workbooks (.xlsx, .xlsm, .xltx, .xltm), chosen by the file's
// extension. Every command that reads files reads them through LoadFile
// with the same ReadOptions, so they all read a file alike.
#ifndef MARROWFIELD_CLI_SPREADSHEET_FILE_H_
#define MARROWFIELD_CLI_SPREADSHEET_FILE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "marrowfield/sheet_search.h"
#include "reader_limits.h"

namespace marrowfield {

// How files are read (the options --sheet, --all-sheets, --delimiter,
// --strict and --input-format).
struct ReadOptions {
  // The worksheet of a workbook to read; none: the first worksheet.
  std::optional<std::string> sheet;
  // Read every worksheet of a workbook instead of one.
  bool allSheets = false;
  // The delimiter of delimited text; none: sniffed from the first records.
  std::optional<char> delimiter;
  // Refuse malformed quoting instead of repairing it.
  bool strict = false;
  // The format of standard input (path "-"): "csv", "tsv" or "xlsx".
  std::string standardInputFormat = "csv";
  ReaderLimits limits;
  // Threads for reading large delimited text (0: every core); the cells
  // are the same for every count.
  unsigned threads = 1;
};

struct LoadedSheet {
  std::string path;                  // as given by the user
  std::optional<std::string> sheet;  // the worksheet's name; none for text
  CellGrid cells;
  // How many worksheets the workbook has (0 for delimited text).
  int32_t worksheetCount = 0;
};

struct LoadedFile {
  // One sheet, or with allSheets every worksheet in workbook order.
  std::vector<LoadedSheet> sheets;
  // Notes and warnings about the reading, each one line fit to follow
  // "marrowfield: " and naming the file: the delimiter found when it is not
  // the extension's, Windows-1252 text, quoting repaired, formulas without
  // a saved value.
  std::vector<std::string> notices;
};

// Reads |path| ("-": standard input, in options.standardInputFormat).
// Throws InputError with one line naming the file and, where it helps, the
// line or the sheet: unreadable file, unknown or unread file type (.xls,
// .ods), malformed content, unknown sheet, a file past one of the limits.
LoadedFile LoadFile(const std::string& path, const ReadOptions& options);

// Reads |path| strictly, as LoadFile with strict set and |sheetName|
// chosen, and returns its one sheet; notices are dropped.
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
