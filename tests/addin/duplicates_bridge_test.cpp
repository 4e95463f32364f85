// Find duplicates through the bridge to a fake Excel world, the same cases
// natively behind the fake automation port and under Wine through real COM
// objects and the add-in's COM adapter (arrays as SAFEARRAYs, texts as
// BSTRs): the sheet written must hold, cell for cell, the header and the
// rows of FindDuplicateRows on the column (whose agreement with the
// command line's dedupe the native tests check), and every reference must
// go back once.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "automation_bridge.h"
#include "bridge_rig.h"
#include "bridge_state.h"
#include "duplicates_dialog.h"
#include "duplicates_sheet.h"
#include "fake_duplicates_view.h"
#include "fake_xlcall32.h"

namespace marrowfield {
namespace {

class DuplicatesBridge : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    rig_ = MakeBridgeRig();
    fake_xl_set_addin_path(rig_->LibraryPath().c_str());
    g_pdispXL = nullptr;
    g_pdispWorkbooks = nullptr;
    bridge_ = std::make_unique<AutomationBridge>(rig_->port(), rig_->debug());
    process_ = rig_->AddOwnProcess();
    book_ = rig_->model().AddWorkbook(process_, "C:\\Books\\names.xlsx");
    sheet_ = rig_->model().AddWorksheet(process_, book_, "Names");
    rig_->model().SetActiveProcess(process_);
  }
  void TearDown() override {
    bridge_->ReleaseApplication();
    ForgetHostConnection();
    rig_->Withdraw();
    EXPECT_EQ(rig_->model().OutstandingReferences(), 0);
    EXPECT_EQ(rig_->model().overReleases(), 0);
    EXPECT_EQ(rig_->model().deadUses(), 0);
    EXPECT_EQ(rig_->model().wrongInvokeFlags(), 0);
    bridge_.reset();
    rig_.reset();
  }
  void Connect() {
    rig_->Publish();
    ASSERT_EQ(bridge_->ConnectToHost(), kSOk);
  }
  // Texts ("" for an empty cell, "#n" for a number) down column B from
  // row 2.
  void Fill(const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const int row = static_cast<int>(i) + 2;
      if (cells[i].empty()) continue;
      if (cells[i][0] == '#') {
        rig_->model().SetNumber(process_, book_, sheet_, row, 2,
                                std::stod(cells[i].substr(1)));
      } else {
        rig_->model().SetText(process_, book_, sheet_, row, 2, cells[i]);
      }
    }
    rig_->model().SetActiveCell(process_, book_, sheet_, 2, 2);
  }
  // The used range B2:B(n+1) as Find duplicates reads it.
  UsedCells Used(const std::vector<std::string>& cells) {
    AutomationArray array;
    array.rows = static_cast<int32_t>(cells.size());
    array.columns = 1;
    for (const std::string& cell : cells) {
      if (cell.empty()) {
        array.cells.emplace_back();
      } else if (cell[0] == '#') {
        array.cells.push_back(
            AutomationValue::Double(std::stod(cell.substr(1))));
      } else {
        array.cells.push_back(AutomationValue::String(cell));
      }
    }
    if (cells.size() == 1) {
      return ToUsedCells(std::move(array.cells[0]), 2, 2);
    }
    return ToUsedCells(AutomationValue::Array(std::move(array)), 2, 2);
  }
  // What a written cell shows, as the array's value would show it.
  std::string Shown(int sheet, int row, int column) {
    const ModelCell* cell =
        rig_->model().CellAt(process_, book_, sheet, row, column);
    if (cell == nullptr) return "<empty>";
    if (!cell->formula.empty()) return cell->formula;
    if (cell->isText) return "'" + cell->text;
    return std::to_string(static_cast<long long>(cell->number));
  }
  std::string Expected(const AutomationValue& value) {
    if (value.kind() == ValueKind::kInt32) return std::to_string(value.int32());
    const std::string& text = value.text();
    // The header's titles are written as they are.
    return text.empty() || text[0] == '\'' || text[0] == '=' ? text
                                                             : "'" + text;
  }

  std::unique_ptr<BridgeRig> rig_;
  std::unique_ptr<AutomationBridge> bridge_;
  int process_ = 0;
  int book_ = 0;
  int sheet_ = 0;
};

struct BridgeCase {
  const char* label;
  std::vector<std::string> cells;
  bool header;
};

void PrintTo(const BridgeCase& c, std::ostream* out) { *out << c.label; }

class DuplicatesBridgeCases : public DuplicatesBridge,
                              public ::testing::WithParamInterface<BridgeCase> {
};

