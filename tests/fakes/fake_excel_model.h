// FakeExcelModel: a small, honest model of Excel processes as automation
// sees them: each process has its Application, workbooks of worksheets of
// cells (text, numbers, empty), an active workbook, sheet and cell, and its
// own loaded copy of the add-in library. Objects answer Excel's dispatch
// identifiers with Excel's answers, and every reference handed out is
// counted, so a test can check that each was released exactly once. Two
// skins put it behind automation: a fake AutomationPort for native tests
// and real COM objects for the tests under Wine; both record every invoke
// here.

#ifndef MARROWFIELD_TESTS_FAKES_FAKE_EXCEL_MODEL_H_
#define MARROWFIELD_TESTS_FAKES_FAKE_EXCEL_MODEL_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace marrowfield {

using ModelResult = int32_t;  // an HRESULT

struct ModelCell {
  bool isText = false;
  std::string text;
  double number = 0;
  // A formula written through Value ("=..."); |text| is then what the cell
  // shows (the model computes only HYPERLINK's friendly name).
  std::string formula;
};

enum class ModelKind {
  kApplication,
  kWorkbooks,
  kWorkbook,
  kWorksheets,  // worksheets only
  kSheets,      // every sheet, chart sheets included
  kWorksheet,
  kChart,  // a chart sheet
  kRange,
  kAddIns,
  kAddIn,
  kWindow,  // a workbook's window, as its EXCEL7 window exposes it
};

// One entry of a process's add-in list, as Excel's add-in manager keeps it.
struct ModelAddin {
  std::string path;
  std::string title;  // the name the add-in gives the add-in manager
  bool installed = false;
};

// How a process's add-in manager meets what lies outside the model: the
// files it is asked to add, the libraries it loads, its quitting. Hooks
// left empty find no file and do nothing.
struct ModelAddinHooks {
  // Whether |path| is an add-in file; if so, sets its title.
  std::function<bool(const std::string& path, std::string* title)> read;
  // The add-in's Installed flag was set: Excel loads the add-in and runs
  // its xlAutoOpen, or runs its xlAutoClose.
  std::function<void(const ModelAddin& addin)> switched;
  // Application.Quit was called.
  std::function<void()> quit;
  // An alert was raised (DisplayAlerts was on).
  std::function<void()> alert;
};

// A value as the model takes and gives it. |typeCode| is the automation
// type it had on arrival (2 VT_I2, 3 VT_I4, 8 VT_BSTR, ...), so tests can
// check argument encodings.
struct ModelValue {
  enum class Kind {
    kEmpty,
    kInteger,
    kDouble,
    kBoolean,
    kString,
    kObject,
    kGrid,
    kError
  };
  Kind kind = Kind::kEmpty;
  uint16_t typeCode = 0;
  int32_t integer = 0;  // also the error code
  double number = 0;
  bool flag = false;
  std::string text;
  int objectId = 0;  // kObject: one new reference, or 0 for no object
  int32_t rows = 0;  // kGrid: rows x columns scalars, row by row
  int32_t columns = 0;
  std::vector<ModelValue> cells;

  static ModelValue Integer(int32_t value, uint16_t typeCode);
  static ModelValue Double(double value);
  static ModelValue Boolean(bool value);
  static ModelValue String(std::string value);
  static ModelValue Object(int objectId);
  static ModelValue Error(int32_t code);
  // "I2:3", "BSTR:text", "EMPTY", ... for records.
  std::string Describe() const;
};

struct InvokeRecord {
  int process;
  ModelKind kind;
  int32_t member;
  uint16_t invokeKind;
  uint32_t locale;
  std::vector<std::string> arguments;  // Describe() of each, in order
};

class FakeExcelModel {
 public:
  // Calls CheckInstance of the library at |path| as the process has it
  // loaded; returns false when the library cannot be loaded there.
  using LibraryCall =
      std::function<bool(const std::string& path, int32_t* answer)>;

  FakeExcelModel() = default;
  FakeExcelModel(const FakeExcelModel&) = delete;
  FakeExcelModel& operator=(const FakeExcelModel&) = delete;

