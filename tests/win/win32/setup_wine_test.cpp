// MarrowfieldSetup.exe run for real under Wine: the fake Excel registered
// as the out-of-process server of "Excel.Application" (so every call
// crosses a process boundary, as with Excel), the real XLL installed and
// removed through it, a busy Excel ridden out, the add-in of Excel's
// bitness chosen, the add-in's registry values written and removed, and
// the report when no Excel is registered. What the fake Excel did is read
// from its log, the web page the installer would open from the shell's
// log.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "com_automation_port.h"
#include "com_error_report.h"
#include "ribbon_ui.h"
#include "web_addresses.h"
#include "win32/fake_excel_world.h"
#include "win32/setup_run.h"
#include "win32/xll_module.h"

namespace marrowfield {
namespace {

constexpr char kSettingsKey[] = "SOFTWARE\\Microsoft\\Marrowfield";

// The fake Excel is a process of this build's bitness, so the installer
// gives it the add-in of that bitness (kXllFileName) and passes over the
// other one, which ships beside it under the other name.
#if defined(_WIN64)
constexpr char kExcelBits[] = "64";
constexpr char kOtherXllFileName[] = "MarrowfieldExcel32.xll";
constexpr char kMissingSuffix[] = "";
#else
constexpr char kExcelBits[] = "32";
constexpr char kOtherXllFileName[] = "MarrowfieldExcel.xll";
constexpr char kMissingSuffix[] = "32";
#endif

// The text value |name| of the add-in's registry key; empty when missing.
std::string Setting(const char* name) {
  char value[512] = {};
  DWORD size = sizeof(value);
  if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ,
                   nullptr, value, &size) != ERROR_SUCCESS) {
    return {};
  }
  return value;
}

std::vector<std::string> Lines(const std::string& path) {
  std::ifstream file(path);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(file, line)) lines.push_back(line);
  return lines;
}

// The system's text for |hr|, without its line break; empty when the
// system has none (Wine 8 has none for most OLE codes).
std::string SystemText(uint32_t hr) {
  char text[512] = {};
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, hr,
      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof(text), nullptr);
  std::string message(text, length);
  if (message.size() >= 2 && message.substr(message.size() - 2) == "\r\n") {
    message.resize(message.size() - 2);
  }
  return message;
}

// The meaning the report should give |hr|, outside the IDispatch range:
// the system's text, else the unknown-error fallback.
std::string Meaning(uint32_t hr) {
  const std::string text = SystemText(hr);
  if (!text.empty()) return text;
  char fallback[32];
  std::snprintf(fallback, sizeof(fallback), "Unknown error 0x%lX",
                static_cast<unsigned long>(hr));
  return fallback;
}

// The program writes its standard output in text mode, so each line feed
// arrives as CR LF; the report's texts are compared with plain line feeds.
std::string Lf(std::string text) {
  size_t at = 0;
  while ((at = text.find("\r\n", at)) != std::string::npos) text.erase(at, 1);
  return text;
}

std::string Report(const std::string& code, const std::string& meaning,
                   const std::string& source, const std::string& description) {
  return "Oops - hit an error!\n\a\tCode = " + code +
         "\n\a\tCode meaning = " + meaning + "\n\a\tSource = " + source +
         "\n\a\tDescription = " + description + "\n";
}

class SetupUnderWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    folder_ = std::string(temp) + "marrowfield-setup-" +
              std::to_string(GetCurrentProcessId()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr));
    SetEnvironmentVariableA("MARROWFIELD_SETUP_SHELL_LOG", ShellLog().c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
  }

  void TearDown() override {
    Server({"/UnregServer"});
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);
    for (const char* name :
         {kFakeExcelLog, kFakeExcelAddinList, "shell.log",
          "MarrowfieldExcel.xll", "MarrowfieldExcel32.xll"}) {
      DeleteFileA((folder_ + "\\" + name).c_str());
    }
    RemoveDirectoryA(folder_.c_str());
  }

  // Registers the fake Excel's server, logging into this test's folder,
  // busy for |busyMs| from the first call.
  bool RegisterExcel(unsigned busyMs = 0) {
    std::vector<std::string> arguments = {"/RegServer", "--dir=" + folder_};
    if (busyMs > 0) arguments.push_back("--busy-ms=" + std::to_string(busyMs));
    const ProgramRun run = Server(arguments);
    return run.started && run.status == 0;
  }
  ProgramRun Server(const std::vector<std::string>& arguments) {
    return RunProgram(ProgramDirectory() + "fake_excel_server.exe", arguments);
  }

  ProgramRun Setup(const std::vector<std::string>& arguments) {
    ProgramRun run =
        RunProgram(ProgramDirectory() + "MarrowfieldSetup.exe", arguments);
    run.output = Lf(run.output);
    return run;
  }
  std::string ShellLog() const { return folder_ + "\\shell.log"; }
  // The fake Excel's log once its server has ended (its last line counts
  // the references left), or as it stands after ten seconds.
  std::vector<std::string> ExcelLog() const {
    std::vector<std::string> log;
    for (int wait = 0; wait < 200; ++wait) {
      log = Lines(folder_ + "\\" + kFakeExcelLog);
      if (!log.empty() && log.back().rfind("references outstanding", 0) == 0) {
        break;
      }
      Sleep(50);
    }
    return log;
  }

  std::string folder_;
};

TEST_F(SetupUnderWineTest, InstallThenUninstall_HostRunsTheAddinsEntryPoints) {
  ASSERT_TRUE(RegisterExcel());
  const std::string xll = ProgramDirectory() + kXllFileName;

  const ProgramRun install = Setup({xll, "wine tester"});
  ASSERT_TRUE(install.started);
  EXPECT_EQ(install.status, 0u);
  EXPECT_EQ(install.output, "\nLoading the excel plugin ....");
  EXPECT_EQ(ExcelLog(), (std::vector<std::string>{
                            "started",
                            "read " + xll + " = Marrowfield",
                            "xlAutoOpen " + xll + " = 1",
                            "quit",
                            "xlAutoClose " + xll + " = 1",
                            "references outstanding 0",
                        }));
  // Written before Excel loaded the add-in, which reads them.
  EXPECT_EQ(Setting("SampleWorkBook"), ProgramDirectory() + "customers.xlsx");
  EXPECT_FALSE(Setting("Version").empty());

  // The ribbon's keys, as an Excel that ended without closing the add-in
  // leaves them: the uninstall takes them back.
  const std::vector<std::string> ribbonKeys = {
      RibbonProgIdKey(), RibbonClassKey(), RibbonAddinKey()};
  for (const std::string& key : ribbonKeys) {
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &created, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(created);
  }

  const ProgramRun uninstall = Setup({"wine tester"});
  ASSERT_TRUE(uninstall.started);
  EXPECT_EQ(uninstall.status, 0u);
  EXPECT_EQ(uninstall.output, "\nUnloading the excel plugin ....");
  const std::vector<std::string> log = ExcelLog();
  const std::vector<std::string> tail(log.begin() + 6, log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{
                      "started",
                      "xlAutoClose " + xll + " = 1",
                      "quit",
                      "references outstanding 0",
                  }));
  EXPECT_EQ(Setting("SampleWorkBook"), "");
  EXPECT_EQ(Setting("Version"), "");
  for (const std::string& key : ribbonKeys) {
    HKEY opened = nullptr;
    EXPECT_NE(
        RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &opened),
        ERROR_SUCCESS)
        << key;
    if (opened != nullptr) RegCloseKey(opened);
  }

  const std::string site = productSiteUrl;
  EXPECT_EQ(Lines(ShellLog()),
            (std::vector<std::string>{
                site + "?q=installation&user=wine%20tester",
                site + "?q=un_installation&user=wine%20tester",
            }));
}

