// What the model's objects answer to the members Find duplicates writes
// its result sheet with, with Excel's rules where the add-in depends on
// them: a sheet name is unique among the workbook's sheets (case aside)
// and at most 31 characters without []:*?/\; Worksheets.Add puts the new
// sheet before the active one and activates it; Range.Value takes an array
// only of the range's own shape (the fake refuses what Excel would pad
// with #N/A or cut off); a string written to a cell is read as Excel reads
// typed input (' keeps text, = starts a formula, a number becomes one);
// AutoFit works on whole columns only; FreezePanes freezes at the split.

#include <cctype>
#include <cstdlib>
#include <string>
#include <utility>

#include "fake_excel_member_table.h"
#include "fake_excel_model.h"

namespace marrowfield {
namespace {

constexpr int32_t kValue = 0x0006;
constexpr int32_t kName = 0x006E;
constexpr int32_t kCount = 0x0076;
constexpr int32_t kAdd = 0x00B5;
constexpr int32_t kRange = 0x00C5;
constexpr int32_t kAutoFit = 0x00ED;
constexpr int32_t kColumn = 0x00F0;
constexpr int32_t kEntireColumn = 0x00F6;
constexpr int32_t kRow = 0x0101;
constexpr int32_t kActiveCell = 0x0131;
constexpr int32_t kActiveWindow = 0x02F7;
constexpr int32_t kFreezePanes = 0x028A;
constexpr int32_t kSplitColumn = 0x0394;
constexpr int32_t kSplitRow = 0x0395;
constexpr int32_t kParamNotFound = static_cast<int32_t>(0x80020004u);
constexpr int kLastRow = 1048576;
constexpr std::size_t kLongestSheetName = 31;

bool Same(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// "AB12" into row 12, column 28; false for anything else.
bool ParseCell(const std::string& text, int* row, int* column) {
  std::size_t i = 0;
  int letters = 0;
  while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i]))) {
    letters = letters * 26 +
              (std::toupper(static_cast<unsigned char>(text[i])) - 'A' + 1);
    ++i;
  }
  if (i == 0 || i == text.size() || letters > 16384) return false;
  int number = 0;
  for (; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    number = number * 10 + (text[i] - '0');
    if (number > kLastRow) return false;
  }
  if (number < 1) return false;
  *row = number;
  *column = letters;
  return true;
}

// The cell a string typed into it makes.
ModelCell TypedCell(const std::string& text) {
  ModelCell cell;
  if (!text.empty() && text[0] == '\'') {
    cell.isText = true;
    cell.text = text.substr(1);
    return cell;
  }
  if (!text.empty() && text[0] == '=') {
    cell.formula = text;
    cell.isText = true;
    // HYPERLINK("target","name") shows its name.
    const std::size_t end = text.rfind("\")");
    const std::size_t start =
        end == std::string::npos ? end : text.rfind(",\"", end);
    if (text.compare(0, 11, "=HYPERLINK(") == 0 && start != std::string::npos) {
      cell.text = text.substr(start + 2, end - start - 2);
    } else {
      cell.text = text;
    }
    return cell;
  }
  char* stop = nullptr;
  const double number = std::strtod(text.c_str(), &stop);
  if (!text.empty() && stop != nullptr && *stop == '\0' &&
      !std::isspace(static_cast<unsigned char>(text[0]))) {
    cell.number = number;
    return cell;
  }
  cell.isText = true;
  cell.text = text;
  return cell;
}

}  // namespace

