// What the model's objects answer: Excel's members by their dispatch
// identifiers, with Excel's rules where the add-in depends on them (a
// range can be activated only on the active sheet, ActiveSheet is Nothing
// with no workbook open, a one-cell range's Value is a single value, an
// empty sheet's used range is A1 holding nothing).

#include <cctype>
#include <cstddef>

#include "fake_excel_member_table.h"
#include "fake_excel_model.h"

namespace marrowfield {
namespace {

constexpr int32_t kValue = 0x0006;
constexpr int32_t kDefault = 0x0000;
constexpr int32_t kItem = 0x00AA;
constexpr int32_t kAdd = 0x00B5;
constexpr int32_t kCount = 0x0076;
constexpr int32_t kActivate = 0x0130;
constexpr int32_t kActiveSheet = 0x0133;
constexpr int32_t kUsedRange = 0x019C;
constexpr int32_t kIndex = 0x01E6;
constexpr int32_t kWorksheets = 0x01EE;
constexpr int32_t kWorkbooks = 0x023C;
constexpr int32_t kSheets = 0x01E5;
constexpr int32_t kDisplayAlerts = 0x0157;
constexpr int32_t kHwnd = 0x079E;
constexpr int32_t kAddIns = 0x0225;
constexpr int32_t kClose = 0x0115;
constexpr int32_t kQuit = 0x012E;
constexpr int32_t kParamNotFound = static_cast<int32_t>(0x80020004u);
constexpr uint16_t kGet = kModelGet;
constexpr uint16_t kMethod = kModelMethod;
constexpr int32_t kErrorValue = 2015;  // #VALUE! as Excel's macros answer it

bool AsInteger(const ModelValue& value, int32_t* number) {
  if (value.kind == ModelValue::Kind::kInteger) {
    *number = value.integer;
    return true;
  }
  if (value.kind == ModelValue::Kind::kDouble) {
    *number = static_cast<int32_t>(value.number);
    return true;
  }
  return false;
}

ModelValue CellValue(const ModelCell* cell) {
  if (cell == nullptr) return {};
  if (cell->isText) return ModelValue::String(cell->text);
  return ModelValue::Double(cell->number);
}

// Reads cALL("path","function","type") the way Excel's CALL reads it.
bool ParseCall(const std::string& macro, std::string* path,
               std::string* function) {
  const std::string head = "CALL(\"";
  if (macro.size() < head.size() ||
      !SameModelName(macro.substr(0, head.size()), head.c_str())) {
    return false;
  }
  const std::size_t pathEnd = macro.find("\",\"", head.size());
  if (pathEnd == std::string::npos) return false;
  const std::size_t nameEnd = macro.find("\",\"", pathEnd + 3);
  if (nameEnd == std::string::npos) return false;
  *path = macro.substr(head.size(), pathEnd - head.size());
  *function = macro.substr(pathEnd + 3, nameEnd - pathEnd - 3);
  return macro.compare(nameEnd, std::string::npos, "\",\"j\")") == 0;
}

}  // namespace

ModelResult FakeExcelModel::GetIdOfName(int objectId, const std::string& name,
                                        uint32_t locale, int32_t* member) {
  nameLocales_.push_back(locale);
  const auto found = objects_.find(objectId);
  if (found == objects_.end()) return kModelUnknownName;
  const ModelMember* entry = FindModelMember(found->second.kind, name);
  if (entry == nullptr) return kModelUnknownName;
  *member = entry->dispId;
  return kModelOk;
}

ModelResult FakeExcelModel::Invoke(int objectId, int32_t member,
                                   uint16_t invokeKind, uint32_t locale,
                                   const std::vector<ModelValue>& arguments,
                                   ModelValue* result) {
  if (result != nullptr) *result = ModelValue{};
  auto found = objects_.find(objectId);
  if (found == objects_.end()) return kModelUnknownName;
  Object& object = found->second;
  InvokeRecord record{object.process, object.kind, member,
                      invokeKind,     locale,      {}};
  for (const ModelValue& argument : arguments) {
    record.arguments.push_back(argument.Describe());
  }
  invokes_.push_back(record);
  if (object.references <= 0) {
    ++deadUses_;
    return kModelException;
  }
  // Excel's dispatcher matches the flags against the member's declared
  // kinds before anything else.
  const ModelMember* declared = FindModelMember(object.kind, member);
  if (declared == nullptr) return kModelMemberNotFound;
  if (!AcceptsInvokeFlags(*declared, invokeKind)) {
    ++wrongInvokeFlags_;
    return kModelMemberNotFound;
  }
  const auto knob =
      knobs_.find({object.process, {static_cast<int>(object.kind), member}});
  if (knob != knobs_.end()) {
    if (!knob->second.answers) return knob->second.hr;
    if (result != nullptr) *result = knob->second.answer;
    return kModelOk;
  }
  ModelValue answer;
  const ModelResult hr = Member(object, member, invokeKind, arguments, &answer);
  if (hr == kModelOk && result != nullptr) {
    *result = std::move(answer);
  } else if (answer.kind == ModelValue::Kind::kObject && answer.objectId) {
    Release(answer.objectId);  // nobody takes it
  }
  return hr;
}

ModelResult FakeExcelModel::Member(Object& object, int32_t member,
                                   uint16_t invokeKind,
                                   const std::vector<ModelValue>& arguments,
                                   ModelValue* result) {
  const bool get = (invokeKind & kGet) != 0;
  const bool method = (invokeKind & kMethod) != 0;
  ModelResult written = kModelOk;
  if (SheetWriteMember(object, member, invokeKind, arguments, result,
                       &written)) {
    return written;
  }
  if (member == kModelApplicationMember) {
    if (!get) return kModelMemberNotFound;
    // A Protected View window belongs to no workbook the object model
    // lets one reach; Excel raises an error for its Application.
    if (object.kind == ModelKind::kWindow &&
        processes_[static_cast<size_t>(object.process)]
            .books[static_cast<size_t>(object.book)]
            .protectedView) {
      return kModelException;
    }
    *result = Reference(ApplicationObject(object.process));
    return kModelOk;
  }
  switch (object.kind) {
    case ModelKind::kApplication:
      return ApplicationMember(object, member, arguments, result);
    case ModelKind::kWorkbooks: {
      Process& process = processes_[static_cast<size_t>(object.process)];
      if (member == kCount && get) {
        *result =
            ModelValue::Integer(static_cast<int32_t>(process.books.size()), 3);
        return kModelOk;
      }
      if (member != kAdd || !method) return kModelMemberNotFound;
      if (arguments.size() == 1 &&
          arguments[0].kind == ModelValue::Kind::kError &&
          arguments[0].integer == kParamNotFound) {
        // The template omitted: a blank workbook, as Excel makes it.
        const int book = AddWorkbook(object.process, "");
        AddWorksheet(object.process, book, "Sheet1");
        *result = Reference(process.books[static_cast<size_t>(book)].objectId);
        return kModelOk;
      }
      if (arguments.size() != 1 ||
          arguments[0].kind != ModelValue::Kind::kString) {
        return kModelTypeMismatch;
      }
      const auto found = templates_.find(arguments[0].text);
      if (found == templates_.end()) return kModelException;
      const int book = AddWorkbook(object.process, "");
      AddWorksheet(object.process, book, found->second);
      *result = Reference(process.books[static_cast<size_t>(book)].objectId);
      return kModelOk;
    }
    case ModelKind::kWorkbook:
      if (member == kClose && method) {
        processes_[static_cast<size_t>(object.process)]
            .books[static_cast<size_t>(object.book)]
            .closed = true;
        return kModelOk;
      }
      if ((member != kWorksheets && member != kSheets) || !get) {
        return kModelMemberNotFound;
      }
      *result = NewObjectValue(
          {member == kSheets ? ModelKind::kSheets : ModelKind::kWorksheets,
           object.process, object.book});
      return kModelOk;
    case ModelKind::kWorksheets:
    case ModelKind::kSheets:
      return SheetsMember(object, member, arguments, result);
    case ModelKind::kChart:
    case ModelKind::kWorksheet:
      if (member == kIndex && get) {
        *result = ModelValue::Integer(object.sheet + 1, 3);
        return kModelOk;
      }
      // A chart sheet has no cells: Excel's type library gives it no
      // UsedRange.
      if (member == kUsedRange && get && object.kind == ModelKind::kWorksheet) {
        *result = NewObjectValue(
            UsedRangeOf(object.process, object.book, object.sheet));
        return kModelOk;
      }
      if (member == kActivate && method) {
        Process& process = processes_[static_cast<size_t>(object.process)];
        process.activeBook = object.book;
        process.books[static_cast<size_t>(object.book)].activeSheet =
            object.sheet;
        return kModelOk;
      }
      return kModelMemberNotFound;
    case ModelKind::kRange:
      if (member == kValue && get) {
        if (!arguments.empty()) return kModelBadParamCount;
        return RangeValue(object, result);
      }
      if (member == kDefault && get) {
        if (arguments.size() != 2) return kModelBadParamCount;
        int32_t row = 0;
        int32_t column = 0;
        if (!AsInteger(arguments[0], &row) ||
            !AsInteger(arguments[1], &column)) {
          return kModelTypeMismatch;
        }
        Object cell = object;
        cell.top = cell.bottom = object.top + row - 1;
        cell.left = cell.right = object.left + column - 1;
        if (cell.top < 1 || cell.left < 1) return kModelBadIndex;
        *result = NewObjectValue(cell);
        return kModelOk;
      }
      if (member == kActivate && method) {
        Process& process = processes_[static_cast<size_t>(object.process)];
        Book& book = process.books[static_cast<size_t>(object.book)];
        // Excel refuses to activate a cell of a sheet that is not active.
        if (process.activeBook != object.book ||
            book.activeSheet != object.sheet) {
          return kModelException;
        }
        Sheet& sheet = SheetOf(object);
        sheet.activeRow = object.top;
        sheet.activeColumn = object.left;
        *result = ModelValue::Boolean(true);
        return kModelOk;
      }
      return kModelMemberNotFound;
    case ModelKind::kAddIns:
    case ModelKind::kAddIn:
      return AddinMember(object, member, invokeKind, arguments, result);
    case ModelKind::kWindow:
      return kModelMemberNotFound;  // Application only, answered above
  }
  return kModelMemberNotFound;
}

ModelResult FakeExcelModel::ApplicationMember(
    Object& object, int32_t member, const std::vector<ModelValue>& arguments,
    ModelValue* result) {
  Process& process = processes_[static_cast<size_t>(object.process)];
  switch (member) {
    case kModelExecuteExcel4Macro:
      if (arguments.size() != 1) return kModelBadParamCount;
      if (arguments[0].kind != ModelValue::Kind::kString) {
        return kModelTypeMismatch;
      }
      return ExecuteMacro(process, arguments[0].text, result);
    case kWorkbooks:
      *result = NewObjectValue({ModelKind::kWorkbooks, object.process});
      return kModelOk;
    case kActiveSheet: {
      if (process.activeBook < 0) {
        *result = ModelValue::Object(0);  // Nothing
        return kModelOk;
      }
      const Book& book = process.books[static_cast<size_t>(process.activeBook)];
      *result = NewObjectValue(
          SheetObject(object.process, process.activeBook, book.activeSheet));
      return kModelOk;
    }
    case kAddIns:
      *result = NewObjectValue({ModelKind::kAddIns, object.process});
      return kModelOk;
    case kQuit:
      ++process.quits;
      if (process.addinHooks.quit) process.addinHooks.quit();
      return kModelOk;
    case kSheets:
    case kWorksheets:
      if (process.activeBook < 0) return kModelException;
      *result = NewObjectValue(
          {member == kSheets ? ModelKind::kSheets : ModelKind::kWorksheets,
           object.process, process.activeBook});
      return kModelOk;
    case kDisplayAlerts:
      if (arguments.empty()) {
        *result = ModelValue::Boolean(process.displayAlerts);
        return kModelOk;
      }
      if (arguments.size() != 1) return kModelBadParamCount;
      if (arguments[0].kind != ModelValue::Kind::kBoolean) {
        return kModelTypeMismatch;
      }
      process.displayAlerts = arguments[0].flag;
      return kModelOk;
    case kHwnd:
      *result = ModelValue::Integer(process.windowHandle, 3);
      return kModelOk;
    case kModelVersion:
      *result = ModelValue::String("16.0");
      return kModelOk;
    default:
      return kModelMemberNotFound;
  }
}

ModelResult FakeExcelModel::ExecuteMacro(Process& process,
                                         const std::string& macro,
                                         ModelValue* result) {
  process.macros.push_back(macro);
  // Blocked, Excel runs no part of the macro, CALL's library included.
  if (process.macrosBlocked) return kModelException;
  std::string path;
  std::string function;
  int32_t answer = 0;
  if (!ParseCall(macro, &path, &function) || function != "CheckInstance" ||
      !process.library || !process.library(path, &answer)) {
    *result = ModelValue::Error(kErrorValue);
    return kModelOk;
  }
  *result = ModelValue::Double(answer);
  return kModelOk;
}

ModelResult FakeExcelModel::SheetsMember(
    Object& object, int32_t member, const std::vector<ModelValue>& arguments,
    ModelValue* result) {
  if (member != kItem) return kModelMemberNotFound;
  if (arguments.size() != 1) return kModelBadParamCount;
  int32_t index = 0;
  if (!AsInteger(arguments[0], &index)) return kModelTypeMismatch;
  const Book& book = processes_[static_cast<size_t>(object.process)]
                         .books[static_cast<size_t>(object.book)];
  // Worksheets counts worksheets only; Sheets counts every sheet.
  const bool worksheetsOnly = object.kind == ModelKind::kWorksheets;
  int32_t position = 0;
  for (size_t sheet = 0; sheet < book.sheets.size(); ++sheet) {
    if (worksheetsOnly && book.sheets[sheet].chart) continue;
    if (++position == index) {
      *result = NewObjectValue(
          SheetObject(object.process, object.book, static_cast<int>(sheet)));
      return kModelOk;
    }
  }
  return kModelBadIndex;
}

ModelResult FakeExcelModel::RangeValue(const Object& range,
                                       ModelValue* result) const {
  const Sheet& sheet = processes_[static_cast<size_t>(range.process)]
                           .books[static_cast<size_t>(range.book)]
                           .sheets[static_cast<size_t>(range.sheet)];
  auto cellAt = [&sheet](int row, int column) -> const ModelCell* {
    const auto found = sheet.cells.find({row, column});
    return found == sheet.cells.end() ? nullptr : &found->second;
  };
  if (range.top == range.bottom && range.left == range.right) {
    *result = CellValue(cellAt(range.top, range.left));
    return kModelOk;
  }
  ModelValue grid;
  grid.kind = ModelValue::Kind::kGrid;
  grid.typeCode = 0x200C;  // VT_ARRAY | VT_VARIANT
  grid.rows = range.bottom - range.top + 1;
  grid.columns = range.right - range.left + 1;
  for (int row = range.top; row <= range.bottom; ++row) {
    for (int column = range.left; column <= range.right; ++column) {
      grid.cells.push_back(CellValue(cellAt(row, column)));
    }
  }
  *result = std::move(grid);
  return kModelOk;
}

FakeExcelModel::Sheet& FakeExcelModel::SheetOf(const Object& object) {
  return processes_[static_cast<size_t>(object.process)]
      .books[static_cast<size_t>(object.book)]
      .sheets[static_cast<size_t>(object.sheet)];
}

FakeExcelModel::Object FakeExcelModel::UsedRangeOf(int process, int book,
                                                   int sheet) {
  Object range{ModelKind::kRange, process, book, sheet};
  const Sheet& cells = SheetOf(range);
  if (cells.cells.empty()) {
    range.top = range.bottom = range.left = range.right = 1;
    return range;
  }
  range.top = range.left = 1 << 30;
  for (const auto& entry : cells.cells) {
    const int row = entry.first.first;
    const int column = entry.first.second;
    if (row < range.top) range.top = row;
    if (row > range.bottom) range.bottom = row;
    if (column < range.left) range.left = column;
    if (column > range.right) range.right = column;
  }
  return range;
}

}  // namespace marrowfield
