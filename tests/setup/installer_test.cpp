// MarrowfieldSetup's run against the fake Excel: the calls it makes, with
// their argument types, for install and removal; the error report and the
// host's quitting when a step fails; the web address; and every object
// released once.

#include "installer.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "fake_automation_port.h"
#include "fake_excel_model.h"
#include "fake_setup_system.h"
#include "installer_address.h"
#include "ribbon_ui.h"
#include "web_addresses.h"

namespace marrowfield {
namespace {

const std::string kAddinPath = "C:\\Addins\\MarrowfieldExcel.xll";
const std::string kAddinPath32 = "C:\\Addins\\MarrowfieldExcel32.xll";
// What every run does first: DisplayAlerts = False on the Application.
const std::string kFalse = "BOOL:false";
const std::string kOmitted =
    "ERROR:" + std::to_string(static_cast<int32_t>(0x80020004u));

class RecordingOpener : public WebPageOpener {
 public:
  void Open(const std::string& address) noexcept override {
    opened.push_back(address);
  }
  std::vector<std::string> opened;
};

struct Call {
  ModelKind on;
  int32_t member;
  uint16_t kind;  // 1 method, 2 property get, 4 property put
  std::vector<std::string> arguments;
};

bool operator==(const Call& a, const Call& b) {
  return a.on == b.on && a.member == b.member && a.kind == b.kind &&
         a.arguments == b.arguments;
}

std::ostream& operator<<(std::ostream& out, const Call& call) {
  out << static_cast<int>(call.on) << " 0x" << std::hex << call.member
      << std::dec << " kind " << call.kind << " (";
  for (const std::string& argument : call.arguments) out << argument << " ";
  return out << ")";
}

class InstallerTest : public ::testing::Test {
 protected:
  InstallerTest() {
    process_ = model_.AddProcess(nullptr);
    model_.SetActiveProcess(process_);
    ModelAddinHooks hooks;
    hooks.read = [this](const std::string& path, std::string* title) {
      const auto found = files_.find(path);
      if (found == files_.end()) return false;
      *title = found->second;
      return true;
    };
    hooks.switched = [this](const ModelAddin& addin) {
      events_.push_back((addin.installed ? "open " : "close ") + addin.path);
    };
    hooks.quit = [this] { events_.push_back("quit"); };
    model_.SetAddinHooks(process_, hooks);
    files_[kAddinPath] = "Marrowfield";
    port_.systemMessages[kDispEException] = "Exception occurred.\r\n";
  }

  int Run(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    const int status = RunInstaller(arguments, port_, shell_, system_, out);
    output_ = out.str();
    return status;
  }

  std::vector<Call> Calls() const {
    std::vector<Call> calls;
    for (const InvokeRecord& record : model_.invokes()) {
      calls.push_back(
          {record.kind, record.member, record.invokeKind, record.arguments});
    }
    return calls;
  }

  static std::string Report(const std::string& code, const std::string& meaning,
                            const std::string& source,
                            const std::string& description) {
    return "Oops - hit an error!\n\a\tCode = " + code +
           "\n\a\tCode meaning = " + meaning + "\n\a\tSource = " + source +
           "\n\a\tDescription = " + description + "\n";
  }

  void ExpectAllReleased() const {
    EXPECT_EQ(model_.OutstandingReferences(), 0);
    EXPECT_EQ(model_.overReleases(), 0);
    EXPECT_EQ(model_.deadUses(), 0);
    EXPECT_EQ(port_.foreignHandles, 0);
    // Invisible, Excel must never have been left to ask the user anything.
    EXPECT_EQ(model_.alerts(process_), 0);
    EXPECT_EQ(model_.wrongInvokeFlags(), 0);
    for (const InvokeRecord& record : model_.invokes()) {
      EXPECT_EQ(record.locale, 0x0409u);
    }
  }

