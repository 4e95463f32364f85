// Reads the cells of one worksheet part of an .xlsx workbook.
#ifndef MARROWFIELD_CLI_XLSX_SHEET_H_
#define MARROWFIELD_CLI_XLSX_SHEET_H_

#include <string>
#include <string_view>
#include <vector>

#include "marrowfield/sheet_search.h"
#include "reader_limits.h"
#include "xlsx_text.h"
#include "xml_reader.h"

namespace marrowfield {

// Turns the <sheetData> of a worksheet into cells at their sheet positions
// (A1 is row 1, column 1). Shared strings ("s"), inline strings
// ("inlineStr") and formula results that are strings ("str") are text;
// numbers, booleans ("b"), errors ("e") and dates ("d") are not. Cells
// without a value make no cell; formula cells among them (as openpyxl writes
// every formula: no value computed) are counted.
// Throws InputError (without file or sheet name) for a bad cell reference, a
// shared-string index outside |sharedStrings|, or a cell past the cell or
// text limit of |limits|. Both must outlive the handler.
class WorksheetHandler : public XmlHandler {
 public:
  WorksheetHandler(const std::vector<std::string>& sharedStrings,
                   const ReaderLimits& limits)
      : sharedStrings_(sharedStrings), budget_(limits) {}

  void OnStart(std::string_view name, const XmlAttributes& attrs) override;
  void OnEnd(std::string_view name) override;
  void OnText(std::string_view text) override;

  CellGrid TakeCells() { return std::move(cells_); }
  // Formula cells with no value saved, which were skipped.
  uint64_t formulasWithoutValue() const { return formulasWithoutValue_; }

 private:
  void StartRow(const XmlAttributes& attrs);
  void StartCell(const XmlAttributes& attrs);
  void FinishCell();

  const std::vector<std::string>& sharedStrings_;
  CellBudget budget_;
  CellGrid cells_;
  bool inSheetData_ = false;
  bool inCell_ = false;
  bool inValue_ = false;
  bool inInlineString_ = false;
  bool hasValue_ = false;
  bool hasFormula_ = false;
  uint64_t formulasWithoutValue_ = 0;
  int32_t row_ = 0;
  int32_t nextColumn_ = 1;
  int32_t cellRow_ = 0;
  int32_t cellColumn_ = 0;
  std::string cellType_;
  std::string value_;
  StringItemText inlineText_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_XLSX_SHEET_H_
