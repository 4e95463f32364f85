// Open and close scenarios through the add-in's entry points, checked
// against what the fake host recorded. This file runs twice: natively
// against AddinSession, and under Wine against the real XLL.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "addin_driver.h"
#include "command_tables.h"
#include "counted_string.h"
#include "fake_xlcall32.h"
#include "host_functions.h"
#include "recorded_calls.h"
#include "value_description.h"

namespace marrowfield {
namespace {

using Args = std::vector<std::string>;

class EntryPointScenarios : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    driver_ = MakeAddinDriver();
    fake_xl_set_addin_path(driver_->AddinPath().c_str());
  }
  void TearDown() override { driver_.reset(); }

  // The seven REGISTER arguments the host must see for one command.
  Args Registration(const std::string& procedure) const {
    return {"str:" + driver_->AddinPath(),
            "str:" + procedure,
            "str:A",
            "str:" + procedure,
            "str:",
            "str:2",
            "str:Marrowfield Add-In"};
  }

  std::unique_ptr<AddinDriver> driver_;
};

TEST_F(EntryPointScenarios, OpenTwice_AddsOneMenuAndRegistersCommandsTwice) {
  EXPECT_EQ(driver_->AutoOpen(), 1);
  EXPECT_EQ(driver_->AutoOpen(), 1);

  const Args dialog = Registration("fMarrowfieldDialog");
  const Args about = Registration("fMarrowfieldAbout");
  const Args test = Registration("fMarrowfieldTest");
  const Args duplicates = Registration("fMarrowfieldDuplicates");
  const std::vector<Args> expected = {dialog, about, test, duplicates,
                                      dialog, about, test, duplicates};
  EXPECT_EQ(RecordedArgsOf(xlfRegister), expected);
  EXPECT_EQ(fake_xl_menu_count("Marrowfield"), 1);
  // The menu found the second time keeps its one Find duplicates item.
  EXPECT_EQ(RecordedArgsOf(xlfAddCommand).size(), 1u);
  driver_->AutoClose();
}

TEST_F(EntryPointScenarios, Open_AddsFindDuplicatesAfterSearch) {
  driver_->AutoOpen();

  const std::vector<Args> expected = {
      {"num:10", "str:Marrowfield",
       "multi:1x5[str:Find &duplicates...|str:fMarrowfieldDuplicates|str:|"
       "str:Find duplicates |str:]",
       "str:A&bout"}};
  EXPECT_EQ(RecordedArgsOf(xlfAddCommand), expected);
  EXPECT_EQ(fake_xl_refused_calls(), 0);
  EXPECT_EQ(fake_xl_menu_item_position("Marrowfield", "Search"), 1);
  EXPECT_EQ(fake_xl_menu_item_position("Marrowfield", "Find duplicates..."), 2);
  EXPECT_EQ(fake_xl_menu_item_position("Marrowfield", "About"), 3);
  driver_->AutoClose();
}

TEST_F(EntryPointScenarios, Open_AddsMenuOfFourRowsBeforeHelp) {
  driver_->AutoOpen();

  const std::string table =
      "multi:4x5["
      "str:Mar&rowfield|str:|str:|str:Marrowfield Search Tool |str:|"
      "str:&Search|str:fMarrowfieldDialog|str:|str:Search |str:|"
      "str:A&bout|str:fMarrowfieldAbout|str:|str:About Marrowfield|str:|"
      "str:&Marrowfield Test|str:fMarrowfieldTest|str:|str:Sample Test|str:]";
  const std::vector<Args> expected = {{"num:10", table, "str:Help"}};
  EXPECT_EQ(RecordedArgsOf(xlfAddMenu), expected);
  const std::vector<Args> asked = {{"int:10", "str:Marrowfield", "int:0"}};
  EXPECT_EQ(RecordedArgsOf(xlfGetBar), asked);
  driver_->AutoClose();
}

TEST_F(EntryPointScenarios, Open_ArgumentsFollowTheGrammar_MenuSitsBeforeHelp) {
  driver_->AutoOpen();

  // The fake refuses REGISTER and ADD.MENU calls whose type text, macro
  // type, table or position Excel would refuse.
  EXPECT_EQ(fake_xl_refused_calls(), 0);
  const int help = fake_xl_menu_position("Help");
  ASSERT_GT(help, 1);
  EXPECT_EQ(fake_xl_menu_position("Marrowfield"), help - 1);
  driver_->AutoClose();
}

