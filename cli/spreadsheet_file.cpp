// Dispatch on the file type. Every failure becomes one InputError line that
// starts with the file name, and every notice is given the same start.
#include "spreadsheet_file.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "file_bytes.h"
#include "file_kinds.h"
#include "input_error.h"

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

enum class FileKind { kWorkbook, kDelimited };

struct FileType {
  const char* extension;
  FileKind kind;
  char delimiter;
};

// Macro-enabled workbooks and templates are the same package format.
constexpr FileType kFileTypes[] = {
    {".csv", FileKind::kDelimited, ','},  {".tsv", FileKind::kDelimited, '\t'},
    {".txt", FileKind::kDelimited, '\t'}, {".xlsx", FileKind::kWorkbook, 0},
    {".xlsm", FileKind::kWorkbook, 0},    {".xltx", FileKind::kWorkbook, 0},
    {".xltm", FileKind::kWorkbook, 0},
};

FileType TypeOf(const std::string& path, const ReadOptions& options) {
  // Standard input has no name; --input-format says what it holds.
  const std::string extension =
      path == "-" ? "." + options.standardInputFormat : LowerExtension(path);
  for (const FileType& type : kFileTypes) {
    if (extension == type.extension) return type;
  }
  if (extension == ".xls" || extension == ".xlt") {
    throw InputError(path +
                     ": Excel 97-2003 workbooks (.xls) are not read; open it "
                     "in Excel or LibreOffice and save it as .xlsx");
  }
  if (extension == ".ods" || extension == ".fods") {
    throw InputError(path +
                     ": OpenDocument spreadsheets (.ods) are not read; save "
                     "it as .xlsx (Excel 2007-365) in LibreOffice");
  }
  throw InputError(path +
                   ": unsupported file type (expected .csv, .tsv, .txt, "
                   ".xlsx, .xlsm, .xltx or .xltm)");
}

}  // namespace

LoadedFile LoadFile(const std::string& path, const ReadOptions& options) {
  const FileType type = TypeOf(path, options);
  std::string bytes = ReadFileBytes(path, options.limits.fileBytes);
  LoadedFile file;
  try {
    file = type.kind == FileKind::kWorkbook
               ? ReadWorkbook(std::move(bytes), options)
               : ReadDelimitedFile(std::move(bytes), type.delimiter, options);
  } catch (const InputError& error) {
    throw InputError(path + ": " + error.what());
  }
  for (LoadedSheet& sheet : file.sheets) sheet.path = path;
  for (std::string& notice : file.notices) notice = path + ": " + notice;
  return file;
}

LoadedSheet LoadSheet(const std::string& path,
                      const std::optional<std::string>& sheetName,
                      const ReaderLimits& limits) {
  ReadOptions options;
  options.sheet = sheetName;
  options.strict = true;
  options.limits = limits;
  return std::move(LoadFile(path, options).sheets.front());
}

CellGrid ReadXlsxSheet(std::string bytes,
                       const std::optional<std::string>& sheetName,
                       std::string& chosenSheet, const ReaderLimits& limits) {
  ReadOptions options;
  options.sheet = sheetName;
  options.limits = limits;
  LoadedFile file = ReadWorkbook(std::move(bytes), options);
  chosenSheet = *file.sheets.front().sheet;
  return std::move(file.sheets.front().cells);
}

}  // namespace marrowfield
