// The bridge against a fake Excel world: finding our own host among
// several, the ways connecting fails, reading a used range and jumping to a
// found cell, and every reference given back once. This file runs twice:
// natively behind the fake automation port, and under Wine through real COM
// objects and the add-in's COM adapter.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "automation_bridge.h"
#include "bridge_rig.h"
#include "bridge_state.h"
#include "fake_host_documents.h"
#include "fake_xlcall32.h"
#include "host_functions.h"
#include "host_members.h"
#include "own_application.h"
#include "recorded_calls.h"
#include "sheet_cells.h"

namespace marrowfield {
namespace {

constexpr HResult kUnavailable = static_cast<HResult>(0x800401E3u);
// The locale VBA passes: English (United States). Excel resolves member
// names and reads [lcid] arguments with it, whatever the user's settings.
constexpr uint32_t kEnglishUnitedStates = 0x0409;
constexpr int32_t kExecuteExcel4Macro = 0x015E;

class BridgeScenarios : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    rig_ = MakeBridgeRig();
    fake_xl_set_addin_path(rig_->LibraryPath().c_str());
    g_pdispXL = nullptr;
    g_pdispWorkbooks = nullptr;
    g_bInstanceFlag = false;
    g_bOkayToSetIFlag = false;
    bridge_ = std::make_unique<AutomationBridge>(rig_->port(), rig_->debug());
  }

  void TearDown() override {
    bridge_->ReleaseApplication();
    ForgetHostConnection();
    rig_->Withdraw();
    // Every reference the add-in took was given back, none twice, and no
    // object was used after its last release.
    EXPECT_EQ(rig_->model().OutstandingReferences(), 0);
    EXPECT_EQ(rig_->model().overReleases(), 0);
    EXPECT_EQ(rig_->model().deadUses(), 0);
    EXPECT_EQ(fake_xl_open_documents(), 0);
    EXPECT_EQ(fake_xl_screen_updating(), 1);
    // Every call named Excel's members the way its type library declares
    // them, in the locale Excel reads English names in.
    EXPECT_EQ(rig_->model().wrongInvokeFlags(), 0);
    for (const InvokeRecord& record : rig_->model().invokes()) {
      EXPECT_EQ(record.locale, kEnglishUnitedStates)
          << "member 0x" << std::hex << record.member;
    }
    for (uint32_t locale : rig_->model().nameLocales()) {
      EXPECT_EQ(locale, kEnglishUnitedStates);
    }
    bridge_.reset();
    rig_.reset();
  }

  // A process with one saved workbook of one sheet.
  int AddHost(bool own, const std::string& bookPath) {
    const int process = own ? rig_->AddOwnProcess() : rig_->AddForeignProcess();
    const int book = rig_->model().AddWorkbook(process, bookPath);
    rig_->model().AddWorksheet(process, book, "Sheet1");
    return process;
  }

  int Connected() { return rig_->ObjectOf(g_pdispXL); }

  std::unique_ptr<BridgeRig> rig_;
  std::unique_ptr<AutomationBridge> bridge_;
};

TEST_F(BridgeScenarios, OneHost_ActiveObjectAnswersProbeAtOnce) {
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().SetActiveProcess(own);
  rig_->Publish();

  EXPECT_EQ(bridge_->ConnectToHost(), kSOk);

  EXPECT_EQ(Connected(), rig_->model().ApplicationObject(own));
  EXPECT_TRUE(g_bInstanceFlag);
  EXPECT_FALSE(g_bOkayToSetIFlag);
  EXPECT_NE(g_pdispWorkbooks, nullptr);
  ASSERT_EQ(rig_->model().macros(own).size(), 1u);
  EXPECT_EQ(rig_->model().macros(own)[0], BuildProbeMacro(rig_->LibraryPath()));
  // The running-object table's candidates are workbooks: none was asked.
  EXPECT_EQ(rig_->model().InvokesOn(ModelKind::kWorkbook), 0);
}

TEST_F(BridgeScenarios, TwoHosts_OursNotActive_WalkFindsOurs) {
  const int foreign = AddHost(false, "C:\\Books\\foreign.xlsx");
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().SetActiveProcess(foreign);
  rig_->Publish();

  EXPECT_EQ(bridge_->ConnectToHost(), kSOk);

  EXPECT_EQ(Connected(), rig_->model().ApplicationObject(own));
  EXPECT_GE(rig_->model().macros(foreign).size(), 1u);
  EXPECT_EQ(rig_->foreignProbes(),
            static_cast<int>(rig_->model().macros(foreign).size()));
  EXPECT_EQ(rig_->model().macros(own).size(), 1u);
  EXPECT_GE(rig_->model().InvokesOn(ModelKind::kWorkbook), 1);
}

