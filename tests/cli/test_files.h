// Files for the command-line tests: a temporary folder that removes itself,
// and .xlsx workbooks assembled part by part with libzip.
#ifndef MARROWFIELD_TESTS_CLI_TEST_FILES_H_
#define MARROWFIELD_TESTS_CLI_TEST_FILES_H_

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "marrowfield/sheet_search.h"

namespace marrowfield {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // Returns the path of |name| inside the folder.
  std::string Path(const std::string& name) const;
  // Writes |bytes| to |name| and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

std::string ReadWholeFile(const std::string& path);

// (part name, content) pairs, stored in a zip archive in this order.
using ZipParts = std::vector<std::pair<std::string, std::string>>;

// Returns the bytes of a zip archive holding |parts|.
std::string BuildZip(const ZipParts& parts);

// A worksheet part with |sheetData| (the <row> elements) inside.
std::string WorksheetXml(const std::string& sheetData);

// A shared-strings part whose items are |strings|, already escaped as XML
// text.
std::string SharedStringsXml(const std::vector<std::string>& strings);

// A workbook as Excel lays it out: sheets named |names| with the worksheet
// parts |sheets| (same order), optional shared strings. With
// |absoluteTargets| the relationships name parts from the package root, as
// openpyxl writes them.
ZipParts WorkbookParts(const std::vector<std::string>& names,
                       const std::vector<std::string>& sheets,
                       const std::string& sharedStrings,
                       bool absoluteTargets = false);

// A one-sheet workbook holding |cells|: text cells as shared strings, the
// others as numbers.
ZipParts WorkbookFromCells(const std::string& sheetName, const CellGrid& cells);

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_CLI_TEST_FILES_H_