  // Building the world.
  int AddProcess(LibraryCall library);
  // |path| names the workbook in the running-object table; empty: not there.
  int AddWorkbook(int process, const std::string& path);
  int AddWorksheet(int process, int workbook, const std::string& name);
  // A chart sheet after the workbook's sheets; it counts in Sheets and in
  // every sheet's Index, but not in Worksheets, and has no cells.
  int AddChartSheet(int process, int workbook, const std::string& name);
  // Makes sheet |sheet| (an index among all sheets) the active one.
  void ActivateSheet(int process, int workbook, int sheet);
  void SetText(int process, int workbook, int sheet, int row, int column,
               const std::string& text);
  void SetNumber(int process, int workbook, int sheet, int row, int column,
                 double number);
  // The process registered as the active "Excel.Application"; -1: none.
  void SetActiveProcess(int process) { activeProcess_ = process; }
  int activeProcess() const { return activeProcess_; }
  // Workbooks.Add accepts this template path, making a workbook of one
  // worksheet named |sheetName|.
  void AddTemplate(const std::string& path, const std::string& sheetName);
  // The add-in manager of |process|: its hooks, and an entry already in its
  // list (as Excel remembers add-ins between runs).
  void SetAddinHooks(int process, ModelAddinHooks hooks);
  void ListAddin(int process, ModelAddin addin);

  // Excel 4.0 macros blocked in |process| (Trust Center, or by policy):
  // ExecuteExcel4Macro raises an error and runs nothing.
  void BlockMacros(int process) {
    processes_.at(static_cast<size_t>(process)).macrosBlocked = true;
  }
  // The workbook's window is in Protected View: its Window object gives no
  // Application.
  void SetProtectedView(int process, int workbook, bool on);
  // A new reference to the Window object of |workbook|'s window, as a
  // workbook window hands it out for OBJID_NATIVEOM.
  int WindowObject(int process, int workbook);

  // Failure knobs: |member| on objects of |kind| in |process| fails with
  // |hr|; or answers with |answer| (which must not be an object).
  void FailMember(int process, ModelKind kind, int32_t member, ModelResult hr);
  void AnswerMember(int process, ModelKind kind, int32_t member,
                    ModelValue answer);

  // What the skins call.
  // The active process's Application with a new reference, or 0.
  int ActiveObject();
  struct RunningEntry {
    std::string name;
    int process;
    int workbook;  // -1: the active-object registration, which binds to
                   // nothing on its own
  };
  std::vector<RunningEntry> RunningEntries() const;
  // A new reference to the workbook of |entry|, or 0.
  int Bind(const RunningEntry& entry);
  ModelResult GetIdOfName(int objectId, const std::string& name,
                          uint32_t locale, int32_t* member);
  ModelResult Invoke(int objectId, int32_t member, uint16_t invokeKind,
                     uint32_t locale, const std::vector<ModelValue>& arguments,
                     ModelValue* result);
  void AddRef(int objectId);
  void Release(int objectId);
  bool Knows(int objectId) const { return objects_.count(objectId) != 0; }
  ModelKind KindOf(int objectId) const;

  // What tests read.
  const std::vector<InvokeRecord>& invokes() const { return invokes_; }
  // The locale of every name lookup, in order.
  const std::vector<uint32_t>& nameLocales() const { return nameLocales_; }
  // Calls refused because their invoke flags did not include the kind the
  // member is declared with.
  int wrongInvokeFlags() const { return wrongInvokeFlags_; }
  // Application.DisplayAlerts of |process| (true, as Excel starts).
  bool displayAlerts(int process) const;
  // Alerts |process| raised: Excel asks the user before it adds an add-in
  // (copy it to the add-ins folder?) unless DisplayAlerts is off. An
  // invisible Excel waits for that answer forever.
  int alerts(int process) const;
  // What Application.Hwnd of |process| answers (0 unless set).
  void SetWindowHandle(int process, int32_t handle);
  int InvokesOn(ModelKind kind) const;
  const std::vector<std::string>& macros(int process) const;
  // References handed out and not yet released, over all objects.
  int OutstandingReferences() const;
  // Releases of references that were never handed out.
  int overReleases() const { return overReleases_; }
  // Calls on objects whose every reference was already released.
  int deadUses() const { return deadUses_; }
  int ApplicationObject(int process) const;
  struct ActiveCell {
    std::string sheet;
    int row = 0;
    int column = 0;
  };
  ActiveCell ActiveCellOf(int process) const;
  int WorkbookCount(int process) const;
  // Sets the active cell of sheet |sheet| (sheet coordinates).
  void SetActiveCell(int process, int workbook, int sheet, int row,
                     int column);
  // The cell at |row|, |column| of sheet |sheet|; null when empty.
  const ModelCell* CellAt(int process, int workbook, int sheet, int row,
                          int column) const;
  // How many cells of sheet |sheet| hold something.
  int FilledCells(int process, int workbook, int sheet) const;
  // The names of the workbook's sheets in order, and the active one.
  std::vector<std::string> SheetNames(int process, int workbook) const;
  int ActiveSheetOf(int process, int workbook) const;
  // Rows frozen at the top of sheet |sheet| (its window's FreezePanes with
  // SplitRow); 0 when its panes are not frozen.
  int FrozenRows(int process, int workbook, int sheet) const;
  // The columns of sheet |sheet| fitted by AutoFit, each once, in order.
  std::vector<int> FittedColumns(int process, int workbook, int sheet) const;
  // Workbooks of |process| closed through Workbook.Close.
  int ClosedWorkbookCount(int process) const;
  const std::vector<ModelAddin>& addins(int process) const;
  int quits(int process) const;