TEST_F(BridgeScenarios, NoHostRegistered_FailsWithLookupResult_NoDocumentLeft) {
  AddHost(true, "C:\\Books\\own.xlsx");
  rig_->Publish();

  EXPECT_EQ(bridge_->ConnectToHost(), kUnavailable);

  EXPECT_EQ(g_pdispXL, nullptr);
  EXPECT_EQ(g_pdispWorkbooks, nullptr);
  EXPECT_EQ(RecordedArgsOf(xlcNew).size(), 1u);
  EXPECT_EQ(RecordedArgsOf(xlcClose).size(), 1u);
}

struct NewDocumentFailure {
  const char* name;
  int code;
  int errorValue;
};

class NewDocumentFails
    : public BridgeScenarios,
      public ::testing::WithParamInterface<NewDocumentFailure> {};

TEST_P(NewDocumentFails, NothingIsClosed) {
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().SetActiveProcess(own);
  rig_->Publish();
  fake_xl_set_command_answer(xlcNew, GetParam().code, GetParam().errorValue);

  EXPECT_EQ(bridge_->ConnectToHost(), kSOk);

  EXPECT_TRUE(RecordedArgsOf(xlcClose).empty());
  const auto echoes = RecordedArgsOf(xlcEcho);
  ASSERT_EQ(echoes.size(), 2u);
  EXPECT_EQ(echoes[0], std::vector<std::string>{"bool:0"});
  EXPECT_EQ(echoes[1], std::vector<std::string>{"bool:1"});
}

