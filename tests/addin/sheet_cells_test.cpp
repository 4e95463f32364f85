// The used range's Value as the sheet search's grid, and the guards of the
// jump to a found cell.

#include "sheet_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scripted_port.h"

namespace marrowfield {
namespace {

AutomationValue Grid(int32_t rows, int32_t columns,
                     std::vector<AutomationValue> cells) {
  AutomationArray array;
  array.rows = rows;
  array.columns = columns;
  array.cells = std::move(cells);
  return AutomationValue::Array(std::move(array));
}

// "r,c:T:text" for text cells, "r,c:-" for others.
std::vector<std::string> Describe(const CellGrid& grid) {
  std::vector<std::string> cells;
  for (const GridCell& cell : grid) {
    std::string text =
        std::to_string(cell.row) + "," + std::to_string(cell.column) + ":";
    text += cell.isText ? "T:" + cell.text : "-";
    cells.push_back(text);
  }
  return cells;
}

struct GridCase {
  const char* name;
  AutomationValue (*value)();
  std::vector<std::string> cells;
};

const std::vector<GridCase>& GridCases() {
  static const std::vector<GridCase> cases = {
      {"Empty", [] { return AutomationValue(); }, {}},
      {"SingleText",
       [] { return AutomationValue::String("Smith"); },
       {"1,1:T:Smith"}},
      {"SingleNumber", [] { return AutomationValue::Double(12); }, {"1,1:-"}},
      {"RowsOuterColumnsInner",
       [] {
         std::vector<AutomationValue> cells;
         cells.push_back(AutomationValue::String("a"));
         cells.push_back(AutomationValue::Double(1));
         cells.push_back(AutomationValue());
         cells.push_back(AutomationValue::String("d"));
         cells.push_back(AutomationValue::Boolean(true));
         cells.push_back(AutomationValue::Error(2042));
         return Grid(2, 3, std::move(cells));
       },
       {"1,1:T:a", "1,2:-", "1,3:-", "2,1:T:d", "2,2:-", "2,3:-"}},
      {"EmptyTextIsStillText",
       [] {
         std::vector<AutomationValue> cells;
         cells.push_back(AutomationValue::String(""));
         cells.push_back(AutomationValue::String("x"));
         return Grid(2, 1, std::move(cells));
       },
       {"1,1:T:", "2,1:T:x"}},
  };
  return cases;
}

class ToCellGridCase : public ::testing::TestWithParam<GridCase> {};

TEST_P(ToCellGridCase, ListsCellsInSearchOrder) {
  EXPECT_EQ(Describe(ToCellGrid(GetParam().value())), GetParam().cells);
}

INSTANTIATE_TEST_SUITE_P(Values, ToCellGridCase,
                         ::testing::ValuesIn(GridCases()),
                         [](const auto& info) {
                           return std::string(info.param.name);
                         });

TEST(ActivateFoundCell, SheetIndexThatNamesNoWorksheet_CallsNothing) {
  for (int32_t index : {0, -1, 32768, 70000}) {
    ScriptedPort port;
    HostObject application(port, ScriptedPort::Handle(1), false);
    EXPECT_FALSE(ActivateFoundCell(application, index, 1, 1)) << index;
    EXPECT_TRUE(port.calls.empty()) << index;
  }
}

TEST(ActivateFoundCell, WithoutConnection_CallsNothing) {
  HostObject none;
  EXPECT_FALSE(ActivateFoundCell(none, 1, 1, 1));
}

TEST(ReadActiveSheet, WithoutConnection_FindsNoSheet) {
  HostObject none;
  const ActiveSheetValues values = ReadActiveSheet(none);
  EXPECT_FALSE(values.found);
  EXPECT_TRUE(values.value.IsEmpty());
}

TEST(ActivateFoundCell, ReleasesEveryObjectOnce) {
  ScriptedPort port;
  auto object = [](int number) {
    ScriptedPort::Answer answer;
    answer.kind = ScriptedPort::Answer::Kind::kObject;
    answer.object = number;
    return answer;
  };
  port.answers = {object(2), object(3), object(4), {}, object(5), {}};
  HostObject application(port, ScriptedPort::Handle(1), false);

  EXPECT_TRUE(ActivateFoundCell(application, 2, 3, 4));

  ASSERT_EQ(port.calls.size(), 6u);
  EXPECT_EQ(port.calls[1].arguments, std::vector<std::string>{"I2:2"});
  EXPECT_EQ(port.calls[4].arguments,
            (std::vector<std::string>{"I4:3", "I4:4"}));
  for (int number : {2, 3, 4, 5}) EXPECT_EQ(port.releases[number], 1) << number;
  EXPECT_EQ(port.releases[1], 0);
}

}  // namespace
}  // namespace marrowfield
