// The worksheet functions' registration as the fake host sees it: through
// Excel12 with the thread-safe mark when the host offers Excel12, through
// Excel4 without it otherwise; every registration passes the documented
// grammar, and the fake refuses what Excel refuses.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "addin_driver.h"
#include "call_host.h"
#include "call_host12.h"
#include "counted_string.h"
#include "fake_xlcall32.h"
#include "host_functions.h"
#include "sheet_function_table.h"
#include "value_description.h"

namespace marrowfield {
namespace {

// REGISTER's arguments: module, procedure, type text, function text,
// argument text, macro type, category, shortcut, help topic, description,
// argument help...
constexpr int kProcedure = 1;
constexpr int kTypeText = 2;
constexpr int kFunctionText = 3;
constexpr int kCategory = 6;
constexpr int kDescription = 9;
constexpr int kFirstHelp = 10;

class SheetFunctionRegistration : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    driver_ = MakeAddinDriver();
    fake_xl_set_addin_path(driver_->AddinPath().c_str());
  }
  void TearDown() override { driver_.reset(); }

  // Indexes of the fake's registrations of worksheet functions.
  static std::vector<int> FunctionRegistrations() {
    std::vector<int> found;
    for (int i = 0; i < fake_xl_registration_count(); ++i) {
      if (std::string(fake_xl_registration_text(i, kCategory)) ==
          kSheetFunctionCategory) {
        found.push_back(i);
      }
    }
    return found;
  }

  std::unique_ptr<AddinDriver> driver_;
};

TEST_F(SheetFunctionRegistration, Excel12_EveryFunctionThreadSafeWithHelp) {
  driver_->AutoOpen();

  EXPECT_EQ(fake_xl_refused_calls(), 0);
  const std::vector<int> registered = FunctionRegistrations();
  ASSERT_EQ(registered.size(), SheetFunctionTable.size());
  std::set<std::string> names;
  for (std::size_t i = 0; i < registered.size(); ++i) {
    const int r = registered[i];
    const SheetFunctionRow& row = SheetFunctionTable[i];
    EXPECT_EQ(fake_xl_registration_wide(r), 1);
    EXPECT_EQ(fake_xl_registration_text(r, kProcedure),
              std::string(row.procedure12));
    const std::string type = fake_xl_registration_text(r, kTypeText);
    EXPECT_EQ(type.back(), '$') << type;
    EXPECT_EQ(type.size(), static_cast<std::size_t>(row.argumentCount) + 2);
    names.insert(fake_xl_registration_text(r, kFunctionText));
    EXPECT_FALSE(
        std::string(fake_xl_registration_text(r, kDescription)).empty());
    // One help text per argument, none missing.
    ASSERT_EQ(fake_xl_registration_arg_count(r),
              kFirstHelp + row.argumentCount);
    for (int a = 0; a < row.argumentCount; ++a) {
      EXPECT_FALSE(
          std::string(fake_xl_registration_text(r, kFirstHelp + a)).empty());
    }
  }
  EXPECT_EQ(names, (std::set<std::string>{
                       "MARROWFIELD.SCORE", "MARROWFIELD.PHONES",
                       "MARROWFIELD.CODE", "MARROWFIELD.BEST",
                       "MARROWFIELD.MATCHES", "MARROWFIELD.BESTSCORE",
                       "MARROWFIELD.GROUP"}));
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
  driver_->AutoClose();
}

TEST_F(SheetFunctionRegistration, Close_UnregistersEveryFunction) {
  driver_->AutoOpen();
  driver_->AutoClose();

  const std::vector<int> registered = FunctionRegistrations();
  ASSERT_EQ(registered.size(), SheetFunctionTable.size());
  for (int r : registered) EXPECT_EQ(fake_xl_registration_active(r), 0) << r;
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
  EXPECT_EQ(fake_xl_bad_frees(), 0);
}

TEST_F(SheetFunctionRegistration, AutoRegister_RegistersTheNamedFunction) {
  CountedString name("FMARROWFIELDBEST12");
  XLOPER requested = name.AsValue();

  const XLOPER* answer = driver_->AutoRegister(&requested);

  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(BaseType(*answer), xltypeNum);
  const std::vector<int> registered = FunctionRegistrations();
  ASSERT_EQ(registered.size(), 1u);
  EXPECT_EQ(fake_xl_registration_text(registered[0], kFunctionText),
            std::string("MARROWFIELD.BEST"));
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
}