  FakeExcelModel model_;
  FakeAutomationPort port_{model_};
  RecordingOpener shell_;
  FakeSetupSystem system_;
  int process_ = 0;
  std::map<std::string, std::string> files_;
  std::vector<std::string> events_;
  std::string output_;
};

TEST_F(InstallerTest, Install_AddsAndSwitchesOnAddinThenOpensPageAndQuits) {
  EXPECT_EQ(Run({kAddinPath, "alice"}), 0);

  EXPECT_EQ(output_, "\nLoading the excel plugin ....");
  EXPECT_EQ(port_.createdWithContexts, 7u);
  const std::vector<Call> expected = {
      {ModelKind::kApplication, 0x0157, 4, {kFalse}},
      {ModelKind::kApplication, 0x023C, 2, {}},
      {ModelKind::kWorkbooks, 0x00B5, 1, {kOmitted}},
      {ModelKind::kApplication, 0x079E, 2, {}},
      {ModelKind::kApplication, 0x0225, 2, {}},
      {ModelKind::kAddIns, 0x00B5, 1, {"BSTR:" + kAddinPath, kFalse}},
      {ModelKind::kAddIn, 0x0226, 4, {"BOOL:true"}},
      {ModelKind::kWorkbook, 0x0115, 1, {}},
      {ModelKind::kApplication, 0x012E, 1, {}},
  };
  EXPECT_EQ(Calls(), expected);
  EXPECT_EQ(events_, (std::vector<std::string>{"open " + kAddinPath, "quit"}));
  ASSERT_EQ(model_.addins(process_).size(), 1u);
  EXPECT_TRUE(model_.addins(process_)[0].installed);
  EXPECT_EQ(model_.ClosedWorkbookCount(process_), 1);
  EXPECT_EQ(shell_.opened,
            (std::vector<std::string>{std::string(productSiteUrl) +
                                      "?q=installation&user=alice"}));
  ExpectAllReleased();
}

TEST_F(InstallerTest, Uninstall_FindsAddinByTitleAndSwitchesItOff) {
  model_.ListAddin(process_, {kAddinPath, "Marrowfield", true});

  EXPECT_EQ(Run({"bob"}), 0);

  EXPECT_EQ(output_, "\nUnloading the excel plugin ....");
  const std::vector<Call> expected = {
      {ModelKind::kApplication, 0x0157, 4, {kFalse}},
      {ModelKind::kApplication, 0x023C, 2, {}},
      {ModelKind::kWorkbooks, 0x00B5, 1, {kOmitted}},
      {ModelKind::kApplication, 0x0225, 2, {}},
      {ModelKind::kAddIns, 0x00AA, 2, {"BSTR:Marrowfield"}},
      {ModelKind::kAddIn, 0x0226, 4, {"BOOL:false"}},
      {ModelKind::kWorkbook, 0x0115, 1, {}},
      {ModelKind::kApplication, 0x012E, 1, {}},
  };
  EXPECT_EQ(Calls(), expected);
  EXPECT_EQ(events_, (std::vector<std::string>{"close " + kAddinPath, "quit"}));
  EXPECT_FALSE(model_.addins(process_)[0].installed);
  EXPECT_EQ(shell_.opened,
            (std::vector<std::string>{std::string(productSiteUrl) +
                                      "?q=un_installation&user=bob"}));
  ExpectAllReleased();
}

TEST_F(InstallerTest, UninstallWithoutArgumentsEndsAddressInUserEquals) {
  model_.ListAddin(process_, {kAddinPath, "Marrowfield", true});
  EXPECT_EQ(Run({}), 0);
  EXPECT_EQ(shell_.opened,
            (std::vector<std::string>{std::string(productSiteUrl) +
                                      "?q=un_installation&user="}));
  ExpectAllReleased();
}

TEST_F(InstallerTest, ThirdArgumentOnIsIgnored) {
  EXPECT_EQ(Run({kAddinPath, "alice", "extra"}), 0);
  EXPECT_EQ(shell_.opened.at(0),
            std::string(productSiteUrl) + "?q=installation&user=alice");
}

TEST_F(InstallerTest, RejectedAddinPath_ReportsQuitsAndOpensNoPage) {
  EXPECT_EQ(Run({"C:\\nowhere\\missing.xll", "alice"}), 1);

  EXPECT_EQ(output_,
            "\nLoading the excel plugin ...." +
                Report("80020009", "Exception occurred.", "Microsoft Excel",
                       "the fake Excel refused the call"));
  EXPECT_EQ(model_.quits(process_), 1);
  EXPECT_EQ(model_.InvokesOn(ModelKind::kAddIn), 0);
  EXPECT_TRUE(model_.addins(process_).empty());
  EXPECT_TRUE(shell_.opened.empty());
  ExpectAllReleased();
}

TEST_F(InstallerTest, UninstallOfUnlistedAddin_ReportsFromItemAndQuits) {
  EXPECT_EQ(Run({"bob"}), 1);

  EXPECT_EQ(output_, "\nUnloading the excel plugin ...." +
                         Report("8002000b", "Unknown error 0x8002000B",
                                "(null)", "(null)"));
  ASSERT_FALSE(model_.invokes().empty());
  EXPECT_EQ(model_.invokes().back().member, 0x012E);
  EXPECT_EQ(model_.quits(process_), 1);
  EXPECT_TRUE(shell_.opened.empty());
  ExpectAllReleased();
}

TEST_F(InstallerTest, FailureWithErrorInformationLeft_ReportsIt) {
  model_.FailMember(process_, ModelKind::kWorkbook, 0x0115,
                    static_cast<int32_t>(0x80004005u));
  port_.errorInfoLeft = true;
  port_.errorInfoSource = "Microsoft Excel";
  port_.errorInfoDescription = "Close failed";

  EXPECT_EQ(Run({kAddinPath, "alice"}), 1);

  EXPECT_EQ(output_, "\nLoading the excel plugin ...." +
                         Report("80004005", "Unknown error 0x80004005",
                                "Microsoft Excel", "Close failed"));
  EXPECT_EQ(model_.quits(process_), 1);
  ExpectAllReleased();
}

TEST_F(InstallerTest, QuitFailingAfterAnErrorIsNotReportedTwice) {
  model_.FailMember(process_, ModelKind::kApplication, 0x012E,
                    static_cast<int32_t>(0x80004005u));
  EXPECT_EQ(Run({"bob"}), 1);
  EXPECT_EQ(output_.find("Oops"), output_.rfind("Oops"));
  ExpectAllReleased();
}

struct StartFailure {
  const char* name;
  bool classRegistered;
  uint32_t createResult;
  bool excelRunnable;  // a process to give the Application
  std::string code;
};

// Test names in ctest show the case, not its bytes.
void PrintTo(const StartFailure& c, std::ostream* out) { *out << c.name; }

class HostNotStartedTest : public InstallerTest,
                           public ::testing::WithParamInterface<StartFailure> {
};

TEST_P(HostNotStartedTest, ReportsWithoutQuitAndOpensNoPage) {
  const StartFailure& c = GetParam();
  port_.classRegistered = c.classRegistered;
  port_.createInstanceResult = static_cast<HResult>(c.createResult);
  if (!c.excelRunnable) model_.SetActiveProcess(-1);
  port_.systemMessages[static_cast<HResult>(0x800401F3u)] =
      "Invalid class string\r\n";
  port_.systemMessages[static_cast<HResult>(0x80040154u)] =
      "Class not registered\r\n";

  EXPECT_EQ(Run({kAddinPath, "alice"}), 1);

  std::string meaning;
  port_.SystemMessage(static_cast<HResult>(std::stoul(c.code, nullptr, 16)),
                      &meaning);
  meaning.resize(meaning.size() - 2);
  EXPECT_EQ(output_, Report(c.code, meaning, "(null)", "(null)"));
  EXPECT_TRUE(model_.invokes().empty());
  EXPECT_EQ(model_.quits(process_), 0);
  EXPECT_TRUE(shell_.opened.empty());
  ExpectAllReleased();
}

INSTANTIATE_TEST_SUITE_P(
    Causes, HostNotStartedTest,
    ::testing::Values(
        StartFailure{"ProgIdUnknown", false, 0, true, "800401f3"},
        StartFailure{"ClassNotRegistered", true, 0, false, "80040154"},
        StartFailure{"CreationRefused", true, 0x80040154u, true, "80040154"}),
    [](const ::testing::TestParamInfo<StartFailure>& info) {
      return std::string(info.param.name);
    });

TEST_F(InstallerTest, LongUserTextWithSpacesAndAmpersands_EncodedWhole) {
  std::string user;
  while (user.size() < 5000) user += "Smith & Jones ";
  user.resize(5000);

  EXPECT_EQ(Run({kAddinPath, user}), 0);

  ASSERT_EQ(shell_.opened.size(), 1u);
  const std::string& address = shell_.opened[0];
  const std::string head =
      std::string(productSiteUrl) + "?q=installation&user=";
  ASSERT_EQ(address.compare(0, head.size(), head), 0);
  EXPECT_EQ(address.substr(head.size()), PercentEncode(user));
  EXPECT_EQ(address.find_first_of(" &", head.size()), std::string::npos);
  EXPECT_GT(address.size(), head.size() + user.size());
  ExpectAllReleased();
}

}  // namespace
}  // namespace marrowfield

