// The other process is found again by its process identifier: its XLMAIN
// is the top-level window of that class whose owner GetWindowThreadProcessId
// names as that process.

#include "win32/other_excel_process.h"

#include <fstream>
#include <string>

#include "win32/xll_module.h"

namespace marrowfield {
namespace {

// Generous for a loaded machine under Wine; a healthy start takes well under
// a second.
constexpr DWORD kStartLimitMs = 20000;
constexpr DWORD kStopLimitMs = 20000;

struct MainWindowSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<MainWindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[16] = {};
  if (owner == search->processId &&
      GetClassNameA(window, className, sizeof(className)) > 0 &&
      std::string(className) == "XLMAIN") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// The number after |prefix| on a line of |line|; -1 when it is not there.
int Count(const std::string& line, const std::string& prefix) {
  if (line.compare(0, prefix.size(), prefix) != 0) return -1;
  try {
    return std::stoi(line.substr(prefix.size()));
  } catch (...) {
    return -1;
  }
}

}  // namespace

OtherExcelProcess::OtherExcelProcess(const std::string& bookPath,
                                     bool publish) {
  static int made = 0;
  const std::string unique = std::to_string(GetCurrentProcessId()) + "_" +
                             std::to_string(++made);
  char temp[MAX_PATH];
  const DWORD length = GetTempPathA(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) return;
  folder_ = std::string(temp) + "marrowfield_other_excel_" + unique;
  if (!CreateDirectoryA(folder_.c_str(), nullptr)) return;
  const std::string readyName = "Local\\marrowfield_other_excel_ready_" + unique;
  const std::string stopName = "Local\\marrowfield_other_excel_stop_" + unique;
  ready_ = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
  stop_ = CreateEventA(nullptr, TRUE, FALSE, stopName.c_str());
  if (ready_ == nullptr || stop_ == nullptr) return;

  std::string commandLine = "\"" + ProgramDirectory() +
                            "fake_excel_server.exe\" \"--dir=" + folder_ +
                            "\" \"--workbook=" + bookPath + "\" --ready=" +
                            readyName + " --stop=" + stopName;
  if (publish) commandLine += " --publish";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &process_)) {
    process_ = PROCESS_INFORMATION{};
    return;
  }
  HANDLE waited[] = {ready_, process_.hProcess};
  if (WaitForMultipleObjects(2, waited, FALSE, kStartLimitMs) !=
      WAIT_OBJECT_0) {
    return;  // ended, or never got ready
  }
  MainWindowSearch search{process_.dwProcessId, nullptr};
  EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
  mainWindow_ = search.found;
}

OtherExcelProcess::~OtherExcelProcess() {
  if (!stopped_) Stop();
  if (ready_ != nullptr) CloseHandle(ready_);
  if (stop_ != nullptr) CloseHandle(stop_);
  if (!folder_.empty()) {
    DeleteFileA((folder_ + "\\fake_excel.log").c_str());
    DeleteFileA((folder_ + "\\addins.txt").c_str());
    RemoveDirectoryA(folder_.c_str());
  }
}

OtherExcelAnswers OtherExcelProcess::Stop() {
  stopped_ = true;
  OtherExcelAnswers answers;
  if (process_.hProcess == nullptr) return answers;
  SetEvent(stop_);
  const bool ended =
      WaitForSingleObject(process_.hProcess, kStopLimitMs) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(process_.hProcess, 1);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
  process_ = PROCESS_INFORMATION{};
  if (!ended) return answers;
  std::ifstream log(folder_ + "\\fake_excel.log");
  std::string line;
  while (std::getline(log, line)) {
    int value = -1;
    if ((value = Count(line, "window queries ")) >= 0) {
      answers.windowQueries = value;
    } else if ((value = Count(line, "workbooks fetched ")) >= 0) {
      answers.workbooksFetched = value;
    } else if ((value = Count(line, "probes ")) >= 0) {
      answers.probes = value;
    } else if ((value = Count(line, "references outstanding ")) >= 0) {
      answers.referencesOutstanding = value;
    }
  }
  return answers;
}

}  // namespace marrowfield
