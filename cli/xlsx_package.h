// Finds the parts of an .xlsx workbook: the workbook part through the
// package relationships, its sheets in workbook order with their names and
// parts, and the shared-strings part.
#ifndef MARROWFIELD_CLI_XLSX_PACKAGE_H_
#define MARROWFIELD_CLI_XLSX_PACKAGE_H_

#include <optional>
#include <string>
#include <vector>

#include "zip_archive.h"

namespace marrowfield {

struct XlsxSheetEntry {
  std::string name;
  std::string partName;     // path of the sheet's XML inside the archive
  bool isWorksheet = true;  // false for chart and dialog sheets
};

struct XlsxWorkbookParts {
  std::vector<XlsxSheetEntry> sheets;            // in workbook order
  std::optional<std::string> sharedStringsPart;  // absent when unused
};

// Reads the relationships and the workbook part of |archive|. Throws
// InputError (without the file name) when a required part is missing or
// malformed.
XlsxWorkbookParts ReadWorkbookParts(const ZipArchive& archive);

// Returns the part that |target| names, seen from the part |sourcePart|
// (relative targets resolve against its folder, "/x" from the root, "%20"
// and the like are decoded, "." and ".." are folded).
std::string ResolvePartName(const std::string& sourcePart,
                            const std::string& target);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_XLSX_PACKAGE_H_