bool FakeExcelModel::SheetWriteMember(Object& object, int32_t member,
                                      uint16_t invokeKind,
                                      const std::vector<ModelValue>& arguments,
                                      ModelValue* result, ModelResult* hr) {
  const bool get = (invokeKind & kModelGet) != 0;
  const bool put = (invokeKind & kModelPut) != 0;
  const bool method = (invokeKind & kModelMethod) != 0;
  Process& process = processes_[static_cast<size_t>(object.process)];
  *hr = kModelOk;
  switch (object.kind) {
    case ModelKind::kApplication:
      if (member == kActiveCell && get) {
        if (process.activeBook < 0) {
          *result = ModelValue::Object(0);
          return true;
        }
        const Book& book =
            process.books[static_cast<size_t>(process.activeBook)];
        const Sheet& sheet = book.sheets[static_cast<size_t>(book.activeSheet)];
        if (sheet.chart) {
          *result = ModelValue::Object(0);
          return true;
        }
        Object cell{ModelKind::kRange, object.process, process.activeBook,
                    book.activeSheet};
        cell.top = cell.bottom = sheet.activeRow;
        cell.left = cell.right = sheet.activeColumn;
        *result = NewObjectValue(cell);
        return true;
      }
      if (member == kActiveWindow && get) {
        *result = process.activeBook < 0
                      ? ModelValue::Object(0)
                      : NewObjectValue({ModelKind::kWindow, object.process,
                                        process.activeBook});
        return true;
      }
      return false;
    case ModelKind::kWorksheets:
    case ModelKind::kSheets: {
      const Book& book = process.books[static_cast<size_t>(object.book)];
      if (member == kCount && get) {
        int32_t count = 0;
        for (const Sheet& sheet : book.sheets) {
          if (object.kind == ModelKind::kSheets || !sheet.chart) ++count;
        }
        *result = ModelValue::Integer(count, 3);
        return true;
      }
      if (member == kAdd && method && object.kind == ModelKind::kWorksheets) {
        for (const ModelValue& argument : arguments) {
          // Before, After, Count and Type: the fake takes them all omitted.
          if (argument.kind != ModelValue::Kind::kError ||
              argument.integer != kParamNotFound) {
            *hr = kModelTypeMismatch;
            return true;
          }
        }
        *hr = AddSheet(object, result);
        return true;
      }
      return false;
    }
    case ModelKind::kWorksheet:
    case ModelKind::kChart:
      if (member == kName && get) {
        *result = ModelValue::String(SheetOf(object).name);
        return true;
      }
      if (member == kName && put) {
        if (arguments.size() != 1) {
          *hr = kModelBadParamCount;
          return true;
        }
        *hr = RenameSheet(object, arguments[0]);
        return true;
      }
      if (member == kRange && get && object.kind == ModelKind::kWorksheet) {
        if (arguments.size() != 1) {
          *hr = kModelBadParamCount;
          return true;
        }
        if (arguments[0].kind != ModelValue::Kind::kString) {
          *hr = kModelTypeMismatch;
          return true;
        }
        const std::string& address = arguments[0].text;
        const std::size_t colon = address.find(':');
        Object range{ModelKind::kRange, object.process, object.book,
                     object.sheet};
        const bool read = colon == std::string::npos
                              ? ParseCell(address, &range.top, &range.left)
                              : ParseCell(address.substr(0, colon), &range.top,
                                          &range.left) &&
                                    ParseCell(address.substr(colon + 1),
                                              &range.bottom, &range.right);
        if (colon == std::string::npos) {
          range.bottom = range.top;
          range.right = range.left;
        }
        if (!read || range.bottom < range.top || range.right < range.left) {
          *hr = kModelException;  // 1004: method Range failed
          return true;
        }
        *result = NewObjectValue(range);
        return true;
      }
      return false;
    case ModelKind::kRange:
      if ((member == kRow || member == kColumn) && get) {
        *result =
            ModelValue::Integer(member == kRow ? object.top : object.left, 3);
        return true;
      }
      if (member == kValue && put) {
        if (arguments.size() != 1) {
          *hr = kModelBadParamCount;
          return true;
        }
        *hr = PutRangeValue(object, arguments[0]);
        return true;
      }
      if (member == kEntireColumn && get) {
        Object columns = object;
        columns.top = 1;
        columns.bottom = kLastRow;
        *result = NewObjectValue(columns);
        return true;
      }
      if (member == kAutoFit && method) {
        if (object.top != 1 || object.bottom != kLastRow) {
          *hr = kModelException;  // AutoFit method of Range class failed
          return true;
        }
        Sheet& sheet = SheetOf(object);
        for (int column = object.left; column <= object.right; ++column) {
          sheet.fittedColumns.push_back(column);
        }
        *result = ModelValue::Boolean(true);
        return true;
      }
      return false;
    case ModelKind::kWindow: {
      if (member != kSplitRow && member != kSplitColumn &&
          member != kFreezePanes) {
        return false;
      }
      Book& book = process.books[static_cast<size_t>(object.book)];
      Sheet& sheet = book.sheets[static_cast<size_t>(book.activeSheet)];
      if (get) {
        *result =
            member == kFreezePanes
                ? ModelValue::Boolean(sheet.frozen)
                : ModelValue::Integer(
                      member == kSplitRow ? sheet.splitRow : sheet.splitColumn,
                      3);
        return true;
      }
      if (!put || arguments.size() != 1) {
        *hr = kModelBadParamCount;
        return true;
      }
      const ModelValue& value = arguments[0];
      if (member == kFreezePanes) {
        if (value.kind != ModelValue::Kind::kBoolean) {
          *hr = kModelTypeMismatch;
          return true;
        }
        sheet.frozen = value.flag;
        return true;
      }
      if (value.kind != ModelValue::Kind::kInteger || value.integer < 0) {
        *hr = kModelTypeMismatch;
        return true;
      }
      (member == kSplitRow ? sheet.splitRow : sheet.splitColumn) =
          value.integer;
      return true;
    }
    default:
      return false;
  }
}

