// Find duplicates end to end against the fake Excel behind the native
// automation port: the dialog reads the active sheet, dedupes the chosen
// column on its worker thread and writes the result sheet. Each case's
// expected sheet is worked out from the command line's dedupe of the same
// values (its CSV gives group, suggested spelling, text, score and via;
// each text then takes one row per cell, top to bottom).

#include "duplicates_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "cli_dedupe.h"
#include "duplicates_sheet.h"
#include "fake_automation_port.h"
#include "fake_duplicates_view.h"
#include "fake_excel_model.h"

namespace marrowfield {
namespace {

// One cell of the column, as the test puts it on the sheet.
struct Cell {
  enum Kind { kText, kNumber, kEmpty };
  Kind kind;
  std::string text;
  double number;
};
Cell T(std::string text) { return {Cell::kText, std::move(text), 0}; }
Cell N(double number) { return {Cell::kNumber, "", number}; }
Cell E() { return {Cell::kEmpty, "", 0}; }

class DuplicatesRig {
 public:
  DuplicatesRig()
      : port_(model_),
        process_(model_.AddProcess(
            [](const std::string&, int32_t*) { return false; })),
        book_(model_.AddWorkbook(process_, "C:\\Books\\names.xlsx")),
        sheet_(model_.AddWorksheet(process_, book_, "Names")),
        dialog_([this] { return Application(); }, 2) {}

  HostObject Application() {
    return HostObject(port_, FakeHandle(model_.ApplicationObject(process_)),
                      false);
  }
  // |cells| down sheet column |column| from |top|, with a neighbouring
  // column of numbers so that the used range is wider than the column.
  void Column(int top, int column, const std::vector<Cell>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const int row = top + static_cast<int>(i);
      if (cells[i].kind == Cell::kText) {
        model_.SetText(process_, book_, sheet_, row, column, cells[i].text);
      } else if (cells[i].kind == Cell::kNumber) {
        model_.SetNumber(process_, book_, sheet_, row, column, cells[i].number);
      }
    }
    model_.SetActiveCell(process_, book_, sheet_, top, column);
  }

