// Finds the parts of an .xlsx workbook: the workbook part through the
// package relationships, its sheets in workbook order with their names and
// parts, and the shared-strings part.
#ifndef MARROWFIELD_CLI_XLSX_PACKAGE_H_
#define MARROWFIELD_CLI_XLSX_PACKAGE_H_

#include <optional>
#include <string>
#include <vector>

#include "reader_limits.h"
#include "xml_reader.h"
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

// Reads the relationships and the workbook part of |archive|, each within
// the structure-part limit. Throws InputError (without the file name) when a
// required part is missing, malformed or past a limit.
XlsxWorkbookParts ReadWorkbookParts(ZipArchive& archive,
                                    const ReaderLimits& limits);

// Parses member |index| of |archive| with |handler| as it is inflated, the
// member being allowed |maxBytes|. Throws XmlError for malformed or refused
// XML and InputError past a size limit; rethrows what the handler throws.
void ParsePartXml(ZipArchive& archive, uint64_t index, uint64_t maxBytes,
                  XmlHandler& handler, const ReaderLimits& limits);

// Returns the part that |target| names, seen from the part |sourcePart|
// (relative targets resolve against its folder, "/x" from the root, "%20"
// and the like are decoded, "." and ".." are folded).
std::string ResolvePartName(const std::string& sourcePart,
                            const std::string& target);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_XLSX_PACKAGE_H_