ModelResult FakeExcelModel::PutRangeValue(const Object& range,
                                          const ModelValue& value) {
  Sheet& sheet = SheetOf(range);
  const int rows = range.bottom - range.top + 1;
  const int columns = range.right - range.left + 1;
  // Cells come in the map's own order, so each goes in at the end: a hint
  // that makes a large array's assignment linear, not n log n.
  auto put = [&sheet](int row, int column, const ModelValue& cell) {
    switch (cell.kind) {
      case ModelValue::Kind::kEmpty:
        sheet.cells.erase({row, column});
        return kModelOk;
      case ModelValue::Kind::kString:
        sheet.cells.insert_or_assign(sheet.cells.end(), {row, column},
                                     TypedCell(cell.text));
        return kModelOk;
      case ModelValue::Kind::kInteger:
      case ModelValue::Kind::kDouble: {
        ModelCell number;
        number.number = cell.kind == ModelValue::Kind::kInteger ? cell.integer
                                                                : cell.number;
        sheet.cells.insert_or_assign(sheet.cells.end(), {row, column},
                                     std::move(number));
        return kModelOk;
      }
      default:
        return kModelTypeMismatch;
    }
  };
  if (value.kind != ModelValue::Kind::kGrid) {
    if (rows != 1 || columns != 1) return kModelException;
    return put(range.top, range.left, value);
  }
  if (value.rows != rows || value.columns != columns ||
      value.cells.size() !=
          static_cast<size_t>(rows) * static_cast<size_t>(columns)) {
    return kModelException;
  }
  // Excel takes the whole array or nothing: check every cell first.
  for (const ModelValue& cell : value.cells) {
    if (cell.kind == ModelValue::Kind::kGrid ||
        cell.kind == ModelValue::Kind::kObject) {
      return kModelTypeMismatch;
    }
  }
  std::size_t next = 0;
  for (int row = range.top; row <= range.bottom; ++row) {
    for (int column = range.left; column <= range.right; ++column) {
      put(row, column, value.cells[next++]);
    }
  }
  return kModelOk;
}

ModelResult FakeExcelModel::RenameSheet(const Object& sheet,
                                        const ModelValue& name) {
  if (name.kind != ModelValue::Kind::kString) return kModelTypeMismatch;
  const std::string& text = name.text;
  if (text.empty() || text.size() > kLongestSheetName ||
      text.find_first_of("[]:*?/\\") != std::string::npos ||
      text.front() == '\'' || text.back() == '\'') {
    return kModelException;
  }
  Book& book = processes_[static_cast<size_t>(sheet.process)]
                   .books[static_cast<size_t>(sheet.book)];
  for (size_t other = 0; other < book.sheets.size(); ++other) {
    if (static_cast<int>(other) != sheet.sheet &&
        Same(book.sheets[other].name, text)) {
      return kModelException;  // 1004: that name is already taken
    }
  }
  book.sheets[static_cast<size_t>(sheet.sheet)].name = text;
  return kModelOk;
}

ModelResult FakeExcelModel::AddSheet(const Object& worksheets,
                                     ModelValue* result) {
  Book& book = processes_[static_cast<size_t>(worksheets.process)]
                   .books[static_cast<size_t>(worksheets.book)];
  // Excel names it Sheet<n>, the first n free.
  std::string name;
  for (int n = 1;; ++n) {
    name = "Sheet" + std::to_string(n);
    bool taken = false;
    for (const Sheet& sheet : book.sheets)
      taken = taken || Same(sheet.name, name);
    if (!taken) break;
  }
  const int at = book.sheets.empty() ? 0 : book.activeSheet;
  Sheet added;
  added.name = name;
  book.sheets.insert(book.sheets.begin() + at, added);
  // Objects of the sheets after it keep pointing at their own sheet.
  for (auto& entry : objects_) {
    Object& other = entry.second;
    if (other.process == worksheets.process && other.book == worksheets.book &&
        other.kind != ModelKind::kWorkbook &&
        other.kind != ModelKind::kWindow &&
        other.kind != ModelKind::kWorksheets &&
        other.kind != ModelKind::kSheets && other.sheet >= at) {
      ++other.sheet;
    }
  }
  book.activeSheet = at;
  processes_[static_cast<size_t>(worksheets.process)].activeBook =
      worksheets.book;
  *result = NewObjectValue(
      {ModelKind::kWorksheet, worksheets.process, worksheets.book, at});
  return kModelOk;
}

}  // namespace marrowfield