TEST_P(DuplicatesBridgeCases, WritesFindDuplicateRowsOnANewSheet) {
  const BridgeCase& c = GetParam();
  Fill(c.cells);
  Connect();
  DuplicatesDialog dialog([this] { return bridge_->Application(); }, 2);
  FakeDuplicatesView view;
  dialog.Initialise(view);
  ASSERT_FALSE(view.ended) << c.label;
  view.header = c.header;
  view.Click(dialog, 1);
  view.Finish(dialog);

  DuplicatesChoice choice;
  choice.header = c.header;
  const std::vector<DuplicateRow> rows =
      FindDuplicateRows(Used(c.cells), choice, DedupeRun());
  const std::vector<std::string> names =
      rig_->model().SheetNames(process_, book_);
  if (rows.empty()) {
    EXPECT_EQ(view.messages, std::vector<std::string>{"No duplicates found"});
    EXPECT_EQ(names, std::vector<std::string>{"Names"});
    return;
  }
  ASSERT_EQ(view.endResult, kDuplicatesWritten) << c.label;
  ASSERT_EQ(names.size(), 2u);
  const int written = rig_->model().ActiveSheetOf(process_, book_);
  EXPECT_EQ(names[static_cast<std::size_t>(written)], "Duplicates");
  const AutomationArray expected = DuplicatesArray(rows, "Names");
  EXPECT_EQ(rig_->model().FilledCells(process_, book_, written),
            expected.rows * expected.columns);
  std::size_t differing = 0;
  for (int32_t row = 1; row <= expected.rows; ++row) {
    for (int32_t column = 1; column <= expected.columns; ++column) {
      const std::string want = Expected(expected.At(row, column));
      const std::string shown = Shown(written, row, column);
      if (shown != want && ++differing <= 5) {
        ADD_FAILURE() << c.label << ": " << CellAddress(row, column)
                      << " shows \"" << shown << "\", expected \"" << want
                      << "\"";
      }
    }
  }
  EXPECT_EQ(differing, 0u);
  EXPECT_EQ(rig_->model().FrozenRows(process_, book_, written), 1);
  EXPECT_EQ(rig_->model().FittedColumns(process_, book_, written),
            (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

std::vector<std::string> ManyNames() {
  const char* const stems[] = {"Smith", "Smyth", "Jones",  "Johns",
                               "Brown", "Braun", "Clark",  "Clarke",
                               "Wood",  "Woods", "Miller", "Muller"};
  std::vector<std::string> cells;
  for (int i = 0; i < 100000; ++i) {
    cells.push_back(std::string(stems[i % 12]) + " " +
                    static_cast<char>('A' + (i / 12) % 26) + ".");
  }
  return cells;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DuplicatesBridgeCases,
    ::testing::Values(
        BridgeCase{
            "Header", {"Surname", "Smith", "Smyth", "Jones", "Smith"}, true},
        BridgeCase{"NoHeader", {"Smith", "Smyth", "Jones", "Smith"}, false},
        BridgeCase{"EmptyCellsAndNumbers",
                   {"#3", "Brown", "", "Braun", "#4.5", "", "Browne"},
                   false},
        BridgeCase{"OneValue", {"Smith"}, false},
        BridgeCase{"AllEqual", {"Jones", "Jones", "Jones"}, false},
        BridgeCase{"NoneAlike", {"Smith", "Zbigniew", "Okafor"}, false},
        BridgeCase{"FormulaLikeAndQuotedTexts",
                   {"=Smith", "=Smith", "O'Brien", "O'Brian", "\"Jo\" Ann",
                    "\"Jo\" Ann"},
                   false},
        BridgeCase{"HundredThousandRows", ManyNames(), false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(DuplicatesBridge, DuplicatesTaken_WritesDuplicates2) {
  rig_->model().AddWorksheet(process_, book_, "Duplicates");
  rig_->model().ActivateSheet(process_, book_, 0);
  Fill({"Smith", "Smyth"});
  Connect();
  DuplicatesDialog dialog([this] { return bridge_->Application(); }, 2);
  FakeDuplicatesView view;
  dialog.Initialise(view);
  view.header = false;
  view.Click(dialog, 1);
  view.Finish(dialog);

  EXPECT_EQ(dialog.writtenSheet(), "Duplicates (2)");
  const std::vector<std::string> names =
      rig_->model().SheetNames(process_, book_);
  EXPECT_EQ(std::count(names.begin(), names.end(), "Duplicates (2)"), 1);
  EXPECT_EQ(names.size(), 3u);
}

TEST_F(DuplicatesBridge, CancelHalfway_LeavesTheWorkbookUnchanged) {
  Fill(ManyNames());
  Connect();
  DuplicatesDialog dialog([this] { return bridge_->Application(); }, 2);
  FakeDuplicatesView view;
  dialog.Initialise(view);
  view.Click(dialog, 1);
  // Cancel once the work has begun; the timer then collects its end.
  while (!dialog.working()) {
  }
  dialog.OnTimer();
  view.Click(dialog, 2);
  view.Finish(dialog);

  EXPECT_FALSE(view.ended);
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(rig_->model().SheetNames(process_, book_),
            std::vector<std::string>{"Names"});
  EXPECT_EQ(rig_->model().FilledCells(process_, book_, sheet_), 100000);
}

}  // namespace
}  // namespace marrowfield
