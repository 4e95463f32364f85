// CallHost and HostValue against the fake host: arguments arrive in order,
// the pool is empty after every call whatever the host answered, and host
// memory goes back exactly once.

#include "call_host.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "counted_string.h"
#include "fake_xlcall32.h"
#include "host_functions.h"
#include "host_registration.h"
#include "host_value.h"
#include "recorded_calls.h"
#include "temp_value_pool.h"

namespace marrowfield {
namespace {

class CallHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    TheTempValuePool().Empty();
  }
};

TEST_F(CallHostTest, PassesArgumentsInOrderAndEmptiesThePool) {
  char name[] = "_Marrowfield";
  const int32_t code = CallHost(xlfGetBar, nullptr, MakeTempInteger(10),
                                MakeTempString(name), MakeTempInteger(0));

  EXPECT_EQ(code, xlretSuccess);
  EXPECT_EQ(TheTempValuePool().size(), 0u);
  const std::vector<std::vector<std::string>> expected = {
      {"int:10", "str:Marrowfield", "int:0"}};
  EXPECT_EQ(RecordedArgsOf(xlfGetBar), expected);
}

TEST_F(CallHostTest, HostFailure_CodeReturnedAndPoolStillEmptied) {
  fake_xl_set_return_code(xlretFailed);
  const int32_t code = CallHost(xlfSetName, nullptr, MakeTempNumber(1));
  EXPECT_EQ(code, xlretFailed);
  EXPECT_EQ(TheTempValuePool().size(), 0u);
}

TEST_F(CallHostTest, UnknownFunction_HostRefusesAndPoolIsEmptied) {
  const int32_t code = CallHost(12345, nullptr, MakeTempNumber(1));
  EXPECT_EQ(code, xlretInvXlfn);
  EXPECT_EQ(TheTempValuePool().size(), 0u);
}

TEST_F(CallHostTest, NullArgument_RefusedWithoutCallingTheHost) {
  while (MakeTempNumber(0) != nullptr) {
  }
  const int32_t code = CallHost(xlfSetName, nullptr, MakeTempNumber(1));
  EXPECT_EQ(code, xlretInvXloper);
  EXPECT_EQ(fake_xl_call_count(), 0);
  EXPECT_EQ(TheTempValuePool().size(), 0u);
}

TEST_F(CallHostTest, NoArguments_ReachTheHostAsNone) {
  XLOPER result{};
  EXPECT_EQ(CallHost(xlGetName, &result), xlretSuccess);
  ASSERT_EQ(fake_xl_call_count(), 1);
  EXPECT_EQ(fake_xl_call_arg_count(0), 0);
  CallHost(xlFree, nullptr, &result);
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
}

TEST_F(CallHostTest, HostValue_GivesBackAStringOnceWhenItGoesOutOfScope) {
  fake_xl_set_addin_path("C:\\x\\MarrowfieldExcel.xll");
  {
    HostValue path;
    EXPECT_EQ(path.Call(xlGetName), xlretSuccess);
    EXPECT_EQ(CountedText(path.value()), "C:\\x\\MarrowfieldExcel.xll");
    EXPECT_EQ(fake_xl_outstanding_values(), 1);
  }
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
  EXPECT_EQ(RecordedArgsOf(xlFree).size(), 1u);
  EXPECT_EQ(fake_xl_bad_frees(), 0);
}

TEST_F(CallHostTest, HostValue_Reused_GivesBackTheEarlierValue) {
  HostValue path;
  path.Call(xlGetName);
  path.Call(xlGetName);
  EXPECT_EQ(fake_xl_outstanding_values(), 1);
  path.Release();
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
  EXPECT_EQ(fake_xl_bad_frees(), 0);
}

TEST_F(CallHostTest, HostValue_ErrorAnswer_IsNotGivenBack) {
  {
    CountedString name("Marrowfield");
    HostValue bar;
    bar.Call(xlfGetBar, MakeTempInteger(10),
             MakeTempString(name.placeholderString()), MakeTempInteger(0));
    EXPECT_TRUE(bar.IsError());
  }
  EXPECT_TRUE(RecordedArgsOf(xlFree).empty());
}

TEST_F(CallHostTest, HostValue_FailedCall_LeavesNilAndFreesNothing) {
  fake_xl_set_return_code(xlretAbort);
  {
    HostValue path;
    EXPECT_EQ(path.Call(xlGetName), xlretAbort);
    EXPECT_FALSE(path.filled());
    EXPECT_EQ(path.value().xltype, xltypeNil);
  }
  EXPECT_TRUE(RecordedArgsOf(xlFree).empty());
}

struct NameCase {
  const char* label;
  const char* requested;
  const char* procedure;
  bool names;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.label; }

class NamesProcedureCase : public ::testing::TestWithParam<NameCase> {};

TEST_P(NamesProcedureCase, ComparesLengthAndLettersIgnoringCase) {
  CountedString requested(GetParam().requested);
  const XLOPER value = requested.AsValue();
  EXPECT_EQ(NamesProcedure(&value, GetParam().procedure), GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NamesProcedureCase,
    ::testing::Values(
        NameCase{"Same", "fMarrowfieldAbout", "fMarrowfieldAbout", true},
        NameCase{"Capitals", "FMARROWFIELDABOUT", "fMarrowfieldAbout", true},
        NameCase{"SmallLetters", "fmarrowfieldabout", "fMarrowfieldAbout",
                 true},
        NameCase{"Shorter", "fMarrowfieldAbou", "fMarrowfieldAbout", false},
        NameCase{"TrailingBlank", "fMarrowfieldAbout ", "fMarrowfieldAbout",
                 false},
        NameCase{"OneLetterOff", "fMarrowfieldAbovt", "fMarrowfieldAbout",
                 false},
        NameCase{"Empty", "", "fMarrowfieldAbout", false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(NamesProcedure, NonStringsNameNothing) {
  XLOPER number{};
  number.xltype = xltypeNum;
  EXPECT_FALSE(NamesProcedure(&number, "fMarrowfieldAbout"));
  EXPECT_FALSE(NamesProcedure(nullptr, "fMarrowfieldAbout"));
}

}  // namespace
}  // namespace marrowfield