TEST_F(SetupUnderWineTest, MissingAddinFile_OneLineReportAndExcelQuits) {
  ASSERT_TRUE(RegisterExcel());
  const std::string named = ProgramDirectory() + "NoSuchAddin.xll";
  const std::string missing =
      ProgramDirectory() + "NoSuchAddin" + kMissingSuffix + ".xll";

  const ProgramRun run = Setup({named, "wine tester"});

  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.status, 1u);
  // The installer tells the fake Excel's bitness from the process that owns
  // Application.Hwnd, and looks for the file of that bitness.
  EXPECT_EQ(run.output, std::string("\nLoading the excel plugin ....\nThis "
                                    "Excel is ") +
                            kExcelBits + "-bit; its add-in " + missing +
                            " is missing.\n");
  EXPECT_EQ(ExcelLog(), (std::vector<std::string>{
                            "started",
                            "quit",
                            "references outstanding 0",
                        }));
  EXPECT_EQ(GetFileAttributesA(ShellLog().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SetupUnderWineTest, NotAnAddin_ReportsHostsErrorAndQuits) {
  ASSERT_TRUE(RegisterExcel());
  // An image of Excel's bitness, but no add-in: Excel refuses it.
  const std::string program = ProgramDirectory() + "fake_excel_server.exe";

  const ProgramRun run = Setup({program, "wine tester"});

  EXPECT_EQ(run.status, 1u);
  EXPECT_EQ(run.output,
            "\nLoading the excel plugin ...." +
                Report("80020009", Meaning(0x80020009u), "Microsoft Excel",
                       "the fake Excel refused the call"));
  EXPECT_EQ(ExcelLog(), (std::vector<std::string>{
                            "started",
                            "read " + program + " = not an add-in",
                            "quit",
                            "references outstanding 0",
                        }));
}

TEST_F(SetupUnderWineTest, GivenTheOtherBitsFile_ExcelGetsItsOwnBesideIt) {
  ASSERT_TRUE(RegisterExcel());
  // Beside each other as they ship; the other bitness's one here is only a
  // stand-in (not an image), so the installer must not give it to this
  // Excel.
  const std::string xll = folder_ + "\\" + kXllFileName;
  const std::string other = folder_ + "\\" + kOtherXllFileName;
  ASSERT_TRUE(CopyFileA((ProgramDirectory() + kXllFileName).c_str(),
                        xll.c_str(), FALSE));
  std::ofstream(other) << "not an image of this Excel's bitness";

  const ProgramRun run = Setup({other, "wine tester"});

  EXPECT_EQ(run.status, 0u) << run.output;
  const std::vector<std::string> log = ExcelLog();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log[1], "read " + xll + " = Marrowfield");
  EXPECT_EQ(log[2], "xlAutoOpen " + xll + " = 1");
}

TEST_F(SetupUnderWineTest, BusyExcel_TheInstallerRidesItOut) {
  ASSERT_TRUE(RegisterExcel(1500));
  const std::string xll = ProgramDirectory() + kXllFileName;

  const ProgramRun run = Setup({xll, "wine tester"});

  EXPECT_EQ(run.status, 0u) << run.output;
  EXPECT_EQ(run.output, "\nLoading the excel plugin ....");
  const std::vector<std::string> log = ExcelLog();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2].rfind("rejected ", 0), 0u)
      << log[log.size() - 2];
  EXPECT_EQ(log.back(), "references outstanding 0");
}

TEST_F(SetupUnderWineTest, NoExcelRegistered_ReportsClassErrorAndItsMeaning) {
  Server({"/UnregServer"});

  const ProgramRun run = Setup({});

  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.status, 1u);
  // Which of the two the system gives depends on how far the lookup gets.
  const std::string head = "Oops - hit an error!\n\a\tCode = ";
  ASSERT_EQ(run.output.compare(0, head.size(), head), 0) << run.output;
  const std::string code = run.output.substr(head.size(), 8);
  EXPECT_TRUE(code == "800401f3" || code == "80040154") << code;
  EXPECT_EQ(run.output, Report(code, Meaning(std::stoul(code, nullptr, 16)),
                               "(null)", "(null)"));
  EXPECT_TRUE(Lines(folder_ + "\\" + kFakeExcelLog).empty());
  EXPECT_EQ(GetFileAttributesA(ShellLog().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(SetupErrorTextUnderWine, SystemTextLosesItsLineBreak) {
  // E_OUTOFMEMORY: one of the codes Wine's message table knows.
  constexpr uint32_t kCode = 0x8007000Eu;
  ASSERT_FALSE(SystemText(kCode).empty());
  ComAutomationPort port;
  EXPECT_EQ(ErrorMessageText(static_cast<HResult>(kCode), port),
            SystemText(kCode));
}

}  // namespace
}  // namespace marrowfield
