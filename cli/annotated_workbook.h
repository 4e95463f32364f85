// "--annotate" for a workbook: a copy of the .xlsx file whose sheet that
// was read gains the columns group, canonical and score after its last
// used column. Only that sheet's XML changes, and only by cells appended
// to its rows (and rows for those that had no element), with its
// dimension widened; every other part is copied as it was.
#ifndef MARROWFIELD_CLI_ANNOTATED_WORKBOOK_H_
#define MARROWFIELD_CLI_ANNOTATED_WORKBOOK_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "annotated_file.h"
#include "reader_limits.h"

namespace marrowfield {

// |sheetXml| (a worksheet part) with the annotations added:
// |annotations|[k] to row k + 1 as an inline-string canonical between
// numbers, row |headerRow| (0: none) headed "group", "canonical" and
// "score"; rows without a group gain nothing. Throws InputError for a
// part that is not UTF-8 XML or has a bad row or cell reference.
std::string AnnotateSheetXml(std::string_view sheetXml, int32_t headerRow,
                             const std::vector<RowAnnotation>& annotations,
                             const ReaderLimits& limits);

// Reads the workbook |inputPath|, annotates its sheet named |sheetName|
// and writes the copy to |outPath|. Throws InputError naming the file when
// the workbook cannot be read again or the copy cannot be written.
void WriteAnnotatedWorkbook(const std::string& inputPath,
                            const std::string& sheetName, int32_t headerRow,
                            const std::vector<RowAnnotation>& annotations,
                            const std::string& outPath,
                            const ReaderLimits& limits);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_ANNOTATED_WORKBOOK_H_
