// The .xlsx walk from package to sheet cells: refuse what is no workbook
// with a word on what it is, choose the sheets, read them.
#include <utility>

#include "file_kinds.h"
#include "input_error.h"
#include "sheet_names.h"
#include "text_decoding.h"
#include "xlsx_package.h"
#include "xlsx_sheet.h"
#include "xlsx_text.h"
#include "xml_reader.h"

namespace marrowfield {

namespace {

// Says what a file given as a workbook is when it is not a zip package.
[[noreturn]] void RefuseNonPackage(std::string_view bytes) {
  if (bytes.empty()) {
    throw InputError("not an Excel workbook: the file is empty");
  }
  if (LooksLikeOleFile(bytes)) {
    throw InputError(
        "not an Excel workbook but an Excel 97-2003 (.xls) one; open it in "
        "Excel or LibreOffice and save it as .xlsx");
  }
  throw InputError(
      "not an Excel workbook (an .xlsx file is a zip package, and this is "
      "not one; a CSV file needs the .csv extension)");
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
    if (SameSheetNameIgnoringCase(sheet.name, *name)) return sheet;
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

// Reads one worksheet into |file|, with a notice when formulas were skipped.
void ReadWorksheet(ZipArchive& archive, const XlsxSheetEntry& sheet,
                   const std::vector<std::string>& sharedStrings,
                   const ReaderLimits& limits, int32_t worksheetCount,
                   LoadedFile& file) {
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
  if (const uint64_t skipped = handler.formulasWithoutValue(); skipped > 0) {
    file.notices.push_back(
        where + ": note: " + std::to_string(skipped) +
        (skipped == 1 ? " formula cell has" : " formula cells have") +
        " no saved value and " + (skipped == 1 ? "was" : "were") +
        " skipped (open and save the file in Excel or LibreOffice to "
        "calculate them)");
  }
  file.sheets.push_back(
      LoadedSheet{"", sheet.name, handler.TakeCells(), worksheetCount});
}

}  // namespace

LoadedFile ReadWorkbook(std::string bytes, const ReadOptions& options) {
  if (!LooksLikeZip(bytes)) RefuseNonPackage(bytes);
  const ReaderLimits& limits = options.limits;
  LoadedFile file;
  try {
    ZipArchive archive(std::move(bytes), limits.inflatedBytes);
    const XlsxWorkbookParts parts = ReadWorkbookParts(archive, limits);
    int32_t worksheets = 0;
    for (const XlsxSheetEntry& sheet : parts.sheets) {
      worksheets += sheet.isWorksheet;
    }
    const std::vector<std::string> sharedStrings =
        ReadSharedStrings(archive, parts, limits);
    if (!options.allSheets) {
      ReadWorksheet(archive, ChooseSheet(parts, options.sheet), sharedStrings,
                    limits, worksheets, file);
      return file;
    }
    for (const XlsxSheetEntry& sheet : parts.sheets) {
      if (sheet.isWorksheet) {
        ReadWorksheet(archive, sheet, sharedStrings, limits, worksheets, file);
      }
    }
    if (file.sheets.empty()) throw InputError("the workbook has no worksheet");
  } catch (const ZipError& error) {
    throw InputError(std::string("not a valid .xlsx workbook: ") +
                     error.what());
  }
  return file;
}

}  // namespace marrowfield
