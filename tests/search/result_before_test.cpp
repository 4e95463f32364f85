// The result order: score first, then cell text byte by byte, unsigned.
#include <gtest/gtest.h>

#include <string>

#include "marrowfield/sheet_search.h"

namespace marrowfield {
namespace {

SearchResult Result(const std::string& text, int32_t score) {
  return SearchResult{0, 1, 1, text, score};
}

struct OrderCase {
  const char* name;
  std::string firstText;
  int32_t firstScore;
  std::string secondText;
  int32_t secondScore;
};

class ResultBeforeTest : public ::testing::TestWithParam<OrderCase> {};

// Each case lists a pair in its right order: first must come before second,
// and never the other way round.
TEST_P(ResultBeforeTest, OrdersPairOneWayOnly) {
  const OrderCase& c = GetParam();
  const SearchResult first = Result(c.firstText, c.firstScore);
  const SearchResult second = Result(c.secondText, c.secondScore);
  EXPECT_TRUE(ResultBefore(first, second));
  EXPECT_FALSE(ResultBefore(second, first));
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, ResultBeforeTest,
    ::testing::Values(
        OrderCase{"HigherScoreFirst", "Zeta", 90, "Alpha", 80},
        OrderCase{"HigherScoreFirstWhateverTheText", "", 61, "Smith", 60},
        OrderCase{"EqualScoresSmallerByteFirst", "Smith", 70, "Smyth", 70},
        OrderCase{"UpperCaseBeforeLowerCase", "Smith", 70, "smith", 70},
        OrderCase{"PrefixFirst", "Smit", 70, "Smith", 70},
        OrderCase{"EmptyPrefixFirst", "", 70, "a", 70},
        OrderCase{"BytesAboveAsciiCompareUnsigned", "Smith", 70, "Sm\xC3\xBFth",
                  70},
        OrderCase{"HighByteAfterTilde", "~", 70, "\x80", 70}),
    [](const ::testing::TestParamInfo<OrderCase>& info) {
      return std::string(info.param.name);
    });

TEST(ResultBefore, EqualRecordsAreNotOrdered) {
  const SearchResult a = Result("Smith", 80);
  SearchResult b = Result("Smith", 80);
  b.row = 7;
  EXPECT_FALSE(ResultBefore(a, b));
  EXPECT_FALSE(ResultBefore(b, a));
}

}  // namespace
}  // namespace marrowfield
