// MarrowfieldSetup.exe: installs the add-in into Excel or removes it.
//   MarrowfieldSetup "C:\path\MarrowfieldExcel.xll" "user text"   installs
//   MarrowfieldSetup ["user text"]                                removes
// COM is initialised in the single-threaded apartment for the whole run,
// with a message filter that rides out a busy Excel for a bounded time;
// the installer's logic does the rest over the automation port.

#include <objbase.h>
#include <windows.h>

#include <iostream>
#include <string>
#include <vector>

#include "busy_message_filter.h"
#include "com_automation_port.h"
#include "installer.h"
#include "shell_web_page_opener.h"
#include "win32_setup_system.h"

namespace {

// CoInitialize(NULL) for the process's lifetime; CoUninitialize only when
// it succeeded.
class ComApartment {
 public:
  ComApartment() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComApartment() {
    if (initialized_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialized_;
};

}  // namespace

int main(int argc, char** argv) {
  int status = 1;
  try {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0),
                                             argv + argc);
    ComApartment apartment;
    // Calls a busy Excel rejects are retried for a bounded time.
    marrowfield::BusyMessageFilter filter;
    marrowfield::ComAutomationPort automation;
    marrowfield::ShellWebPageOpener shell;
    marrowfield::Win32SetupSystem system;
    status = marrowfield::RunInstaller(arguments, automation, shell, system,
                                       std::cout);
  } catch (...) {
    // Only the argument copy can throw here, for want of memory; there is
    // nothing left to report it with, and the status says it failed.
  }
  std::cout.flush();
  return status;
}
