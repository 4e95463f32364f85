// The worksheet cell reader. Cells and rows may omit their reference ("r");
// they then follow the previous one, as the file format allows.
#include "xlsx_sheet.h"

#include "cell_reference.h"
#include "input_error.h"

namespace marrowfield {

namespace {

std::string_view Trim(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

bool ParseIndex(std::string_view text, uint64_t& value) {
  text = Trim(text);
  if (text.empty() || text.size() > 18) return false;
  value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  return true;
}

}  // namespace

void WorksheetHandler::OnStart(std::string_view name,
                               const XmlAttributes& attrs) {
  if (name == "sheetData") {
    inSheetData_ = true;
  } else if (!inSheetData_) {
    return;
  } else if (name == "row") {
    StartRow(attrs);
  } else if (name == "c") {
    StartCell(attrs);
  } else if (inCell_ && name == "f") {
    hasFormula_ = true;
  } else if (inCell_ && name == "v") {
    inValue_ = true;
    hasValue_ = true;
  } else if (inCell_ && name == "is") {
    inInlineString_ = true;
    hasValue_ = true;
  } else if (inInlineString_) {
    inlineText_.OnStart(name);
  }
}

void WorksheetHandler::OnEnd(std::string_view name) {
  if (name == "sheetData") {
    inSheetData_ = false;
  } else if (name == "c" && inCell_) {
    FinishCell();
  } else if (name == "v") {
    inValue_ = false;
  } else if (name == "is") {
    inInlineString_ = false;
  } else if (inInlineString_) {
    inlineText_.OnEnd(name);
  }
}

void WorksheetHandler::OnText(std::string_view text) {
  if (inValue_) value_.append(text);
  if (inInlineString_) inlineText_.OnText(text);
}

void WorksheetHandler::StartRow(const XmlAttributes& attrs) {
  const auto reference = attrs.Get("r");
  uint64_t number = 0;
  if (!reference) {
    ++row_;
  } else if (ParseIndex(*reference, number) && number >= 1 &&
             number <= static_cast<uint64_t>(kMaxSheetRow)) {
    row_ = static_cast<int32_t>(number);
  } else {
    throw InputError("row number '" + std::string(*reference) +
                     "' is not valid");
  }
  nextColumn_ = 1;
}

void WorksheetHandler::StartCell(const XmlAttributes& attrs) {
  inCell_ = true;
  hasValue_ = false;
  hasFormula_ = false;
  value_.clear();
  inlineText_.Take();
  const auto type = attrs.Get("t");
  cellType_ = type ? std::string(*type) : "n";
  const auto reference = attrs.Get("r");
  if (reference) {
    if (!ParseCellReference(*reference, cellRow_, cellColumn_)) {
      throw InputError("cell reference '" + std::string(*reference) +
                       "' is not valid");
    }
  } else {
    if (row_ == 0) row_ = 1;
    if (nextColumn_ > kMaxSheetColumn) {
      throw InputError("row " + std::to_string(row_) + " has too many cells");
    }
    cellRow_ = row_;
    cellColumn_ = nextColumn_;
  }
}

void WorksheetHandler::FinishCell() {
  inCell_ = false;
  nextColumn_ = cellColumn_ + 1;
  // openpyxl saves formulas without computing them: <f> and an empty or
  // missing <v>. Such a cell has nothing to search until a spreadsheet
  // program has calculated and saved it.
  if (hasFormula_ &&
      (!hasValue_ || (value_.empty() && cellType_ != "inlineStr"))) {
    ++formulasWithoutValue_;
    return;
  }
  if (!hasValue_) return;
  GridCell cell{cellRow_, cellColumn_, false, {}};
  if (cellType_ == "s") {
    uint64_t index = 0;
    if (!ParseIndex(value_, index) || index >= sharedStrings_.size()) {
      throw InputError("cell " + CellReference(cellRow_, cellColumn_) +
                       " refers to shared string '" + value_ +
                       "', which does not exist");
    }
    cell.isText = true;
    cell.text = sharedStrings_[index];
  } else if (cellType_ == "inlineStr") {
    cell.isText = true;
    cell.text = inlineText_.Take();
  } else if (cellType_ == "str") {
    cell.isText = true;
    cell.text = DecodeXlsxEscapes(value_);
  } else {
    cell.text = value_;
  }
  budget_.Add(cell);
  cells_.push_back(std::move(cell));
}

}  // namespace marrowfield
