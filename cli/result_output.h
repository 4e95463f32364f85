// The three output formats of "marrowfield search": text in the search
// dialog's list format followed by the cell's place, JSON and CSV.
#ifndef MARROWFIELD_CLI_RESULT_OUTPUT_H_
#define MARROWFIELD_CLI_RESULT_OUTPUT_H_

#include <string>
#include <vector>

#include "marrowfield/sheet_search.h"
#include "spreadsheet_file.h"

namespace marrowfield {

enum class OutputFormat { TEXT, JSON, CSV };

// The format named "json" or "csv"; TEXT for any other name.
OutputFormat ParseOutputFormat(const std::string& name);

// The dialog's list entries.
constexpr const char* kNoMatchesFound = "No Matches Found";
constexpr const char* kNoDataToSearch = "No Data to Search";

// Returns where a result lies: "FILE:B12" for delimited files,
// "FILE:Sheet!B12" for workbooks, the sheet name quoted as Excel's Go To box
// needs it ('My Sheet'!B12, '2023'!B12, 'A1'!B12; see QuoteSheetName).
std::string DescribeLocation(const LoadedSheet& sheet, int32_t row,
                             int32_t column);
// The sheet alone, as DescribeLocation names it: "FILE" or "FILE:Sheet".
std::string DescribeSheet(const LoadedSheet& sheet);

// Returns |text| with line breaks and other control characters as spaces,
// so that it stays on one line of text output.
std::string OnOneLine(std::string text);

// Returns |field| as one CSV field: quoted (quotes doubled) when it holds a
// comma, a quote or a line break, as it is otherwise.
std::string CsvField(const std::string& field);

// Returns the dialog's list entry "%s  (%d%%)" for a result.
std::string FormatDialogEntry(const SearchResult& result);

// Formats |results| (each result's sheetIndex indexes |sheets|). Text: one
// line per result, the dialog entry, a tab, the location; line breaks and
// other control characters of the cell text are shown as spaces so that each
// result stays on one line. JSON: an array with one object per result (file,
// sheet, cell, row, column, text, score), one object per line. CSV: a header
// line and one record per result, RFC 4180 quoting, CRLF line ends. JSON and
// CSV carry the exact cell text; bytes that are not UTF-8 become U+FFFD in
// JSON only.
std::string FormatResults(const std::vector<SearchResult>& results,
                          const std::vector<LoadedSheet>& sheets,
                          OutputFormat format);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_RESULT_OUTPUT_H_