 private:
  struct Sheet {
    std::string name;
    bool chart = false;
    std::map<std::pair<int, int>, ModelCell> cells;
    int activeRow = 1;
    int activeColumn = 1;
    int splitRow = 0;
    int splitColumn = 0;
    bool frozen = false;
    std::vector<int> fittedColumns;
  };
  struct Book {
    std::string path;
    std::vector<Sheet> sheets;
    int activeSheet = 0;
    int objectId = 0;  // the workbook's own, lasting object
    bool closed = false;
    bool protectedView = false;
  };
  struct Process {
    LibraryCall library;
    std::vector<Book> books;
    int activeBook = -1;
    int applicationId = 0;
    std::vector<std::string> macros;
    ModelAddinHooks addinHooks;
    std::vector<ModelAddin> addins;
    int quits = 0;
    bool displayAlerts = true;
    int alerts = 0;
    int32_t windowHandle = 0;
    bool macrosBlocked = false;
  };
  struct Object {
    ModelKind kind;
    int process;
    int book = -1;
    int sheet = -1;  // kAddIn: the index in the process's add-in list
    int top = 0, left = 0, bottom = 0, right = 0;  // kRange, sheet cells
    bool lasting = false;  // held by the model itself (one reference)
    int references = 0;
  };
  struct Knob {
    ModelResult hr = 0;
    bool answers = false;
    ModelValue answer;
  };

  int NewObject(Object object);
  ModelValue NewObjectValue(Object object);
  ModelValue Reference(int objectId);
  ModelResult Member(Object& object, int32_t member, uint16_t invokeKind,
                     const std::vector<ModelValue>& arguments,
                     ModelValue* result);
  ModelResult ApplicationMember(Object& object, int32_t member,
                                const std::vector<ModelValue>& arguments,
                                ModelValue* result);
  ModelResult AddinMember(Object& object, int32_t member, uint16_t invokeKind,
                          const std::vector<ModelValue>& arguments,
                          ModelValue* result);
  ModelResult SheetsMember(Object& object, int32_t member,
                           const std::vector<ModelValue>& arguments,
                           ModelValue* result);
  ModelResult RangeValue(const Object& range, ModelValue* result) const;
  // The members Find duplicates writes its sheet with (in
  // fake_excel_sheet_writes.cpp); false when |member| is none of them.
  bool SheetWriteMember(Object& object, int32_t member, uint16_t invokeKind,
                        const std::vector<ModelValue>& arguments,
                        ModelValue* result, ModelResult* hr);
  ModelResult PutRangeValue(const Object& range, const ModelValue& value);
  ModelResult RenameSheet(const Object& sheet, const ModelValue& name);
  ModelResult AddSheet(const Object& worksheets, ModelValue* result);
  // The object of sheet |sheet| of |book|: a worksheet or a chart.
  Object SheetObject(int process, int book, int sheet) const;
  ModelResult ExecuteMacro(Process& process, const std::string& macro,
                           ModelValue* result);
  Sheet& SheetOf(const Object& object);
  Object UsedRangeOf(int process, int book, int sheet);

  std::map<int, Object> objects_;
  std::vector<Process> processes_;
  std::map<std::string, std::string> templates_;
  std::map<std::pair<int, std::pair<int, int32_t>>, Knob> knobs_;
  std::vector<InvokeRecord> invokes_;
  std::vector<uint32_t> nameLocales_;
  int wrongInvokeFlags_ = 0;
  int activeProcess_ = -1;
  int nextId_ = 1;
  int overReleases_ = 0;
  int deadUses_ = 0;
};

// Excel's HRESULTs and identifiers the model answers with.
constexpr ModelResult kModelOk = 0;
constexpr ModelResult kModelUnknownName = static_cast<int32_t>(0x80020006u);
constexpr ModelResult kModelMemberNotFound = static_cast<int32_t>(0x80020003u);
constexpr ModelResult kModelBadParamCount = static_cast<int32_t>(0x8002000Eu);
constexpr ModelResult kModelTypeMismatch = static_cast<int32_t>(0x80020005u);
constexpr ModelResult kModelBadIndex = static_cast<int32_t>(0x8002000Bu);
constexpr ModelResult kModelException = static_cast<int32_t>(0x80020009u);
constexpr int32_t kModelApplicationMember = 0x0094;
constexpr int32_t kModelExecuteExcel4Macro = 0x015E;
constexpr int32_t kModelVersion = 0x0188;

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FAKES_FAKE_EXCEL_MODEL_H_
