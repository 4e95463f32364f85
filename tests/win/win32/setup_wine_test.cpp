// MarrowfieldSetup.exe run for real under Wine: the fake Excel registered
// as the in-process server of "Excel.Application", the real XLL installed
// and removed through it, and the report when no Excel is registered. What
// the fake Excel did is read from its log, the web page the installer
// would open from the shell's log.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "com_automation_port.h"
#include "com_error_report.h"
#include "web_addresses.h"
#include "win32/fake_excel_world.h"
#include "win32/setup_run.h"
#include "win32/xll_module.h"

namespace marrowfield {
namespace {

using ServerFunction = HRESULT(WINAPI*)();

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
    SetEnvironmentVariableA(kFakeExcelDirVariable, folder_.c_str());
    SetEnvironmentVariableA("MARROWFIELD_SETUP_SHELL_LOG", ShellLog().c_str());
    server_ =
        LoadLibraryA((ProgramDirectory() + "fake_excel_server.dll").c_str());
    ASSERT_NE(server_, nullptr);
    register_ = reinterpret_cast<ServerFunction>(
        reinterpret_cast<void*>(GetProcAddress(server_, "DllRegisterServer")));
    unregister_ = reinterpret_cast<ServerFunction>(reinterpret_cast<void*>(
        GetProcAddress(server_, "DllUnregisterServer")));
    ASSERT_NE(register_, nullptr);
    ASSERT_NE(unregister_, nullptr);
  }

  void TearDown() override {
    if (unregister_ != nullptr) unregister_();
    if (server_ != nullptr) FreeLibrary(server_);
    for (const char* name : {kFakeExcelLog, kFakeExcelAddinList, "shell.log"}) {
      DeleteFileA((folder_ + "\\" + name).c_str());
    }
    RemoveDirectoryA(folder_.c_str());
  }

  ProgramRun Setup(const std::vector<std::string>& arguments) {
    ProgramRun run =
        RunProgram(ProgramDirectory() + "MarrowfieldSetup.exe", arguments);
    run.output = Lf(run.output);
    return run;
  }
  std::string ShellLog() const { return folder_ + "\\shell.log"; }
  std::vector<std::string> ExcelLog() const {
    return Lines(folder_ + "\\" + kFakeExcelLog);
  }

  std::string folder_;
  HMODULE server_ = nullptr;
  ServerFunction register_ = nullptr;
  ServerFunction unregister_ = nullptr;
};

TEST_F(SetupUnderWineTest, InstallThenUninstall_HostRunsTheAddinsEntryPoints) {
  ASSERT_EQ(register_(), S_OK);
  const std::string xll = ProgramDirectory() + "MarrowfieldExcel.xll";

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

  const std::string site = productSiteUrl;
  EXPECT_EQ(Lines(ShellLog()),
            (std::vector<std::string>{
                site + "?q=installation&user=wine%20tester",
                site + "?q=un_installation&user=wine%20tester",
            }));
}

TEST_F(SetupUnderWineTest, MissingAddinFile_ReportsHostsErrorAndQuits) {
  ASSERT_EQ(register_(), S_OK);
  const std::string missing = ProgramDirectory() + "NoSuchAddin.xll";

  const ProgramRun run = Setup({missing, "wine tester"});

  ASSERT_TRUE(run.started);
  EXPECT_EQ(run.status, 1u);
  EXPECT_EQ(run.output,
            "\nLoading the excel plugin ...." +
                Report("80020009", Meaning(0x80020009u), "Microsoft Excel",
                       "the fake Excel refused the call"));
  EXPECT_EQ(ExcelLog(), (std::vector<std::string>{
                            "started",
                            "read " + missing + " = not an add-in",
                            "quit",
                            "references outstanding 0",
                        }));
  EXPECT_EQ(GetFileAttributesA(ShellLog().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(SetupUnderWineTest, NoExcelRegistered_ReportsClassErrorAndItsMeaning) {
  unregister_();

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
  EXPECT_TRUE(ExcelLog().empty());
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
