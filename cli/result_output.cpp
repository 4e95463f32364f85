// Output formatting. Everything is built into one string and written at
// once by the caller, so an error can never leave half a listing behind.
#include "result_output.h"

#include <nlohmann/json.hpp>

#include "cell_reference.h"
#include "json_lines.h"
#include "sheet_names.h"

namespace marrowfield {

namespace {

std::string FormatText(const std::vector<SearchResult>& results,
                       const std::vector<LoadedSheet>& sheets) {
  std::string out;
  for (const SearchResult& result : results) {
    SearchResult shown = result;
    shown.cellText = OnOneLine(result.cellText);
    out +=
        FormatDialogEntry(shown) + "\t" +
        DescribeLocation(sheets.at(static_cast<std::size_t>(result.sheetIndex)),
                         result.row, result.column) +
        "\n";
  }
  return out;
}

std::string FormatJson(const std::vector<SearchResult>& results,
                       const std::vector<LoadedSheet>& sheets) {
  JsonLines lines;
  for (const SearchResult& result : results) {
    const LoadedSheet& sheet =
        sheets.at(static_cast<std::size_t>(result.sheetIndex));
    nlohmann::ordered_json object;
    object["file"] = sheet.path;
    object["sheet"] = sheet.sheet ? nlohmann::ordered_json(*sheet.sheet)
                                  : nlohmann::ordered_json(nullptr);
    object["cell"] = CellReference(result.row, result.column);
    object["row"] = result.row;
    object["column"] = result.column;
    object["text"] = result.cellText;
    object["score"] = result.score;
    lines.Add(object);
  }
  return lines.Finish();
}

std::string FormatCsv(const std::vector<SearchResult>& results,
                      const std::vector<LoadedSheet>& sheets) {
  std::string out = "file,sheet,cell,row,column,text,score\r\n";
  for (const SearchResult& result : results) {
    const LoadedSheet& sheet =
        sheets.at(static_cast<std::size_t>(result.sheetIndex));
    out += CsvField(sheet.path) + "," + CsvField(sheet.sheet.value_or("")) +
           "," + CellReference(result.row, result.column) + "," +
           std::to_string(result.row) + "," + std::to_string(result.column) +
           "," + CsvField(result.cellText) + "," +
           std::to_string(result.score) + "\r\n";
  }
  return out;
}

}  // namespace

OutputFormat ParseOutputFormat(const std::string& name) {
  if (name == "json") return OutputFormat::JSON;
  if (name == "csv") return OutputFormat::CSV;
  return OutputFormat::TEXT;
}

std::string OnOneLine(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7f') c = ' ';
  }
  return text;
}

std::string CsvField(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (const char c : field) {
    quoted.push_back(c);
    if (c == '"') quoted.push_back('"');
  }
  return quoted + "\"";
}

std::string DescribeSheet(const LoadedSheet& sheet) {
  if (!sheet.sheet) return sheet.path;
  return sheet.path + ":" + QuoteSheetName(*sheet.sheet);
}

std::string DescribeLocation(const LoadedSheet& sheet, int32_t row,
                             int32_t column) {
  std::string location = sheet.path + ":";
  if (sheet.sheet) location += QuoteSheetName(*sheet.sheet) + "!";
  return location + CellReference(row, column);
}

std::string FormatDialogEntry(const SearchResult& result) {
  return result.cellText + "  (" + std::to_string(result.score) + "%)";
}

std::string FormatResults(const std::vector<SearchResult>& results,
                          const std::vector<LoadedSheet>& sheets,
                          OutputFormat format) {
  switch (format) {
    case OutputFormat::JSON:
      return FormatJson(results, sheets);
    case OutputFormat::CSV:
      return FormatCsv(results, sheets);
    case OutputFormat::TEXT:
      break;
  }
  return FormatText(results, sheets);
}

}  // namespace marrowfield
