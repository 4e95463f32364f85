// The walk that finds our own Application, and the probe it runs, seen
// call by call through the native fake port: which candidates are asked,
// which are passed over, when the running-object table is opened, and that
// g_bOkayToSetIFlag is set only around the probe.

#include "own_application.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge_state.h"
#include "fake_automation_port.h"
#include "fake_ports.h"
#include "fake_xlcall32.h"
#include "host_members.h"

namespace marrowfield {
namespace {

constexpr const char* kPath = "C:\\Addins\\MarrowfieldExcel.xll";
constexpr HResult kClassString = static_cast<HResult>(0x800401F3u);

class OwnApplication : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    fake_xl_set_addin_path(kPath);
    g_pdispXL = nullptr;
    g_bInstanceFlag = false;
    g_bOkayToSetIFlag = false;
  }
  void TearDown() override {
    if (g_pdispXL != nullptr) port_.Release(g_pdispXL);
    g_pdispXL = nullptr;
    EXPECT_EQ(model_.OutstandingReferences(), 0);
    EXPECT_EQ(model_.overReleases(), 0);
    EXPECT_EQ(port_.liveTables, 0);
    EXPECT_EQ(port_.liveMonikers, 0);
    EXPECT_EQ(port_.foreignHandles, 0);
    EXPECT_EQ(fake_xl_outstanding_values(), 0);
    g_bInstanceFlag = false;
  }

  int AddHost(bool own, const std::string& bookPath) {
    const int process =
        own ? model_.AddProcess([this](const std::string& path, int32_t* a) {
          if (path != kPath) return false;
          *a = CheckInstanceProbe(debug_);
          return true;
        })
            : model_.AddProcess([](const std::string&, int32_t* a) {
                *a = 1;
                return true;
              });
    const int book = model_.AddWorkbook(process, bookPath);
    model_.AddWorksheet(process, book, "Sheet1");
    return process;
  }

  FakeExcelModel model_;
  FakeAutomationPort port_{model_};
  FakeDebugOutput debug_;
};

TEST_F(OwnApplication, ActiveObjectIsOurs_ProbesOnceAndNeverOpensTheTable) {
  const int own = AddHost(true, "C:\\b\\own.xlsx");
  model_.SetActiveProcess(own);

  EXPECT_EQ(FindOwnApplication(port_, &g_pdispXL), kSOk);

  EXPECT_EQ(port_.ObjectOf(g_pdispXL), model_.ApplicationObject(own));
  const std::vector<std::string> expected = {
      "ClassIdFromProgId Excel.Application",     "GetActiveObject",
      "GetIdOfName Application 0x0409",          "Invoke 0x0094",
      "GetIdOfName ExecuteExcel4Macro 0x0409 +", "Invoke 0x015E +",
  };
  EXPECT_EQ(port_.calls, expected);
  EXPECT_EQ(port_.tablesOpened, 0);
  EXPECT_EQ(debug_.lines,
            (std::vector<std::string>{"CheckInstance\n",
                                      "g_bOkayToSetIFlag = true\n"}));
}

TEST_F(OwnApplication, ApplicationLookedUpOnceForEveryCandidate) {
  const int foreign = AddHost(false, "C:\\b\\foreign.xlsx");
  AddHost(true, "C:\\b\\own.xlsx");
  model_.SetActiveProcess(foreign);

  EXPECT_EQ(FindOwnApplication(port_, &g_pdispXL), kSOk);

  int lookups = 0;
  for (const std::string& call : port_.calls) {
    if (call.rfind("GetIdOfName Application", 0) == 0) ++lookups;
  }
  EXPECT_EQ(lookups, 1);
  EXPECT_EQ(port_.tablesOpened, 1);
}

TEST_F(OwnApplication, FailingAndNonObjectCandidatesArePassedOver) {
  const int foreign = AddHost(false, "C:\\b\\foreign.xlsx");
  const int other = AddHost(false, "C:\\b\\other.xlsx");
  const int own = AddHost(true, "C:\\b\\own.xlsx");
  model_.SetActiveProcess(foreign);
  model_.FailMember(foreign, ModelKind::kApplication, kModelApplicationMember,
                    kEFail);
  model_.FailMember(foreign, ModelKind::kWorkbook, kModelApplicationMember,
                    kEFail);
  model_.AnswerMember(other, ModelKind::kWorkbook, kModelApplicationMember,
                      ModelValue::String("not an object"));

  EXPECT_EQ(FindOwnApplication(port_, &g_pdispXL), kSOk);

  EXPECT_EQ(port_.ObjectOf(g_pdispXL), model_.ApplicationObject(own));
  EXPECT_TRUE(model_.macros(foreign).empty());
  EXPECT_TRUE(model_.macros(other).empty());
}

