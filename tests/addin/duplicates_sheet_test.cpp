// Find duplicates' host-free logic: choosing the column and its header,
// addresses and links, the sheet's name, the result array's shape and
// encoding, and the rows against the product library's own answers for
// the same values (scores by mf_compare, groups by mf_dedupe).

#include "duplicates_sheet.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "marrowfield_api.h"

namespace marrowfield {
namespace {

// A used range from rows of cells: "" empty, "#..." a number, else text.
UsedCells Grid(const std::vector<std::vector<std::string>>& rows,
               int32_t top = 1, int32_t left = 1) {
  AutomationArray array;
  array.rows = static_cast<int32_t>(rows.size());
  array.columns = static_cast<int32_t>(rows.front().size());
  for (const auto& row : rows) {
    for (const std::string& cell : row) {
      if (cell.empty()) {
        array.cells.emplace_back();
      } else if (cell[0] == '#') {
        array.cells.push_back(
            AutomationValue::Double(std::stod(cell.substr(1))));
      } else {
        array.cells.push_back(AutomationValue::String(cell));
      }
    }
  }
  return ToUsedCells(AutomationValue::Array(std::move(array)), top, left);
}

TEST(DuplicatesColumn, IsTheActiveCellsWithinTheUsedRangeElseTheFirst) {
  const UsedCells cells = Grid({{"a", "b", "c"}}, 4, 3);  // columns C:E
  const struct {
    int32_t active;
    int32_t expected;
  } cases[] = {{3, 1}, {4, 2}, {5, 3}, {2, 1}, {6, 1}, {0, 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(DefaultDuplicatesColumn(cells, c.active), c.expected)
        << "active column " << c.active;
  }
}

TEST(DuplicatesColumnOf, KeepsOneColumnAndWhereItLies) {
  const UsedCells cells = Grid({{"a", "#1", "b"}, {"", "c", "#2"}}, 4, 3);
  const UsedCells middle = ColumnOf(cells, 2);
  ASSERT_EQ(middle.rows, 2);
  ASSERT_EQ(middle.columns, 1);
  EXPECT_EQ(middle.top, 4);
  EXPECT_EQ(middle.left, 4);
  EXPECT_EQ(middle.KindAt(1, 1), UsedCells::Kind::kOther);
  EXPECT_EQ(middle.TextAt(2, 1), "c");
  EXPECT_EQ(ColumnOf(cells, 4).columns, 0);
  EXPECT_EQ(ColumnOf(cells, 0).columns, 0);
}

TEST(DuplicatesHeader, IsAFirstRowOfTextsOverMoreRows) {
  const struct {
    const char* label;
    std::vector<std::vector<std::string>> rows;
    int32_t column;
    bool header;
  } cases[] = {
      {"labels over data", {{"Name", "Age"}, {"Smith", "#40"}}, 1, true},
      {"a label beside an empty cell",
       {{"Name", ""}, {"Smith", "#40"}},
       1,
       true},
      {"a number in the first row",
       {{"Name", "#1"}, {"Smith", "#40"}},
       1,
       false},
      {"the column's first cell empty",
       {{"", "Age"}, {"Smith", "#40"}},
       1,
       false},
      {"the column's first cell a number",
       {{"#3", "Age"}, {"x", "y"}},
       1,
       false},
      {"one row only", {{"Name", "Age"}}, 1, false},
      {"a column out of range", {{"Name"}, {"Smith"}}, 2, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FirstRowIsHeader(Grid(c.rows), c.column), c.header) << c.label;
  }
}

TEST(UsedCellsOf, ReadsSingleValuesEmptyRangesAndEmptyTexts) {
  const UsedCells one = ToUsedCells(AutomationValue::String("Smith"), 2, 3);
  EXPECT_EQ(one.rows, 1);
  EXPECT_EQ(one.columns, 1);
  EXPECT_EQ(one.TextAt(1, 1), "Smith");
  const UsedCells none = ToUsedCells(AutomationValue(), 1, 1);
  EXPECT_EQ(none.rows, 0);
  EXPECT_EQ(none.columns, 0);
  const UsedCells blank = ToUsedCells(AutomationValue::String(""), 1, 1);
  EXPECT_EQ(blank.KindAt(1, 1), UsedCells::Kind::kEmpty);
  const UsedCells number = ToUsedCells(AutomationValue::Int32(4), 1, 1);
  EXPECT_EQ(number.KindAt(1, 1), UsedCells::Kind::kOther);
  EXPECT_EQ(number.TextAt(1, 1), "");
}

TEST(CellAddresses, SpellColumnsInLetters) {
  const struct {
    int32_t row;
    int32_t column;
    const char* address;
  } cases[] = {{1, 1, "A1"},     {12, 2, "B12"},
               {5, 26, "Z5"},    {5, 27, "AA5"},
               {7, 52, "AZ7"},   {9, 702, "ZZ9"},
               {9, 703, "AAA9"}, {1048576, 16384, "XFD1048576"}};
  for (const auto& c : cases) {
    EXPECT_EQ(CellAddress(c.row, c.column), c.address);
  }
}

TEST(CellLinks, QuoteTheSheetNameForTheFormula) {
  EXPECT_EQ(CellLinkFormula("Names", 3, 2),
            "=HYPERLINK(\"#'Names'!B3\",\"B3\")");
  // Quotes in the sheet name doubled inside the name, then every double
  // quote doubled inside the formula's string.
  EXPECT_EQ(CellLinkFormula("O'Brien \"list\"", 1, 1),
            "=HYPERLINK(\"#'O''Brien \"\"list\"\"'!A1\",\"A1\")");
}

TEST(DuplicatesSheetNames, TakeTheFirstFreeNumber) {
  const struct {
    std::vector<std::string> taken;
    const char* name;
  } cases[] = {
      {{}, "Duplicates"},
      {{"Sheet1"}, "Duplicates"},
      {{"Duplicates"}, "Duplicates (2)"},
      {{"DUPLICATES"}, "Duplicates (2)"},
      {{"Duplicates", "duplicates (2)"}, "Duplicates (3)"},
      {{"Duplicates (2)"}, "Duplicates"},
      {{"Duplicates", "Duplicates (3)"}, "Duplicates (2)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DuplicatesSheetName(c.taken), c.name);
  }
}

TEST(DuplicatesArrayOf, HasAHeaderRowAndPrefixesTexts) {
  DuplicateRow row;
  row.group = 1;
  row.suggested = "Smith";
  row.text = "=Smyth";
  row.score = 87;
  row.via = "Smith";
  row.sheetRow = 4;
  row.sheetColumn = 3;
  const AutomationArray array = DuplicatesArray({row, row}, "Names");
  ASSERT_EQ(array.rows, 3);
  ASSERT_EQ(array.columns, kDuplicatesColumns);
  EXPECT_EQ(array.At(1, 1).text(), "Group");
  EXPECT_EQ(array.At(1, 6).text(), "Cell");
  EXPECT_EQ(array.At(2, 1).int32(), 1);
  EXPECT_EQ(array.At(2, 2).text(), "'Smith");
  // A text that looks like a formula stays a text.
  EXPECT_EQ(array.At(3, 3).text(), "'=Smyth");
  EXPECT_EQ(array.At(2, 4).int32(), 87);
  EXPECT_EQ(array.At(3, 6).text(), CellLinkFormula("Names", 4, 3));
}

int Compare(const std::string& a, const std::string& b, bool tolerant) {
  mf_options_t* options = mf_options_create();
  mf_options_set_whole_cell(options, 0);
  mf_options_set_scoring(options,
                         tolerant ? MF_SCORING_TOLERANT : MF_SCORING_STRICT);
  int score = -1;
  EXPECT_EQ(mf_compare(options, a.c_str(), b.c_str(), &score, nullptr), MF_OK);
  mf_options_destroy(options);
  return score;
}

TEST(DuplicateRowsOf, AgreeWithTheLibrarysScoresAndKeepEveryCell) {
  const std::vector<std::vector<std::string>> column = {
      {"Surname"}, {"Smith"}, {"Smyth"}, {"#12"},      {""},     {"Jones"},
      {"Smith"},   {"Johns"}, {"Brown"}, {"Zbigniew"}, {"Braun"}};
  for (bool tolerant : {false, true}) {
    DuplicatesChoice choice;
    choice.header = true;
    choice.scoring.mode = tolerant ? MF_SCORING_TOLERANT : MF_SCORING_STRICT;
    const std::vector<DuplicateRow> rows =
        FindDuplicateRows(Grid(column, 10, 4), choice, DedupeRun());
    ASSERT_FALSE(rows.empty());
    std::set<int32_t> seen;
    int32_t group = 0;
    for (const DuplicateRow& row : rows) {
      // Groups come in order and each cell once, at its sheet address.
      EXPECT_GE(row.group, group);
      group = row.group;
      EXPECT_TRUE(seen.insert(row.sheetRow).second);
      EXPECT_EQ(row.sheetColumn, 4);
      const std::string& cell =
          column[static_cast<std::size_t>(row.sheetRow - 10)][0];
      EXPECT_EQ(row.text, cell);
      EXPECT_NE(row.sheetRow, 10) << "the header is no value";
      EXPECT_EQ(row.score, Compare(row.suggested, row.text, tolerant))
          << row.text;
      if (row.text != row.suggested) {
        EXPECT_GE(Compare(row.via, row.text, tolerant), choice.accuracy)
            << row.text << " via " << row.via;
      }
    }
    // Smith twice: the most frequent spelling names its group, which
    // comes first, and both of its cells are listed.
    EXPECT_EQ(rows.front().suggested, "Smith");
    EXPECT_EQ(
        std::count_if(rows.begin(), rows.end(),
                      [](const DuplicateRow& r) { return r.text == "Smith"; }),
        2);
  }
}

TEST(DuplicateRowsOf, AreNoneForAColumnWithoutTexts) {
  DuplicatesChoice choice;
  EXPECT_TRUE(
      FindDuplicateRows(Grid({{"#1"}, {""}, {"#2"}}), choice, DedupeRun())
          .empty());
  choice.column = 2;  // beyond the range
  EXPECT_TRUE(
      FindDuplicateRows(Grid({{"Smith"}, {"Smith"}}), choice, DedupeRun())
          .empty());
}

TEST(DuplicateRowsOf, CancelledBeforeTheStartThrows) {
  DedupeRun run;
  run.cancel = [](void*) { return 1; };
  DuplicatesChoice choice;
  EXPECT_THROW(FindDuplicateRows(Grid({{"Smith"}, {"Smyth"}}), choice, run),
               DedupeCancelled);
}

}  // namespace
}  // namespace marrowfield
