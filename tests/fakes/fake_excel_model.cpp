// The model's world and its bookkeeping: processes, workbooks, cells, the
// running-object table, and the reference counts of every object handed
// out. The members the objects answer are in fake_excel_members.cpp.

#include "fake_excel_model.h"

#include <cstdio>
#include <utility>

namespace marrowfield {

ModelValue ModelValue::Integer(int32_t value, uint16_t typeCode) {
  ModelValue result;
  result.kind = Kind::kInteger;
  result.integer = value;
  result.typeCode = typeCode;
  return result;
}

ModelValue ModelValue::Double(double value) {
  ModelValue result;
  result.kind = Kind::kDouble;
  result.number = value;
  result.typeCode = 5;
  return result;
}

ModelValue ModelValue::Boolean(bool value) {
  ModelValue result;
  result.kind = Kind::kBoolean;
  result.flag = value;
  result.typeCode = 11;
  return result;
}

ModelValue ModelValue::String(std::string value) {
  ModelValue result;
  result.kind = Kind::kString;
  result.text = std::move(value);
  result.typeCode = 8;
  return result;
}

ModelValue ModelValue::Object(int objectId) {
  ModelValue result;
  result.kind = Kind::kObject;
  result.objectId = objectId;
  result.typeCode = 9;
  return result;
}

ModelValue ModelValue::Error(int32_t code) {
  ModelValue result;
  result.kind = Kind::kError;
  result.integer = code;
  result.typeCode = 10;
  return result;
}

std::string ModelValue::Describe() const {
  switch (kind) {
    case Kind::kEmpty:
      return "EMPTY";
    case Kind::kInteger:
      return (typeCode == 2 ? "I2:" : "I4:") + std::to_string(integer);
    case Kind::kDouble: {
      char text[40];
      std::snprintf(text, sizeof(text), "R8:%g", number);
      return text;
    }
    case Kind::kBoolean:
      return flag ? "BOOL:true" : "BOOL:false";
    case Kind::kString:
      return "BSTR:" + text;
    case Kind::kObject:
      return "DISPATCH";
    case Kind::kGrid:
      return "ARRAY:" + std::to_string(rows) + "x" + std::to_string(columns);
    case Kind::kError:
      return "ERROR:" + std::to_string(integer);
  }
  return "?";
}

int FakeExcelModel::AddProcess(LibraryCall library) {
  Process process;
  process.library = std::move(library);
  processes_.push_back(std::move(process));
  const int index = static_cast<int>(processes_.size()) - 1;
  Object application{ModelKind::kApplication, index};
  application.lasting = true;
  application.references = 1;
  processes_[static_cast<size_t>(index)].applicationId = NewObject(application);
  return index;
}

int FakeExcelModel::AddWorkbook(int process, const std::string& path) {
  Process& owner = processes_.at(static_cast<size_t>(process));
  Book book;
  book.path = path;
  owner.books.push_back(std::move(book));
  const int index = static_cast<int>(owner.books.size()) - 1;
  Object workbook{ModelKind::kWorkbook, process, index};
  workbook.lasting = true;
  workbook.references = 1;
  owner.books.back().objectId = NewObject(workbook);
  owner.activeBook = index;
  return index;
}

int FakeExcelModel::AddWorksheet(int process, int workbook,
                                 const std::string& name) {
  Book& book = processes_.at(static_cast<size_t>(process))
                   .books.at(static_cast<size_t>(workbook));
  Sheet sheet;
  sheet.name = name;
  book.sheets.push_back(std::move(sheet));
  return static_cast<int>(book.sheets.size()) - 1;
}

int FakeExcelModel::AddChartSheet(int process, int workbook,
                                  const std::string& name) {
  Book& book = processes_.at(static_cast<size_t>(process))
                   .books.at(static_cast<size_t>(workbook));
  Sheet sheet;
  sheet.name = name;
  sheet.chart = true;
  book.sheets.push_back(std::move(sheet));
  return static_cast<int>(book.sheets.size()) - 1;
}

void FakeExcelModel::SetProtectedView(int process, int workbook, bool on) {
  processes_.at(static_cast<size_t>(process))
      .books.at(static_cast<size_t>(workbook))
      .protectedView = on;
}

int FakeExcelModel::WindowObject(int process, int workbook) {
  return NewObjectValue({ModelKind::kWindow, process, workbook}).objectId;
}

void FakeExcelModel::ActivateSheet(int process, int workbook, int sheet) {
  Process& owner = processes_.at(static_cast<size_t>(process));
  owner.books.at(static_cast<size_t>(workbook)).activeSheet = sheet;
  owner.activeBook = workbook;
}

bool FakeExcelModel::displayAlerts(int process) const {
  return processes_.at(static_cast<size_t>(process)).displayAlerts;
}

int FakeExcelModel::alerts(int process) const {
  return processes_.at(static_cast<size_t>(process)).alerts;
}

void FakeExcelModel::SetWindowHandle(int process, int32_t handle) {
  processes_.at(static_cast<size_t>(process)).windowHandle = handle;
}

FakeExcelModel::Object FakeExcelModel::SheetObject(int process, int book,
                                                   int sheet) const {
  const bool chart = processes_.at(static_cast<size_t>(process))
                         .books.at(static_cast<size_t>(book))
                         .sheets.at(static_cast<size_t>(sheet))
                         .chart;
  return {chart ? ModelKind::kChart : ModelKind::kWorksheet, process, book,
          sheet};
}

void FakeExcelModel::SetText(int process, int workbook, int sheet, int row,
                             int column, const std::string& text) {
  ModelCell cell;
  cell.isText = true;
  cell.text = text;
  processes_.at(static_cast<size_t>(process))
      .books.at(static_cast<size_t>(workbook))
      .sheets.at(static_cast<size_t>(sheet))
      .cells[{row, column}] = cell;
}

void FakeExcelModel::SetNumber(int process, int workbook, int sheet, int row,
                               int column, double number) {
  ModelCell cell;
  cell.number = number;
  processes_.at(static_cast<size_t>(process))
      .books.at(static_cast<size_t>(workbook))
      .sheets.at(static_cast<size_t>(sheet))
      .cells[{row, column}] = cell;
}

void FakeExcelModel::AddTemplate(const std::string& path,
                                 const std::string& sheetName) {
  templates_[path] = sheetName;
}

void FakeExcelModel::FailMember(int process, ModelKind kind, int32_t member,
                                ModelResult hr) {
  Knob knob;
  knob.hr = hr;
  knobs_[{process, {static_cast<int>(kind), member}}] = knob;
}

void FakeExcelModel::AnswerMember(int process, ModelKind kind, int32_t member,
                                  ModelValue answer) {
  Knob knob;
  knob.answers = true;
  knob.answer = std::move(answer);
  knobs_[{process, {static_cast<int>(kind), member}}] = knob;
}

int FakeExcelModel::ActiveObject() {
  if (activeProcess_ < 0) return 0;
  return Reference(ApplicationObject(activeProcess_)).objectId;
}

std::vector<FakeExcelModel::RunningEntry> FakeExcelModel::RunningEntries()
    const {
  // As Excel leaves it: its active-object registration, then one file
  // moniker per saved workbook of every process.
  std::vector<RunningEntry> entries;
  if (activeProcess_ >= 0) {
    entries.push_back(
        {"!{00024500-0000-0000-C000-000000000046}", activeProcess_, -1});
  }
  for (size_t p = 0; p < processes_.size(); ++p) {
    const auto& books = processes_[p].books;
    for (size_t b = 0; b < books.size(); ++b) {
      if (books[b].path.empty()) continue;
      entries.push_back(
          {books[b].path, static_cast<int>(p), static_cast<int>(b)});
    }
  }
  return entries;
}

int FakeExcelModel::Bind(const RunningEntry& entry) {
  if (entry.workbook < 0) return 0;
  const Process& process = processes_.at(static_cast<size_t>(entry.process));
  return Reference(
             process.books.at(static_cast<size_t>(entry.workbook)).objectId)
      .objectId;
}

void FakeExcelModel::AddRef(int objectId) {
  auto found = objects_.find(objectId);
  if (found != objects_.end()) ++found->second.references;
}

void FakeExcelModel::Release(int objectId) {
  auto found = objects_.find(objectId);
  if (found == objects_.end()) {
    ++overReleases_;
    return;
  }
  Object& object = found->second;
  if (object.references <= (object.lasting ? 1 : 0)) {
    ++overReleases_;
    return;
  }
  --object.references;
}

ModelKind FakeExcelModel::KindOf(int objectId) const {
  return objects_.at(objectId).kind;
}

int FakeExcelModel::InvokesOn(ModelKind kind) const {
  int count = 0;
  for (const InvokeRecord& record : invokes_) {
    if (record.kind == kind) ++count;
  }
  return count;
}

const std::vector<std::string>& FakeExcelModel::macros(int process) const {
  return processes_.at(static_cast<size_t>(process)).macros;
}

int FakeExcelModel::OutstandingReferences() const {
  int outstanding = 0;
  for (const auto& entry : objects_) {
    outstanding += entry.second.references - (entry.second.lasting ? 1 : 0);
  }
  return outstanding;
}

int FakeExcelModel::ApplicationObject(int process) const {
  return processes_.at(static_cast<size_t>(process)).applicationId;
}

FakeExcelModel::ActiveCell FakeExcelModel::ActiveCellOf(int process) const {
  const Process& owner = processes_.at(static_cast<size_t>(process));
  if (owner.activeBook < 0) return {};
  const Book& book = owner.books[static_cast<size_t>(owner.activeBook)];
  if (book.sheets.empty()) return {};
  const Sheet& sheet = book.sheets[static_cast<size_t>(book.activeSheet)];
  return {sheet.name, sheet.activeRow, sheet.activeColumn};
}

int FakeExcelModel::WorkbookCount(int process) const {
  return static_cast<int>(
      processes_.at(static_cast<size_t>(process)).books.size());
}

void FakeExcelModel::SetActiveCell(int process, int workbook, int sheet,
                                   int row, int column) {
  Sheet& target = processes_.at(static_cast<size_t>(process))
                      .books.at(static_cast<size_t>(workbook))
                      .sheets.at(static_cast<size_t>(sheet));
  target.activeRow = row;
  target.activeColumn = column;
}

const ModelCell* FakeExcelModel::CellAt(int process, int workbook, int sheet,
                                        int row, int column) const {
  const Sheet& cells = processes_.at(static_cast<size_t>(process))
                           .books.at(static_cast<size_t>(workbook))
                           .sheets.at(static_cast<size_t>(sheet));
  const auto found = cells.cells.find({row, column});
  return found == cells.cells.end() ? nullptr : &found->second;
}

int FakeExcelModel::FilledCells(int process, int workbook, int sheet) const {
  return static_cast<int>(processes_.at(static_cast<size_t>(process))
                              .books.at(static_cast<size_t>(workbook))
                              .sheets.at(static_cast<size_t>(sheet))
                              .cells.size());
}

std::vector<std::string> FakeExcelModel::SheetNames(int process,
                                                    int workbook) const {
  std::vector<std::string> names;
  for (const Sheet& sheet : processes_.at(static_cast<size_t>(process))
                                .books.at(static_cast<size_t>(workbook))
                                .sheets) {
    names.push_back(sheet.name);
  }
  return names;
}

int FakeExcelModel::ActiveSheetOf(int process, int workbook) const {
  return processes_.at(static_cast<size_t>(process))
      .books.at(static_cast<size_t>(workbook))
      .activeSheet;
}

int FakeExcelModel::FrozenRows(int process, int workbook, int sheet) const {
  const Sheet& target = processes_.at(static_cast<size_t>(process))
                            .books.at(static_cast<size_t>(workbook))
                            .sheets.at(static_cast<size_t>(sheet));
  return target.frozen ? target.splitRow : 0;
}

std::vector<int> FakeExcelModel::FittedColumns(int process, int workbook,
                                               int sheet) const {
  return processes_.at(static_cast<size_t>(process))
      .books.at(static_cast<size_t>(workbook))
      .sheets.at(static_cast<size_t>(sheet))
      .fittedColumns;
}

int FakeExcelModel::NewObject(Object object) {
  const int id = nextId_++;
  objects_.emplace(id, object);
  return id;
}

ModelValue FakeExcelModel::NewObjectValue(Object object) {
  object.references = 1;
  return ModelValue::Object(NewObject(object));
}

ModelValue FakeExcelModel::Reference(int objectId) {
  AddRef(objectId);
  return ModelValue::Object(objectId);
}

}  // namespace marrowfield
