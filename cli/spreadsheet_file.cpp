// Dispatch on the file type, and the .xlsx walk from package to sheet cells.
// Every failure becomes one InputError line that starts with the file name.
#include "spreadsheet_file.h"

#include <algorithm>
#include <cctype>

#include "delimited_reader.h"
#include "file_bytes.h"
#include "input_error.h"
#include "xlsx_package.h"
#include "xlsx_sheet.h"
#include "xml_reader.h"

namespace marrowfield {

namespace {

std::string LowerExtension(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return "";
  }
  std::string extension = path.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return extension;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Excel treats sheet names as case-insensitive; an exact match still wins.
const XlsxSheetEntry& ChooseSheet(const XlsxWorkbookParts& parts,
                                  const std::optional<std::string>& name) {
  if (!name) {
    for (const XlsxSheetEntry& sheet : parts.sheets) {
      if (sheet.isWorksheet) return sheet;
    }
    throw InputError("the workbook has no worksheet");
  }
  for (const XlsxSheetEntry& sheet : parts.sheets) {
    if (sheet.name == *name) return sheet;
  }
  for (const XlsxSheetEntry& sheet : parts.sheets) {
    if (SameNameIgnoringCase(sheet.name, *name)) return sheet;
  }
  std::string known;
  for (const XlsxSheetEntry& sheet : parts.sheets) {
    known += (known.empty() ? "'" : ", '") + sheet.name + "'";
  }
  throw InputError("no sheet named '" + *name + "' (sheets: " + known + ")");
}

std::vector<std::string> ReadSharedStrings(ZipArchive& archive,
                                           const XlsxWorkbookParts& parts,
                                           const ReaderLimits& limits) {
  if (!parts.sharedStringsPart) return {};
  const auto index = archive.Find(*parts.sharedStringsPart);
  if (!index) return {};
  SharedStringsHandler handler(limits);
  try {
    ParsePartXml(archive, *index, limits.partBytes, handler, limits);
  } catch (const XmlError& error) {
    throw InputError("shared strings, line " + std::to_string(error.line) +
                     ": " + error.what());
  } catch (const InputError& error) {
    throw InputError(std::string("shared strings: ") + error.what());
  } catch (const ZipError& error) {
    throw InputError(std::string("shared strings: ") + error.what());
  }
  return std::move(handler.strings);
}

CellGrid ReadWorksheet(ZipArchive& archive, const XlsxSheetEntry& sheet,
                       const std::vector<std::string>& sharedStrings,
                       const ReaderLimits& limits) {
  const std::string where = "sheet '" + sheet.name + "'";
  const auto index = archive.Find(sheet.partName);
  if (!index) throw InputError(where + ": part " + sheet.partName + " missing");
  WorksheetHandler handler(sharedStrings, limits);
  try {
    // Sheets are the large parts: they are parsed as they are inflated, and
    // only their cells are kept.
    ParsePartXml(archive, *index, limits.partBytes, handler, limits);
  } catch (const XmlError& error) {
    throw InputError(where + ", line " + std::to_string(error.line) + ": " +
                     error.what());
  } catch (const InputError& error) {
    throw InputError(where + ": " + error.what());
  } catch (const ZipError& error) {
    throw InputError(where + ": " + error.what());
  }
  return handler.TakeCells();
}

}  // namespace

CellGrid ReadXlsxSheet(std::string bytes,
                       const std::optional<std::string>& sheetName,
                       std::string& chosenSheet, const ReaderLimits& limits) {
  try {
    ZipArchive archive(std::move(bytes), limits.inflatedBytes);
    const XlsxWorkbookParts parts = ReadWorkbookParts(archive, limits);
    const XlsxSheetEntry& sheet = ChooseSheet(parts, sheetName);
    chosenSheet = sheet.name;
    return ReadWorksheet(archive, sheet,
                         ReadSharedStrings(archive, parts, limits), limits);
  } catch (const ZipError& error) {
    throw InputError(std::string("not a valid .xlsx workbook: ") +
                     error.what());
  }
}

LoadedSheet LoadSheet(const std::string& path,
                      const std::optional<std::string>& sheetName,
                      const ReaderLimits& limits) {
  const std::string extension = LowerExtension(path);
  if (extension != ".csv" && extension != ".tsv" && extension != ".xlsx") {
    throw InputError(path +
                     ": unsupported file type (expected .csv, .tsv or .xlsx)");
  }
  std::string bytes = ReadFileBytes(path, limits.fileBytes);
  LoadedSheet loaded{path, std::nullopt, {}};
  try {
    if (extension == ".xlsx") {
      std::string chosen;
      loaded.cells = ReadXlsxSheet(std::move(bytes), sheetName, chosen, limits);
      loaded.sheet = chosen;
    } else {
      loaded.cells =
          ParseDelimited(bytes, extension == ".tsv" ? '\t' : ',', limits);
    }
  } catch (const InputError& error) {
    throw InputError(path + ": " + error.what());
  }
  return loaded;
}

}  // namespace marrowfield
