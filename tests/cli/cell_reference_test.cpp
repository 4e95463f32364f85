// A1-style references, both ways.
#include "cell_reference.h"

#include <gtest/gtest.h>

namespace marrowfield {
namespace {

struct ReferenceCase {
  int32_t row;
  int32_t column;
  const char* reference;
};

class CellReferenceTest : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(CellReferenceTest, FormatsAndParsesBack) {
  const ReferenceCase& c = GetParam();
  EXPECT_EQ(CellReference(c.row, c.column), c.reference);
  int32_t row = 0;
  int32_t column = 0;
  ASSERT_TRUE(ParseCellReference(c.reference, row, column));
  EXPECT_EQ(row, c.row);
  EXPECT_EQ(column, c.column);
}

INSTANTIATE_TEST_SUITE_P(
    References, CellReferenceTest,
    ::testing::Values(ReferenceCase{1, 1, "A1"}, ReferenceCase{12, 2, "B12"},
                      ReferenceCase{3, 26, "Z3"}, ReferenceCase{3, 27, "AA3"},
                      ReferenceCase{9, 52, "AZ9"}, ReferenceCase{9, 53, "BA9"},
                      ReferenceCase{5, 702, "ZZ5"},
                      ReferenceCase{5, 703, "AAA5"},
                      ReferenceCase{1048576, 16384, "XFD1048576"}));

TEST(ParseCellReference, AcceptsLowerCaseLetters) {
  int32_t row = 0;
  int32_t column = 0;
  ASSERT_TRUE(ParseCellReference("c7", row, column));
  EXPECT_EQ(row, 7);
  EXPECT_EQ(column, 3);
}

TEST(ParseCellReference, RejectsWhatIsNotAWorksheetCell) {
  for (const char* bad : {"", "A", "12", "A0", "1A", "A1B", "$A$1", "XFE1",
                          "A1048577", "ABCD1", "A-1", "A 1"}) {
    int32_t row = -1;
    int32_t column = -1;
    EXPECT_FALSE(ParseCellReference(bad, row, column)) << bad;
    EXPECT_EQ(row, -1) << bad;
    EXPECT_EQ(column, -1) << bad;
  }
}

TEST(ColumnLetters, BeyondTheWorksheetStillCounts) {
  EXPECT_EQ(ColumnLetters(16385), "XFE");
  EXPECT_EQ(ColumnLetters(18279), "AAAA");
}

}  // namespace
}  // namespace marrowfield