INSTANTIATE_TEST_SUITE_P(
    Answers, NewDocumentFails,
    ::testing::Values(NewDocumentFailure{"FailureCode", xlretFailed, -1},
                      NewDocumentFailure{"ErrorValue", 0, xlerrValue}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BridgeScenarios, ConnectTwice_FailsAndKeepsTheConnection) {
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().SetActiveProcess(own);
  rig_->Publish();
  ASSERT_EQ(bridge_->ConnectToHost(), kSOk);
  IDispatch* const first = g_pdispXL;
  IDispatch* const workbooks = g_pdispWorkbooks;

  EXPECT_EQ(bridge_->ConnectToHost(), kEFail);

  EXPECT_EQ(rig_->debugLines().back(), "NULL != g_pdispXL\n");
  EXPECT_EQ(g_pdispXL, first);
  EXPECT_EQ(g_pdispWorkbooks, workbooks);
  EXPECT_EQ(rig_->model().macros(own).size(), 1u);
  EXPECT_EQ(RecordedArgsOf(xlcClose).size(), 2u);
}

TEST_F(BridgeScenarios, LongLibraryPath_GivesMacroOf283Characters) {
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().SetActiveProcess(own);
  rig_->Publish();
  const std::string path = "C:\\" + std::string(248, 'p') + ".xll";
  ASSERT_EQ(path.size(), 255u);
  fake_xl_set_addin_path(path.c_str());

  bridge_->ConnectToHost();

  ASSERT_FALSE(rig_->model().macros(own).empty());
  const std::string& macro = rig_->model().macros(own)[0];
  EXPECT_EQ(macro.size(), 283u);
  EXPECT_EQ(macro, "cALL(\"" + path + "\",\"CheckInstance\",\"j\")");
  EXPECT_FALSE(g_bOkayToSetIFlag);
}

TEST_F(BridgeScenarios, ProbeMacro_IsInvokedAsAMethod) {
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().SetActiveProcess(own);
  rig_->Publish();

  ASSERT_EQ(bridge_->ConnectToHost(), kSOk);

  // ExecuteExcel4Macro is a method in Excel's type library: the flags must
  // include DISPATCH_METHOD, or a strict dispatcher does not find it.
  int probes = 0;
  for (const InvokeRecord& record : rig_->model().invokes()) {
    if (record.member != kExecuteExcel4Macro) continue;
    ++probes;
    EXPECT_NE(record.invokeKind & 1, 0);
  }
  EXPECT_EQ(probes, 1);
}

TEST_F(BridgeScenarios, LongPathWithAccentedLetters_ReachesTheHostIntact) {
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().SetActiveProcess(own);
  rig_->Publish();
  // 255 bytes in the ANSI code page, with letters above 127 (\xE9 is e
  // with an acute accent in Windows-1252), as Excel may hand the path.
  std::string path = "C:\\Benutzer\\Ren\xE9\\";
  path += std::string(255 - path.size() - 4, '\xE9') + ".xll";
  ASSERT_EQ(path.size(), 255u);
  fake_xl_set_addin_path(path.c_str());

  // The probe names a library this program is not, so no host answers it.
  bridge_->ConnectToHost();

  ASSERT_FALSE(rig_->model().macros(own).empty());
  EXPECT_EQ(rig_->model().macros(own)[0],
            "cALL(\"" + path + "\",\"CheckInstance\",\"j\")");
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
}

TEST_F(BridgeScenarios, WorkbooksNotAnObject_ParamNotFoundAndDropped) {
  const int own = AddHost(true, "C:\\Books\\own.xlsx");
  rig_->model().SetActiveProcess(own);
  rig_->model().AnswerMember(own, ModelKind::kApplication, kDispIdWorkbooks,
                             ModelValue::Integer(0, 3));
  rig_->Publish();

  EXPECT_EQ(bridge_->ConnectToHost(), kDispEParamNotFound);

  EXPECT_EQ(g_pdispXL, nullptr);
  EXPECT_EQ(g_pdispWorkbooks, nullptr);
  EXPECT_FALSE(g_bInstanceFlag);
}

// A connected bridge on a host whose active workbook has sheets "First" and
// "Names"; |fill| puts the cells on "Names".
class SheetScenarios : public BridgeScenarios {
 protected:
  void Build() {
    process_ = rig_->AddOwnProcess();
    book_ = rig_->model().AddWorkbook(process_, "C:\\Books\\names.xlsx");
    rig_->model().AddWorksheet(process_, book_, "First");
    sheet_ = rig_->model().AddWorksheet(process_, book_, "Names");
    rig_->model().SetActiveProcess(process_);
  }
  void Connect() {
    rig_->Publish();
    ASSERT_EQ(bridge_->ConnectToHost(), kSOk);
  }
  int process_ = 0;
  int book_ = 0;
  int sheet_ = 0;
};

TEST_F(SheetScenarios, UsedRangeAtC5_ReadAsRowsAndJumpLandsOnTheCell) {
  Build();
  rig_->model().SetText(process_, book_, sheet_, 5, 3, "Smith");
  rig_->model().SetNumber(process_, book_, sheet_, 5, 5, 12);
  rig_->model().SetText(process_, book_, sheet_, 6, 4, "Smyth");
  Connect();
  HostObject application = bridge_->Application();
  // The search runs on the sheet the user looks at.
  {
    HostObject sheets = application.Worksheets();
    sheets.Item(2).ActivateSheet();
  }

  const ActiveSheetValues values = ReadActiveSheet(application);

  ASSERT_TRUE(values.found);
  EXPECT_EQ(values.sheetIndex, 2);
  ASSERT_EQ(values.value.kind(), ValueKind::kArray);
  EXPECT_EQ(values.value.array().rows, 2);
  EXPECT_EQ(values.value.array().columns, 3);
  const CellGrid grid = ToCellGrid(values.value);
  ASSERT_EQ(grid.size(), 6u);
  EXPECT_TRUE(grid[0].isText);
  EXPECT_EQ(grid[0].text, "Smith");
  EXPECT_EQ(grid[0].row, 1);
  EXPECT_EQ(grid[0].column, 1);
  EXPECT_FALSE(grid[2].isText);  // the number at E5
  EXPECT_EQ(grid[4].text, "Smyth");
  EXPECT_EQ(grid[4].row, 2);
  EXPECT_EQ(grid[4].column, 2);

  // Another sheet is active when the user picks the result.
  {
    HostObject sheets = application.Worksheets();
    sheets.Item(1).ActivateSheet();
  }
  EXPECT_TRUE(ActivateFoundCell(application, values.sheetIndex, 1, 1));
  auto cell = rig_->model().ActiveCellOf(process_);
  EXPECT_EQ(cell.sheet, "Names");
  EXPECT_EQ(cell.row, 5);
  EXPECT_EQ(cell.column, 3);

  EXPECT_TRUE(ActivateFoundCell(application, values.sheetIndex, 2, 2));
  cell = rig_->model().ActiveCellOf(process_);
  EXPECT_EQ(cell.row, 6);
  EXPECT_EQ(cell.column, 4);
}

TEST_F(SheetScenarios, SingleCellUsedRange_IsAScalarAndJumpLandsOnIt) {
  Build();
  rig_->model().SetText(process_, book_, sheet_, 3, 2, "Catherine");
  Connect();
  HostObject application = bridge_->Application();
  {
    HostObject sheets = application.Worksheets();
    sheets.Item(2).ActivateSheet();
  }

  const ActiveSheetValues values = ReadActiveSheet(application);

  ASSERT_EQ(values.value.kind(), ValueKind::kString);
  EXPECT_EQ(values.value.text(), "Catherine");
  const CellGrid grid = ToCellGrid(values.value);
  ASSERT_EQ(grid.size(), 1u);
  EXPECT_EQ(grid[0].row, 1);
  EXPECT_EQ(grid[0].column, 1);
  EXPECT_TRUE(grid[0].isText);

  EXPECT_TRUE(ActivateFoundCell(application, values.sheetIndex, 1, 1));
  const auto cell = rig_->model().ActiveCellOf(process_);
  EXPECT_EQ(cell.sheet, "Names");
  EXPECT_EQ(cell.row, 3);
  EXPECT_EQ(cell.column, 2);
}

TEST_F(SheetScenarios, EmptySheet_ReadsAsTheEmptyValue) {
  Build();
  Connect();
  HostObject application = bridge_->Application();

  const ActiveSheetValues values = ReadActiveSheet(application);

  EXPECT_TRUE(values.found);
  EXPECT_EQ(values.sheetIndex, 1);
  EXPECT_TRUE(values.value.IsEmpty());
  EXPECT_TRUE(ToCellGrid(values.value).empty());
}

TEST_F(SheetScenarios, ChartSheetBeforeTheWorksheet_JumpLandsOnTheFoundCell) {
  process_ = rig_->AddOwnProcess();
  book_ = rig_->model().AddWorkbook(process_, "C:\\Books\\names.xlsx");
  rig_->model().AddChartSheet(process_, book_, "Chart1");
  sheet_ = rig_->model().AddWorksheet(process_, book_, "Names");
  rig_->model().SetText(process_, book_, sheet_, 4, 2, "Smith");
  rig_->model().ActivateSheet(process_, book_, sheet_);
  rig_->model().SetActiveProcess(process_);
  Connect();
  HostObject application = bridge_->Application();

  const ActiveSheetValues values = ReadActiveSheet(application);
  ASSERT_TRUE(values.found);
  ASSERT_TRUE(values.worksheet);
  // Index counts the chart sheet: the worksheet is the second sheet.
  EXPECT_EQ(values.sheetIndex, 2);

  rig_->model().ActivateSheet(process_, book_, 0);
  EXPECT_TRUE(ActivateFoundCell(application, values.sheetIndex, 1, 1));
  const auto cell = rig_->model().ActiveCellOf(process_);
  EXPECT_EQ(cell.sheet, "Names");
  EXPECT_EQ(cell.row, 4);
  EXPECT_EQ(cell.column, 2);
}

TEST_F(SheetScenarios, ChartSheetActive_IsFoundButNotAWorksheet) {
  Build();
  const int chart = rig_->model().AddChartSheet(process_, book_, "Chart1");
  rig_->model().ActivateSheet(process_, book_, chart);
  Connect();
  HostObject application = bridge_->Application();

  const ActiveSheetValues values = ReadActiveSheet(application);

  EXPECT_TRUE(values.found);
  EXPECT_FALSE(values.worksheet);
  EXPECT_TRUE(values.value.IsEmpty());
}

TEST_F(SheetScenarios, AddWorkbookFromTemplate_MakesTheNewBookActive) {
  Build();
  rig_->model().AddTemplate("C:\\Samples\\sample.xlt", "Sample");
  Connect();

  bridge_->AddWorkbookFromTemplate("C:\\Samples\\sample.xlt");

  EXPECT_EQ(rig_->model().WorkbookCount(process_), 2);
  EXPECT_EQ(rig_->model().ActiveCellOf(process_).sheet, "Sample");
}

}  // namespace
}  // namespace marrowfield