TEST_F(OwnApplication, NoCandidateAnswers_FailsWithNothingHeld) {
  const int foreign = AddHost(false, "C:\\b\\foreign.xlsx");
  model_.SetActiveProcess(foreign);

  EXPECT_EQ(FindOwnApplication(port_, &g_pdispXL), kEFail);

  EXPECT_EQ(g_pdispXL, nullptr);
  EXPECT_FALSE(g_bInstanceFlag);
  EXPECT_EQ(port_.calls.back(), "Next");  // walked to the table's end
}

TEST_F(OwnApplication, StaleInstanceFlag_DoesNotVouchForAForeignHost) {
  const int foreign = AddHost(false, "C:\\b\\foreign.xlsx");
  model_.SetActiveProcess(foreign);
  g_bInstanceFlag = true;  // left by an earlier connection

  EXPECT_EQ(FindOwnApplication(port_, &g_pdispXL), kEFail);

  EXPECT_EQ(g_pdispXL, nullptr);
}

TEST_F(OwnApplication, TableCannotBeOpened_EndsTheWalk) {
  const int foreign = AddHost(false, "C:\\b\\foreign.xlsx");
  AddHost(true, "C:\\b\\own.xlsx");
  model_.SetActiveProcess(foreign);
  port_.openTablesResult = kEFail;

  EXPECT_EQ(FindOwnApplication(port_, &g_pdispXL), kEFail);
  EXPECT_EQ(g_pdispXL, nullptr);
}

TEST_F(OwnApplication, ClassNotRegistered_FailsWithTheLookupResult) {
  AddHost(true, "C:\\b\\own.xlsx");
  port_.classRegistered = false;

  EXPECT_EQ(FindOwnApplication(port_, &g_pdispXL), kClassString);
  EXPECT_EQ(port_.calls.size(), 1u);
}

TEST_F(OwnApplication, Probe_PathUnavailable_FailsWithoutAskingTheHost) {
  const int own = AddHost(true, "C:\\b\\own.xlsx");
  g_pdispXL = FakeHandle(model_.ApplicationObject(own));
  model_.AddRef(model_.ApplicationObject(own));
  fake_xl_set_return_code(1);

  EXPECT_EQ(RunCheckInstanceMacro(port_), kEFail);

  EXPECT_TRUE(port_.calls.empty());
  EXPECT_FALSE(g_bOkayToSetIFlag);
}

TEST_F(OwnApplication, Probe_GivesTheHostsPathBackAndClearsTheFlag) {
  const int own = AddHost(true, "C:\\b\\own.xlsx");
  g_pdispXL = FakeHandle(model_.ApplicationObject(own));
  model_.AddRef(model_.ApplicationObject(own));

  EXPECT_EQ(RunCheckInstanceMacro(port_), kSOk);

  EXPECT_TRUE(g_bInstanceFlag);
  EXPECT_FALSE(g_bOkayToSetIFlag);
  ASSERT_EQ(model_.invokes().size(), 1u);
  // DISPATCH_METHOD | DISPATCH_PROPERTYGET: ExecuteExcel4Macro is a
  // method, and the lenient and the strict dispatcher both accept 3.
  EXPECT_EQ(model_.invokes()[0].invokeKind, 3);
  EXPECT_EQ(model_.invokes()[0].locale, 0x0409u);
  EXPECT_EQ(model_.invokes()[0].arguments,
            std::vector<std::string>{"BSTR:" + BuildProbeMacro(kPath)});
}

TEST(ProbeMacro, IsBuiltWithALowerCaseFirstLetter) {
  EXPECT_EQ(BuildProbeMacro("C:\\x.xll"),
            "cALL(\"C:\\x.xll\",\"CheckInstance\",\"j\")");
  EXPECT_EQ(BuildProbeMacro(std::string(255, 'a')).size(), 283u);
  EXPECT_LE(BuildProbeMacro(std::string(255, 'a')).size(),
            kMaxProbeMacroLength);
}

}  // namespace
}  // namespace marrowfield
