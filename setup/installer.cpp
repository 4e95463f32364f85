// The installer's sequence, in the order the host expects it: a blank
// workbook first (Excel will not load add-ins into an instance with none
// open), then the add-in list, the web page, and the clean-up. One handler
// around the whole sequence reports the first failure, tells a started
// host to quit, and lets the holders release what was got so far.

#include "installer.h"

#include <new>
#include <utility>

#include "com_error.h"
#include "com_error_report.h"
#include "host_calls.h"
#include "installer_address.h"
#include "installer_members.h"
#include "web_addresses.h"

namespace marrowfield {
namespace {

constexpr HResult kEUnexpected = static_cast<HResult>(0x8000FFFFu);

// An optional argument left out, as automation expects it.
AutomationValue Omitted() {
  return AutomationValue::Error(kDispEParamNotFound);
}

template <typename... Values>
std::vector<AutomationValue> Arguments(Values... values) {
  std::vector<AutomationValue> arguments;
  (arguments.push_back(std::move(values)), ...);
  return arguments;
}

// The host objects the run holds; released add-in first, application last.
struct Held {
  DispatchRef application;
  DispatchRef workbook;
  DispatchRef addin;

  void ReleaseAll() noexcept {
    addin.Reset();
    workbook.Reset();
    application.Reset();
  }
};

void Install(AutomationPort& port, Held& held, const std::string& path) {
  DispatchRef addins =
      ObjectResult(InvokeMember(port, held.application, installer::kAddIns,
                                InvokeKind::kPropertyGet, {}, true));
  held.addin = ObjectResult(
      InvokeMember(port, addins, installer::kAdd, InvokeKind::kMethod,
                   Arguments(AutomationValue::String(path), Omitted()), true));
  addins.Reset();
  // The host loads the add-in and runs its xlAutoOpen.
  InvokeMember(port, held.addin, installer::kInstalled,
               InvokeKind::kPropertyPut,
               Arguments(AutomationValue::Boolean(true)), false);
}

void Uninstall(AutomationPort& port, Held& held) {
  DispatchRef addins =
      ObjectResult(InvokeMember(port, held.application, installer::kAddIns,
                                InvokeKind::kPropertyGet, {}, true));
  held.addin = ObjectResult(InvokeMember(
      port, addins, installer::kItem, InvokeKind::kPropertyGet,
      Arguments(AutomationValue::String(installer::kAddinTitle)), true));
  addins.Reset();
  // The host runs the add-in's xlAutoClose.
  InvokeMember(port, held.addin, installer::kInstalled,
               InvokeKind::kPropertyPut,
               Arguments(AutomationValue::Boolean(false)), false);
}

void Run(const std::vector<std::string>& arguments, AutomationPort& port,
         WebPageOpener& shell, std::ostream& out, Held& held) {
  held.application = StartHost(port);
  {
    DispatchRef workbooks =
        ObjectResult(InvokeMember(port, held.application, installer::kWorkbooks,
                                  InvokeKind::kPropertyGet, {}, true));
    held.workbook = ObjectResult(InvokeMember(port, workbooks, installer::kAdd,
                                              InvokeKind::kMethod,
                                              Arguments(Omitted()), true));
  }
  std::string address;
  if (arguments.size() >= 2) {
    out << "\nLoading the excel plugin ....";
    Install(port, held, arguments[0]);
    address = InstallerAddress(productSiteUrl, kInstallQuery, arguments[1]);
  } else {
    out << "\nUnloading the excel plugin ....";
    Uninstall(port, held);
    address = InstallerAddress(productSiteUrl, kUninstallQuery,
                               arguments.empty() ? "" : arguments[0]);
  }
  shell.Open(address);
  InvokeMember(port, held.workbook, installer::kClose, InvokeKind::kMethod, {},
               false);
  InvokeMember(port, held.application, installer::kQuit, InvokeKind::kMethod,
               {}, false);
}

// Reports |error|, asks a started host to quit (a failure to quit is not
// reported: the first error is the one that matters), and releases.
void Fail(const ComError& error, AutomationPort& port, std::ostream& out,
          Held& held) noexcept {
  try {
    ReportComError(error, port, out);
  } catch (...) {
  }
  if (held.application) {
    try {
      InvokeMember(port, held.application, installer::kQuit,
                   InvokeKind::kMethod, {}, false);
    } catch (...) {
    }
  }
  held.ReleaseAll();
}

}  // namespace

int RunInstaller(const std::vector<std::string>& arguments,
                 AutomationPort& port, WebPageOpener& shell,
                 std::ostream& out) noexcept {
  Held held;
  try {
    Run(arguments, port, shell, out, held);
    held.ReleaseAll();
    return 0;
  } catch (const ComError& error) {
    Fail(error, port, out, held);
  } catch (const std::bad_alloc&) {
    Fail(ComError(kEOutOfMemory), port, out, held);
  } catch (...) {
    Fail(ComError(kEUnexpected), port, out, held);
  }
  return 1;
}

}  // namespace marrowfield