namespace marrowfield {
namespace {

TEST_F(InstallerTest, Install_WritesTheSampleWorkbookAndVersion) {
  EXPECT_EQ(Run({kAddinPath, "alice"}), 0);

  // The template ships beside the XLL; the version is the build's.
  EXPECT_EQ(system_.settings["SampleWorkBook"], "C:\\Addins\\customers.xlsx");
  EXPECT_FALSE(system_.settings["Version"].empty());
  EXPECT_NE(system_.settings["Version"].find('.'), std::string::npos);
}

TEST_F(InstallerTest, FailedInstall_LeavesNoSettings) {
  EXPECT_EQ(Run({"C:\\nowhere\\missing.xll", "alice"}), 1);

  EXPECT_TRUE(system_.settings.empty());
}

TEST_F(InstallerTest, Uninstall_RemovesTheSettings) {
  system_.settings["SampleWorkBook"] = "C:\\Addins\\customers.xlsx";
  system_.settings["Version"] = "1.0";
  model_.ListAddin(process_, {kAddinPath, "Marrowfield", true});

  EXPECT_EQ(Run({"bob"}), 0);

  EXPECT_TRUE(system_.settings.empty());
}

TEST_F(InstallerTest, Uninstall_RemovesTheRibbonsKeys) {
  const std::vector<std::string> keys = {
      "Software\\Microsoft\\Office\\Excel\\Addins\\Marrowfield.Ribbon",
      std::string("Software\\Classes\\CLSID\\") + kRibbonClassText,
      "Software\\Classes\\Marrowfield.Ribbon"};
  model_.ListAddin(process_, {kAddinPath, "Marrowfield", true});
  EXPECT_EQ(Run({"bob"}), 0);
  EXPECT_EQ(system_.removedKeys, keys);
}

TEST_F(InstallerTest, UninstallOfUnlistedAddin_StillRemovesTheRibbonsKeys) {
  // Excel no longer lists it: the uninstall fails, the keys go all the same.
  EXPECT_EQ(Run({"bob"}), 1);
  EXPECT_EQ(system_.removedKeys.size(), 3u);
}

TEST_F(InstallerTest, Install_LeavesTheRibbonsKeysToTheAddin) {
  EXPECT_EQ(Run({kAddinPath, "alice"}), 0);
  EXPECT_TRUE(system_.removedKeys.empty());
}

TEST_F(InstallerTest, Uninstall_AddinNeverLoaded_FoundByItsFileName) {
  // Listed without a title: this Excel never loaded the XLL to learn it.
  model_.ListAddin(process_, {"C:\\Other\\Helper.xll", "", true});
  model_.ListAddin(process_, {kAddinPath32, "", true});

  EXPECT_EQ(Run({"bob"}), 0);

  EXPECT_TRUE(model_.addins(process_)[0].installed);
  EXPECT_FALSE(model_.addins(process_)[1].installed);
  EXPECT_EQ(events_,
            (std::vector<std::string>{"close " + kAddinPath32, "quit"}));
  EXPECT_EQ(shell_.opened.size(), 1u);
  ExpectAllReleased();
}

struct BitnessCase {
  const char* label;
  int excel;
  std::map<std::string, int> files;
  std::string given;
  std::string installed;  // empty: none, with |report| and status 1
  std::string report;
};

void PrintTo(const BitnessCase& c, std::ostream* os) { *os << c.label; }

class InstallerBitness : public InstallerTest,
                         public ::testing::WithParamInterface<BitnessCase> {};

TEST_P(InstallerBitness, InstallsTheFileOfExcelsBitnessOrReportsOneLine) {
  const BitnessCase& c = GetParam();
  system_.excelBitness = c.excel;
  system_.files = c.files;
  model_.SetWindowHandle(process_, 0x00A0B0C);
  files_[kAddinPath32] = "Marrowfield";

  const int status = Run({c.given, "alice"});

  EXPECT_EQ(system_.askedWindow, 0x00A0B0C);
  if (c.installed.empty()) {
    EXPECT_EQ(status, 1);
    EXPECT_EQ(output_, "\nLoading the excel plugin ...." + c.report);
    EXPECT_TRUE(model_.addins(process_).empty());
    EXPECT_TRUE(shell_.opened.empty());
  } else {
    EXPECT_EQ(status, 0);
    ASSERT_EQ(model_.addins(process_).size(), 1u);
    EXPECT_EQ(model_.addins(process_)[0].path, c.installed);
  }
  // Quit, whatever happened.
  EXPECT_EQ(model_.quits(process_), 1);
  ExpectAllReleased();
}

INSTANTIATE_TEST_SUITE_P(
    Files, InstallerBitness,
    ::testing::Values(BitnessCase{"Excel64Given64",
                                  64,
                                  {{kAddinPath, 64}, {kAddinPath32, 32}},
                                  kAddinPath,
                                  kAddinPath,
                                  ""},
                      BitnessCase{"Excel32Given64",
                                  32,
                                  {{kAddinPath, 64}, {kAddinPath32, 32}},
                                  kAddinPath,
                                  kAddinPath32,
                                  ""},
                      BitnessCase{"Excel64Given32",
                                  64,
                                  {{kAddinPath, 64}, {kAddinPath32, 32}},
                                  kAddinPath32,
                                  kAddinPath,
                                  ""},
                      BitnessCase{
                          "ExcelUnknown", 0, {}, kAddinPath, kAddinPath, ""},
                      BitnessCase{"Excel32Missing",
                                  32,
                                  {{kAddinPath, 64}},
                                  kAddinPath,
                                  "",
                                  "\nThis Excel is 32-bit; its add-in " +
                                      kAddinPath32 + " is missing.\n"},
                      BitnessCase{"Excel32Mismatch",
                                  32,
                                  {{kAddinPath, 64}, {kAddinPath32, 64}},
                                  kAddinPath,
                                  "",
                                  "\nThis Excel is 32-bit; " + kAddinPath32 +
                                      " is not a 32-bit add-in.\n"},
                      BitnessCase{"Excel64NothingThere",
                                  64,
                                  {},
                                  kAddinPath,
                                  "",
                                  "\nThis Excel is 64-bit; its add-in " +
                                      kAddinPath + " is missing.\n"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace marrowfield

namespace marrowfield {
namespace {

TEST_F(InstallerTest, BusyExcel_CallsAreRetriedUntilItAnswers) {
  port_.busyUntilMs = 20000;

  EXPECT_EQ(Run({kAddinPath, "alice"}), 0);

  EXPECT_GT(port_.busyRejections, 0);
  EXPECT_TRUE(model_.addins(process_).at(0).installed);
  EXPECT_EQ(model_.quits(process_), 1);
  ExpectAllReleased();
}

TEST_F(InstallerTest, ExcelBusyForEver_ReportedAfterABoundedWait) {
  port_.busyUntilMs = UINT64_MAX;

  EXPECT_EQ(Run({kAddinPath, "alice"}), 1);

  // The first call gave up after a minute (and the quit after another).
  EXPECT_GE(port_.clockMs, 60000u);
  EXPECT_LE(port_.clockMs, 2 * 60000u + 1000u);
  const std::string head = "Oops - hit an error!\n\a\tCode = 80010001\n";
  EXPECT_EQ(output_.compare(0, head.size(), head), 0) << output_;
  EXPECT_TRUE(shell_.opened.empty());
}

}  // namespace
}  // namespace marrowfield