  FakeExcelModel model_;
  FakeAutomationPort port_;
  int process_;
  int book_;
  int sheet_;
  FakeDuplicatesView view_;
  DuplicatesDialog dialog_;
};

struct DupCase {
  const char* label;
  std::vector<Cell> cells;
  bool guess;   // the dialog takes the first cell for a header
  bool header;  // the first cell is a header (the user corrects the guess)
  const char* flags;  // for the command line
  int accuracy;
  bool tolerant;
  bool wholeCell;
};

void PrintTo(const DupCase& c, std::ostream* out) { *out << c.label; }

// The rows the result sheet must hold below its header, from the command
// line's dedupe of the column's texts (header left out): its groups, and
// a group for each text it leaves out that fills more than one cell,
// biggest first by cells, then members, the command line's groups first
// among equals.
std::vector<std::vector<std::string>> ExpectedRows(const DupCase& c, int top,
                                                   int column) {
  std::vector<std::string> values;
  std::map<std::string, std::vector<int>> rowsOf;
  for (std::size_t i = c.header ? 1 : 0; i < c.cells.size(); ++i) {
    if (c.cells[i].kind != Cell::kText) continue;
    if (rowsOf[c.cells[i].text].empty()) values.push_back(c.cells[i].text);
    rowsOf[c.cells[i].text].push_back(top + static_cast<int>(i));
  }
  std::vector<std::vector<std::string>> rows;
  if (values.empty()) return rows;
  std::vector<std::string> texts;
  for (std::size_t i = c.header ? 1 : 0; i < c.cells.size(); ++i) {
    if (c.cells[i].kind == Cell::kText) texts.push_back(c.cells[i].text);
  }
  const CliDedupe cli = RunCliDedupe(c.label, texts, c.flags);
  std::vector<std::vector<CliGroupRow>> groups;
  for (const CliGroupRow& member : cli.rows) {
    EXPECT_EQ(cli.mapping.at(member.text), member.canonical) << c.label;
    if (groups.empty() || groups.back().front().group != member.group) {
      groups.emplace_back();
    }
    groups.back().push_back(member);
  }
  for (const std::string& value : values) {
    if (cli.mapping.count(value) == 0 && rowsOf[value].size() > 1) {
      groups.push_back({{0, value, value, 100, value}});
    }
  }
  auto cellsOf = [&rowsOf](const std::vector<CliGroupRow>& group) {
    std::size_t cells = 0;
    for (const CliGroupRow& member : group) cells += rowsOf[member.text].size();
    return cells;
  };
  std::stable_sort(groups.begin(), groups.end(),
                   [&cellsOf](const auto& a, const auto& b) {
                     if (cellsOf(a) != cellsOf(b)) {
                       return cellsOf(a) > cellsOf(b);
                     }
                     return a.size() > b.size();
                   });
  for (std::size_t g = 0; g < groups.size(); ++g) {
    for (const CliGroupRow& member : groups[g]) {
      for (int row : rowsOf[member.text]) {
        rows.push_back({std::to_string(g + 1), member.canonical, member.text,
                        std::to_string(member.score), member.via,
                        CellAddress(row, column)});
      }
    }
  }
  return rows;
}

// What a written cell shows, as the comparison wants it.
std::string Shown(const ModelCell* cell) {
  if (cell == nullptr) return "<empty>";
  if (cell->isText) return cell->text;
  return std::to_string(static_cast<long long>(cell->number));
}

class FindDuplicates : public ::testing::TestWithParam<DupCase> {};

TEST_P(FindDuplicates, WritesTheCommandLinesGroupsOnANewSheet) {
  const DupCase& c = GetParam();
  DuplicatesRig rig;
  constexpr int kTop = 3;
  constexpr int kColumn = 2;
  rig.Column(kTop, kColumn, c.cells);
  // A number beside the column, below its first row.
  rig.model_.SetNumber(rig.process_, rig.book_, rig.sheet_, kTop + 1, 1, 7);

  rig.dialog_.Initialise(rig.view_);
  ASSERT_FALSE(rig.view_.ended) << c.label;
  // Column B of the used range A:B, where the active cell is.
  EXPECT_EQ(rig.view_.column, 1) << c.label;
  EXPECT_EQ(rig.view_.header, c.guess) << c.label;
  rig.view_.header = c.header;
  EXPECT_EQ(rig.view_.accuracy, 60) << c.label;
  rig.view_.accuracy = c.accuracy;
  rig.view_.tolerant = c.tolerant;
  rig.view_.wholeCell = c.wholeCell;
  rig.view_.Click(rig.dialog_, 1);
  EXPECT_TRUE(rig.view_.working) << c.label;
  rig.view_.Finish(rig.dialog_);

  const std::vector<std::vector<std::string>> expected =
      ExpectedRows(c, kTop, kColumn);
  const std::vector<std::string> names =
      rig.model_.SheetNames(rig.process_, rig.book_);
  if (expected.empty()) {
    EXPECT_EQ(rig.view_.messages,
              std::vector<std::string>{"No duplicates found"})
        << c.label;
    EXPECT_EQ(names, std::vector<std::string>{"Names"}) << c.label;
    EXPECT_FALSE(rig.view_.ended) << c.label;
    return;
  }
  ASSERT_TRUE(rig.view_.ended) << c.label;
  EXPECT_EQ(rig.view_.endResult, kDuplicatesWritten) << c.label;
  ASSERT_EQ(names.size(), 2u) << c.label;
  const int result = rig.model_.ActiveSheetOf(rig.process_, rig.book_);
  EXPECT_EQ(names[static_cast<std::size_t>(result)], "Duplicates") << c.label;
  // The whole array in one assignment, the header included.
  EXPECT_EQ(rig.model_.FilledCells(rig.process_, rig.book_, result),
            static_cast<int>(expected.size() + 1) * kDuplicatesColumns)
      << c.label;
  const std::vector<std::string> header = {
      "Group", "Suggested spelling", "Text", "Score", "Via", "Cell"};
  for (int col = 1; col <= kDuplicatesColumns; ++col) {
    EXPECT_EQ(Shown(rig.model_.CellAt(rig.process_, rig.book_, result, 1, col)),
              header[static_cast<std::size_t>(col - 1)]);
  }
  std::size_t differing = 0;
  for (std::size_t r = 0; r < expected.size(); ++r) {
    for (int col = 1; col <= kDuplicatesColumns; ++col) {
      const std::string shown = Shown(rig.model_.CellAt(
          rig.process_, rig.book_, result, static_cast<int>(r) + 2, col));
      if (shown != expected[r][static_cast<std::size_t>(col - 1)] &&
          ++differing <= 5) {
        ADD_FAILURE() << c.label << ": row " << r + 2 << " column " << col
                      << " shows \"" << shown << "\", expected \""
                      << expected[r][static_cast<std::size_t>(col - 1)] << "\"";
      }
    }
  }
  EXPECT_EQ(differing, 0u) << c.label;
  // The links lead back to the cells of the searched sheet.
  const ModelCell* link =
      rig.model_.CellAt(rig.process_, rig.book_, result, 2, 6);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->formula, "=HYPERLINK(\"#'Names'!" + expected[0][5] + "\",\"" +
                               expected[0][5] + "\")");
  EXPECT_EQ(rig.model_.FrozenRows(rig.process_, rig.book_, result), 1);
  EXPECT_EQ(rig.model_.FittedColumns(rig.process_, rig.book_, result),
            (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(rig.model_.OutstandingReferences(), 0) << c.label;
}

std::vector<Cell> Texts(const std::vector<std::string>& texts) {
  std::vector<Cell> cells;
  for (const std::string& text : texts) cells.push_back(T(text));
  return cells;
}

// 100 000 names: a few hundred spellings, each many times, some alike.
std::vector<Cell> ManyRows() {
  const std::vector<std::string> stems = {
      "Smith", "Smyth", "Jones",  "Johns",    "Miller",  "Muller", "Brown",
      "Braun", "Clark", "Clarke", "Thompson", "Thomson", "Walker", "Wilson"};
  std::vector<Cell> cells;
  for (int i = 0; i < 100000; ++i) {
    const std::string& stem = stems[static_cast<std::size_t>(i) % stems.size()];
    cells.push_back(
        T(stem + " " + std::string(1, static_cast<char>('a' + (i / 14) % 20))));
  }
  return cells;
}

std::vector<DupCase> Cases() {
  const std::vector<Cell> names =
      Texts({"Smith", "Smyth", "Jones", "Smith", "Johns", "Catherine",
             "Kathryn", "Katherine", "Miller", "Muller", "Zbigniew", "Smith"});
  std::vector<Cell> withHeader = {T("Surname")};
  withHeader.insert(withHeader.end(), names.begin(), names.end());
  const std::vector<Cell> mixed = {N(3),        T("Brown"), E(),
                                   T("Braun"),  N(4.5),     E(),
                                   T("Browne"), T("Clark"), T("Clarke")};
  return {
      {"names", names, true, false, "", 60, false, false},
      {"header", withHeader, true, true, "", 60, false, false},
      {"empty cells and numbers", mixed, false, false, "", 60, false, false},
      {"one value", Texts({"Smith"}), true, false, "", 60, false, false},
      {"all equal", Texts({"Jones", "Jones", "Jones", "Jones"}), true, false,
       "", 60, false, false},
      {"none alike", Texts({"Smith", "Zbigniew", "Okafor"}), true, false, "",
       60, false, false},
      {"at 80 tolerant", names, true, false, "-a 80 --scoring tolerant", 80,
       true, false},
      {"whole cells",
       Texts({"Smith, John", "John Smith", "Dr. Jon Smyth", "Mary Jones",
              "Jones, Mary", "M. Jones"}),
       true, false, "--whole-cell", 60, false, true},
      {"100 000 rows", ManyRows(), true, false, "", 60, false, false},
  };
}

INSTANTIATE_TEST_SUITE_P(Cases, FindDuplicates, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<DupCase>& info) {
                           std::string name;
                           for (const char* c = info.param.label; *c; ++c) {
                             name +=
                                 std::isalnum(static_cast<unsigned char>(*c))
                                     ? *c
                                     : '_';
                           }
                           return name;
                         });

TEST(FindDuplicatesSheet, TakenNameGivesTheNextNumber) {
  DuplicatesRig rig;
  rig.model_.AddWorksheet(rig.process_, rig.book_, "duplicates");
  rig.model_.AddWorksheet(rig.process_, rig.book_, "Duplicates (2)");
  rig.model_.ActivateSheet(rig.process_, rig.book_, 0);
  rig.Column(1, 1, Texts({"Smith", "Smyth", "Smith"}));
  rig.dialog_.Initialise(rig.view_);
  rig.view_.Click(rig.dialog_, 1);
  rig.view_.Finish(rig.dialog_);
  EXPECT_EQ(rig.dialog_.writtenSheet(), "Duplicates (3)");
  const std::vector<std::string> names =
      rig.model_.SheetNames(rig.process_, rig.book_);
  EXPECT_EQ(std::count(names.begin(), names.end(), "Duplicates (3)"), 1);
  EXPECT_EQ(names.size(), 4u);
}

TEST(FindDuplicatesSheet, CancelLeavesTheWorkbookUnchanged) {
  DuplicatesRig rig;
  rig.Column(1, 1, ManyRows());
  rig.dialog_.Initialise(rig.view_);
  rig.view_.Click(rig.dialog_, 1);
  ASSERT_TRUE(rig.dialog_.working());
  // Cancel while the work runs; the timer then collects its end.
  rig.view_.Click(rig.dialog_, 2);
  rig.view_.Finish(rig.dialog_);
  EXPECT_FALSE(rig.dialog_.working());
  EXPECT_FALSE(rig.view_.ended);
  EXPECT_FALSE(rig.view_.working);
  EXPECT_TRUE(rig.view_.messages.empty());
  EXPECT_EQ(rig.model_.SheetNames(rig.process_, rig.book_),
            std::vector<std::string>{"Names"});
  EXPECT_EQ(rig.model_.FilledCells(rig.process_, rig.book_, 0), 100000);
  // The dialog stays usable: a second Find writes the sheet.
  rig.view_.Click(rig.dialog_, 1);
  rig.view_.Finish(rig.dialog_);
  EXPECT_EQ(rig.dialog_.writtenSheet(), "Duplicates");
}

TEST(FindDuplicatesSheet, ClosingDuringTheWorkStopsIt) {
  DuplicatesRig rig;
  rig.Column(1, 1, ManyRows());
  rig.dialog_.Initialise(rig.view_);
  rig.view_.Click(rig.dialog_, 1);
  rig.dialog_.Detach();
  EXPECT_FALSE(rig.dialog_.working());
  EXPECT_EQ(rig.model_.SheetNames(rig.process_, rig.book_),
            std::vector<std::string>{"Names"});
}

TEST(FindDuplicatesSheet, NoWorkbookSaysSoAndEnds) {
  FakeExcelModel model;
  FakeAutomationPort port(model);
  const int process =
      model.AddProcess([](const std::string&, int32_t*) { return false; });
  DuplicatesDialog dialog([&] {
    return HostObject(port, FakeHandle(model.ApplicationObject(process)),
                      false);
  });
  FakeDuplicatesView view;
  dialog.Initialise(view);
  EXPECT_TRUE(view.ended);
  EXPECT_EQ(view.endResult, kDuplicatesClosed);
  EXPECT_EQ(view.messages.size(), 1u);
}

}  // namespace
}  // namespace marrowfield