#ifndef _WIN32
// Under Wine the test program offers Excel12 by exporting it, always.
TEST_F(SheetFunctionRegistration, Excel4Only_RegistersWithoutThreadSafeMark) {
  fake_xl_offer_excel12(0);
  driver_->AutoOpen();

  EXPECT_EQ(fake_xl_refused_calls(), 0);
  const std::vector<int> registered = FunctionRegistrations();
  ASSERT_EQ(registered.size(), SheetFunctionTable.size());
  for (std::size_t i = 0; i < registered.size(); ++i) {
    EXPECT_EQ(fake_xl_registration_wide(registered[i]), 0);
    EXPECT_EQ(fake_xl_registration_text(registered[i], kProcedure),
              std::string(SheetFunctionTable[i].procedure));
    const std::string type =
        fake_xl_registration_text(registered[i], kTypeText);
    EXPECT_EQ(type.find('$'), std::string::npos) << type;
  }
  driver_->AutoClose();
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
}
#endif

// The fake's grammar, which every registration above had to pass.
struct TypeTextCase {
  const char* typeText;
  bool wide;
  bool accepted;
};

class FakeRegisterGrammar : public ::testing::TestWithParam<TypeTextCase> {
 protected:
  void SetUp() override { fake_xl_reset(); }
};

TEST_P(FakeRegisterGrammar, AcceptsOnlyWhatExcelAccepts) {
  const TypeTextCase& c = GetParam();
  const std::vector<std::string> texts = {"C:\\x.xll", "f", c.typeText, "F",
                                          ""};
  bool answeredNumber = false;
  if (c.wide) {
    std::vector<std::u16string> storage;
    std::vector<XLOPER12> values;
    for (const std::string& text : texts) {
      storage.push_back(std::u16string(1, static_cast<char16_t>(text.size())) +
                        std::u16string(text.begin(), text.end()));
    }
    values.resize(storage.size() + 1);
    std::vector<XLOPER12*> args;
    for (std::size_t i = 0; i < storage.size(); ++i) {
      values[i].val.str = storage[i].data();
      values[i].xltype = xltypeStr;
      args.push_back(&values[i]);
    }
    values.back().val.num = 1;
    values.back().xltype = xltypeNum;
    args.push_back(&values.back());
    XLOPER12 answer{};
    ASSERT_EQ(CallHost12Array(xlfRegister, &answer,
                              static_cast<int32_t>(args.size()), args.data()),
              0);
    answeredNumber = BaseType(answer) == xltypeNum;
  } else {
    std::vector<CountedString> storage(texts.begin(), texts.end());
    std::vector<XLOPER> values;
    for (CountedString& text : storage) values.push_back(text.AsValue());
    XLOPER macroType{};
    macroType.val.num = 1;
    macroType.xltype = xltypeNum;
    values.push_back(macroType);
    std::vector<XLOPER*> args;
    for (XLOPER& value : values) args.push_back(&value);
    XLOPER answer{};
    ASSERT_EQ(CallHostArray(xlfRegister, &answer,
                            static_cast<int32_t>(args.size()), args.data()),
              0);
    answeredNumber = BaseType(answer) == xltypeNum;
  }
  EXPECT_EQ(answeredNumber, c.accepted);
  EXPECT_EQ(fake_xl_refused_calls(), c.accepted ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    TypeTexts, FakeRegisterGrammar,
    ::testing::Values(
        TypeTextCase{"QQQ$", true, true}, TypeTextCase{"QQUQ$", true, true},
        TypeTextCase{"PPRP", false, true}, TypeTextCase{"PPP", true, true},
        TypeTextCase{"C%C%$", true, true},
        // the thread-safe mark needs Excel12
        TypeTextCase{"PPP$", false, false}, TypeTextCase{"QQQ$", false, false},
        // and XLOPER12 values, not XLOPERs
        TypeTextCase{"PPP$", true, false}, TypeTextCase{"QQR$", true, false},
        // a thread-safe function is no macro-sheet function
        TypeTextCase{"QQ#$", true, false},
        // wide codes through Excel4
        TypeTextCase{"QQ", false, false}, TypeTextCase{"C%C", false, false},
        TypeTextCase{"QQ$$", true, false}, TypeTextCase{"QQZ", true, false}));

}  // namespace
}  // namespace marrowfield
