// TempValuePool and its makers: capacity by the record's real size, the
// values they build, and counted strings at the one-byte length limit.

#include "temp_value_pool.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "counted_string.h"
#include "value_description.h"

namespace marrowfield {
namespace {

class TempValuePoolTest : public ::testing::Test {
 protected:
  void SetUp() override { TheTempValuePool().Empty(); }
  void TearDown() override { TheTempValuePool().Empty(); }
};

TEST_F(TempValuePoolTest, HoldsSixtyFourRecordsOfTheirRealSize) {
  EXPECT_GE(sizeof(TempValuePool), 64 * sizeof(XLOPER));
  for (int i = 0; i < 64; ++i) {
    ASSERT_NE(MakeTempNumber(i), nullptr) << "slot " << i;
  }
  EXPECT_EQ(MakeTempNumber(64), nullptr);
  EXPECT_EQ(MakeTempInteger(1), nullptr);
  char text[] = "_x";
  EXPECT_EQ(MakeTempString(text), nullptr);
  EXPECT_EQ(TheTempValuePool().size(), 64u);
}

TEST_F(TempValuePoolTest, SlotsDoNotOverlap) {
  std::vector<XLOPER*> values;
  for (int i = 0; i < 64; ++i) values.push_back(MakeTempNumber(i));
  for (int i = 0; i < 64; ++i) {
    EXPECT_EQ(values[static_cast<std::size_t>(i)]->val.num, i);
  }
}

TEST_F(TempValuePoolTest, Empty_MakesEverySlotFreeAgain) {
  for (int i = 0; i < 64; ++i) MakeTempInteger(1);
  TheTempValuePool().Empty();
  EXPECT_EQ(TheTempValuePool().size(), 0u);
  EXPECT_NE(MakeTempInteger(2), nullptr);
}

TEST_F(TempValuePoolTest, Makers_BuildTypedValues) {
  EXPECT_EQ(DescribeValue(MakeTempNumber(10.5)), "num:10.5");
  EXPECT_EQ(DescribeValue(MakeTempInteger(-7)), "int:-7");
  char text[] = "_Help";
  EXPECT_EQ(DescribeValue(MakeTempString(text)), "str:Help");
}

struct LengthCase {
  std::size_t textLength;
  unsigned lengthByte;
};

void PrintTo(const LengthCase& c, std::ostream* os) {
  *os << c.textLength << " characters";
}

class MakeTempStringLength : public TempValuePoolTest,
                             public ::testing::WithParamInterface<LengthCase> {
};

TEST_P(MakeTempStringLength, WritesLengthIntoPlaceholderInPlace) {
  std::string storage = "_" + std::string(GetParam().textLength, 'a');
  XLOPER* value = MakeTempString(storage.data());
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->xltype, xltypeStr);
  EXPECT_EQ(value->val.str, storage.data());
  EXPECT_EQ(static_cast<unsigned char>(storage[0]), GetParam().lengthByte);
}

// Longer texts than a length byte can say are cut at 255, never wrapped.
INSTANTIATE_TEST_SUITE_P(
    Lengths, MakeTempStringLength,
    ::testing::Values(LengthCase{0, 0}, LengthCase{1, 1}, LengthCase{11, 11},
                      LengthCase{254, 254}, LengthCase{255, 255},
                      LengthCase{256, 255}, LengthCase{300, 255}),
    [](const auto& info) {
      return "Text" + std::to_string(info.param.textLength);
    });

TEST_F(TempValuePoolTest, MakeTempString_NullString_GivesNull) {
  EXPECT_EQ(MakeTempString(nullptr), nullptr);
  EXPECT_EQ(TheTempValuePool().size(), 0u);
}

TEST(CountedString, AsValue_CountsTheTextWithoutTakingAPoolSlot) {
  TheTempValuePool().Empty();
  CountedString text("Marrowfield");
  const XLOPER value = text.AsValue();
  EXPECT_EQ(static_cast<unsigned char>(value.val.str[0]), 11);
  EXPECT_EQ(CountedText(value), "Marrowfield");
  EXPECT_EQ(TheTempValuePool().size(), 0u);
}

TEST(CountedString, CountedText_OfOtherTypes_IsEmpty) {
  XLOPER number{};
  number.xltype = xltypeNum;
  EXPECT_EQ(CountedText(number), "");
}

}  // namespace
}  // namespace marrowfield