struct RegisterCase {
  const char* label;
  const char* requested;
  std::vector<std::string> registered;  // procedures, in table order
};

void PrintTo(const RegisterCase& c, std::ostream* os) { *os << c.label; }

class AutoRegisterByName : public EntryPointScenarios,
                           public ::testing::WithParamInterface<RegisterCase> {
};

TEST_P(AutoRegisterByName, RegistersMatchingCommandsAndAnswersTheirResult) {
  CountedString name(GetParam().requested);
  XLOPER requested = name.AsValue();

  const XLOPER* answer = driver_->AutoRegister(&requested);

  // REGISTER's own answer (the register id, a number) when a command was
  // registered; #VALUE! only when the name matched none.
  if (GetParam().registered.empty()) {
    EXPECT_EQ(DescribeValue(answer), "err:15");
  } else {
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(BaseType(*answer), xltypeNum);
  }
  std::vector<Args> expected;
  for (const std::string& procedure : GetParam().registered) {
    expected.push_back(Registration(procedure));
  }
  EXPECT_EQ(RecordedArgsOf(xlfRegister), expected);
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Names, AutoRegisterByName,
    ::testing::Values(
        RegisterCase{
            "AboutInCapitals", "FMARROWFIELDABOUT", {"fMarrowfieldAbout"}},
        RegisterCase{
            "TestInSmallLetters", "fmarrowfieldtest", {"fMarrowfieldTest"}},
        RegisterCase{
            "DialogAsWritten", "fMarrowfieldDialog", {"fMarrowfieldDialog"}},
        RegisterCase{"DuplicatesInCapitals",
                     "FMARROWFIELDDUPLICATES",
                     {"fMarrowfieldDuplicates"}},
        RegisterCase{"LongerName", "fMarrowfieldDialogs", {}},
        RegisterCase{"ShorterName", "fMarrowfield", {}},
        RegisterCase{"EntryPointName", "xlAutoOpen", {}},
        RegisterCase{"EmptyName", "", {}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(EntryPointScenarios, AutoRegister_NonStringName_RegistersNothing) {
  XLOPER number{};
  number.val.num = 1;
  number.xltype = xltypeNum;

  EXPECT_EQ(DescribeValue(driver_->AutoRegister(&number)), "err:15");
  EXPECT_EQ(DescribeValue(driver_->AutoRegister(nullptr)), "err:15");
  EXPECT_TRUE(RecordedArgsOf(xlfRegister).empty());
}

struct ManagerCase {
  const char* label;
  XLOPER action;
  std::string answer;
};

void PrintTo(const ManagerCase& c, std::ostream* os) { *os << c.label; }

XLOPER Number(double number) {
  XLOPER value{};
  value.val.num = number;
  value.xltype = xltypeNum;
  return value;
}

XLOPER Integer(int16_t number) {
  XLOPER value{};
  value.val.w = number;
  value.xltype = xltypeInt;
  return value;
}

class AddInManagerInfoByAction
    : public EntryPointScenarios,
      public ::testing::WithParamInterface<ManagerCase> {};

TEST_P(AddInManagerInfoByAction, AnswersNameOnlyForActionOne) {
  XLOPER action = GetParam().action;
  EXPECT_EQ(DescribeValue(driver_->AddInManagerInfo(&action)),
            GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, AddInManagerInfoByAction,
    ::testing::Values(ManagerCase{"NumberOne", Number(1), "str:Marrowfield"},
                      ManagerCase{"IntegerOne", Integer(1), "str:Marrowfield"},
                      ManagerCase{"NumberTwo", Number(2), "err:15"},
                      ManagerCase{"NumberZero", Number(0), "err:15"},
                      ManagerCase{"IntegerMinusOne", Integer(-1), "err:15"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(EntryPointScenarios, AddInManagerInfo_NameIsCountedWithLengthEleven) {
  XLOPER action = Number(1);
  const XLOPER* answer = driver_->AddInManagerInfo(&action);
  ASSERT_EQ(answer->xltype, xltypeStr);
  EXPECT_EQ(static_cast<unsigned char>(answer->val.str[0]), 11);
  EXPECT_EQ(std::string(answer->val.str + 1, 11), "Marrowfield");
}

TEST_F(EntryPointScenarios, Close_DeletesPresentMenuAndGivesBackItsName) {
  driver_->AutoOpen();

  EXPECT_EQ(driver_->AutoClose(), 1);

  const std::vector<Args> deleted = {{"num:10", "str:Marrowfield"}};
  EXPECT_EQ(RecordedArgsOf(xlfDeleteMenu), deleted);
  EXPECT_EQ(fake_xl_menu_count("Marrowfield"), 0);
  // Every registered command's name goes, not only the dialog's, and so
  // do the worksheet functions' names.
  const std::vector<Args> unnamed = {
      {"str:fMarrowfieldDialog"},  {"str:fMarrowfieldAbout"},
      {"str:fMarrowfieldTest"},    {"str:fMarrowfieldDuplicates"},
      {"str:MARROWFIELD.SCORE"},   {"str:MARROWFIELD.PHONES"},
      {"str:MARROWFIELD.CODE"},    {"str:MARROWFIELD.BEST"},
      {"str:MARROWFIELD.MATCHES"}, {"str:MARROWFIELD.BESTSCORE"},
      {"str:MARROWFIELD.GROUP"}};
  EXPECT_EQ(RecordedArgsOf(xlfSetName), unnamed);
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
  EXPECT_EQ(fake_xl_bad_frees(), 0);
}

TEST_F(EntryPointScenarios, Close_MenuRemovedByUser_DeletesAndFreesNothing) {
  driver_->AutoOpen();
  fake_xl_remove_menus();

  EXPECT_EQ(driver_->AutoClose(), 1);

  EXPECT_EQ(RecordedArgsOf(xlfGetBar).size(), 2u);  // at open and at close
  EXPECT_TRUE(RecordedArgsOf(xlfDeleteMenu).empty());
  for (const RecordedCall& call : RecordedCalls()) {
    if (call.function != xlFree) continue;
    for (const std::string& arg : call.args) {
      EXPECT_EQ(arg.rfind("err:", 0), std::string::npos) << arg;
    }
  }
  EXPECT_EQ(fake_xl_bad_frees(), 0);
}

TEST_F(EntryPointScenarios, OpenAndClose_GiveBackEveryHostValue) {
  driver_->AutoOpen();
  driver_->AutoOpen();
  driver_->AutoClose();

  EXPECT_FALSE(RecordedArgsOf(xlFree).empty());
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
  EXPECT_EQ(fake_xl_bad_frees(), 0);
}

TEST_F(EntryPointScenarios, Engine_StartedAtOpenAndStoppedAtClose) {
  // The engine answers 0 for every comparison while it is stopped, and
  // 100 for a word compared with itself while it runs.
  EXPECT_EQ(driver_->CompareWords("smith", "smith"), 0);
  driver_->AutoOpen();
  EXPECT_EQ(driver_->CompareWords("smith", "smith"), 100);
  driver_->AutoClose();
  EXPECT_EQ(driver_->CompareWords("smith", "smith"), 0);
}

TEST_F(EntryPointScenarios, HostFailingEveryCall_OpenAndCloseStillAnswer) {
  fake_xl_set_return_code(xlretFailed);

  EXPECT_EQ(driver_->AutoOpen(), 1);
  EXPECT_EQ(driver_->AutoClose(), 1);

  // Nothing was handed over, so nothing is given back, and no menu is
  // added or deleted on an answer the host never gave.
  EXPECT_TRUE(RecordedArgsOf(xlFree).empty());
  EXPECT_TRUE(RecordedArgsOf(xlfAddMenu).empty());
  EXPECT_TRUE(RecordedArgsOf(xlfDeleteMenu).empty());
  EXPECT_TRUE(RecordedArgsOf(xlfAddCommand).empty());
  EXPECT_EQ(RecordedArgsOf(xlfRegister).size(), AllCommands.size());
}

}  // namespace
}  // namespace marrowfield
