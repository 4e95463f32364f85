// The installer's sequence, in the order the host expects it: alerts off
// (an invisible Excel waiting for an answer to a prompt would hang the
// installer), a blank workbook (Excel will not load add-ins into an
// instance with none open), then the add-in list, the web page, and the
// clean-up. One handler around the whole sequence reports the first
// failure, tells a started host to quit, and lets the holders release what
// was got so far.

#include "installer.h"

#include <new>
#include <string>
#include <utility>

#include "addin_choice.h"
#include "com_error.h"
#include "com_error_report.h"
#include "host_calls.h"
#include "installer_address.h"
#include "installer_members.h"
#include "ribbon_ui.h"
#include "web_addresses.h"

#ifndef MARROWFIELD_VERSION_TEXT
#error "the build defines MARROWFIELD_VERSION_TEXT"
#endif

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

// The folder part of |path|, with its separator; empty when there is none.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The bitness of the started Excel, from the process owning its window;
// 0 when Excel does not say (Hwnd is missing before Excel 2002).
int ExcelBitness(AutomationPort& port, SetupSystem& system, Held& held) {
  AutomationValue window;
  try {
    window = InvokeMember(port, held.application, installer::kHwnd,
                          InvokeKind::kPropertyGet, {}, true);
  } catch (const ComError&) {
    return 0;
  }
  int64_t handle = 0;
  if (window.kind() == ValueKind::kInt32) handle = window.int32();
  if (window.kind() == ValueKind::kInt16) handle = window.int16();
  // Window handles are 32-bit values in 64-bit Windows too; Excel hands
  // them out as a Long, which may come back negative.
  handle = static_cast<int64_t>(static_cast<uint32_t>(handle));
  return handle == 0 ? 0 : system.ProcessBitnessOfWindow(handle);
}

void Install(AutomationPort& port, SetupSystem& system, Held& held,
             const std::string& path) {
  // The add-in reads these when Excel loads it, below.
  system.WriteSetting(installer::kSampleWorkbookSetting,
                      FolderOf(path) + installer::kSampleWorkbookFile);
  system.WriteSetting(installer::kVersionSetting, MARROWFIELD_VERSION_TEXT);
  try {
    DispatchRef addins =
        ObjectResult(InvokeMember(port, held.application, installer::kAddIns,
                                  InvokeKind::kPropertyGet, {}, true));
    // CopyFile False, said outright: Excel asks the user whether to copy an
    // add-in from removable media or a network share when it is left out.
    held.addin = ObjectResult(
        InvokeMember(port, addins, installer::kAdd, InvokeKind::kMethod,
                     Arguments(AutomationValue::String(path),
                               AutomationValue::Boolean(false)),
                     true));
    addins.Reset();
    // The host loads the add-in and runs its xlAutoOpen.
    InvokeMember(port, held.addin, installer::kInstalled,
                 InvokeKind::kPropertyPut,
                 Arguments(AutomationValue::Boolean(true)), false);
  } catch (...) {
    // An add-in that was not installed leaves no settings behind.
    system.RemoveSetting(installer::kSampleWorkbookSetting);
    system.RemoveSetting(installer::kVersionSetting);
    throw;
  }
}

// Text of a string member of |object|; empty when it has none.
std::string TextMember(AutomationPort& port, const DispatchRef& object,
                       DispId member) {
  AutomationValue value =
      InvokeMember(port, object, member, InvokeKind::kPropertyGet, {}, true);
  return value.kind() == ValueKind::kString ? value.text() : std::string();
}

// The listed add-in whose file is ours, by its Name or the last part of its
// FullName; empty when there is none.
DispatchRef FindByFileName(AutomationPort& port, const DispatchRef& addins) {
  const AutomationValue count = InvokeMember(
      port, addins, installer::kCount, InvokeKind::kPropertyGet, {}, true);
  const int32_t listed = count.kind() == ValueKind::kInt32   ? count.int32()
                         : count.kind() == ValueKind::kInt16 ? count.int16()
                                                             : 0;
  for (int32_t index = 1; index <= listed; ++index) {
    DispatchRef addin = ObjectResult(
        InvokeMember(port, addins, installer::kItem, InvokeKind::kPropertyGet,
                     Arguments(AutomationValue::Int32(index)), true));
    if (!addin) continue;
    std::string name = TextMember(port, addin, installer::kName);
    if (!IsAddinFileName(name)) {
      const std::string full = TextMember(port, addin, installer::kFullName);
      name = full.substr(FolderOf(full).size());
    }
    if (IsAddinFileName(name)) return addin;
  }
  return {};
}

void Uninstall(AutomationPort& port, SetupSystem& system, Held& held) {
  // The ribbon's COM add-in keys, which the add-in writes at open and takes
  // back at close: first, so that none outlives the add-in even when Excel
  // no longer lists it or a crashed Excel never closed it.
  for (const std::string& key :
       {RibbonAddinKey(), RibbonClassKey(), RibbonProgIdKey()}) {
    system.RemoveUserKey(key);
  }
  DispatchRef addins =
      ObjectResult(InvokeMember(port, held.application, installer::kAddIns,
                                InvokeKind::kPropertyGet, {}, true));
  try {
    held.addin = ObjectResult(InvokeMember(
        port, addins, installer::kItem, InvokeKind::kPropertyGet,
        Arguments(AutomationValue::String(installer::kAddinTitle)), true));
  } catch (const ComError&) {
    // An Excel started through automation may not have loaded the XLL to
    // learn its title; its file name is listed all the same. When that
    // finds nothing either, the title's failure is the one reported.
    held.addin = FindByFileName(port, addins);
    if (!held.addin) throw;
  }
  addins.Reset();
  // The host runs the add-in's xlAutoClose.
  InvokeMember(port, held.addin, installer::kInstalled,
               InvokeKind::kPropertyPut,
               Arguments(AutomationValue::Boolean(false)), false);
  system.RemoveSetting(installer::kSampleWorkbookSetting);
  system.RemoveSetting(installer::kVersionSetting);
}

void Run(const std::vector<std::string>& arguments, AutomationPort& port,
         WebPageOpener& shell, SetupSystem& system, std::ostream& out,
         Held& held) {
  held.application = StartHost(port);
  // Before anything that could prompt: no one sees this Excel to answer.
  InvokeMember(port, held.application, installer::kDisplayAlerts,
               InvokeKind::kPropertyPut,
               Arguments(AutomationValue::Boolean(false)), false);
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
    const std::string file =
        ChooseAddinFile(arguments[0], ExcelBitness(port, system, held), system);
    Install(port, system, held, file);
    address = InstallerAddress(productSiteUrl, kInstallQuery, arguments[1]);
  } else {
    out << "\nUnloading the excel plugin ....";
    Uninstall(port, system, held);
    address = InstallerAddress(productSiteUrl, kUninstallQuery,
                               arguments.empty() ? "" : arguments[0]);
  }
  shell.Open(address);
  InvokeMember(port, held.workbook, installer::kClose, InvokeKind::kMethod, {},
               false);
  InvokeMember(port, held.application, installer::kQuit, InvokeKind::kMethod,
               {}, false);
}

// Asks a started host to quit (a failure to quit is not reported: the
// first error is the one that matters), and releases.
void QuitAndRelease(AutomationPort& port, Held& held) noexcept {
  if (held.application) {
    try {
      InvokeMember(port, held.application, installer::kQuit,
                   InvokeKind::kMethod, {}, false);
    } catch (...) {
    }
  }
  held.ReleaseAll();
}

// Reports |error|, then quits and releases.
void Fail(const ComError& error, AutomationPort& port, std::ostream& out,
          Held& held) noexcept {
  try {
    ReportComError(error, port, out);
  } catch (...) {
  }
  QuitAndRelease(port, held);
}

}  // namespace

int RunInstaller(const std::vector<std::string>& arguments,
                 AutomationPort& port, WebPageOpener& shell,
                 SetupSystem& system, std::ostream& out) noexcept {
  Held held;
  try {
    Run(arguments, port, shell, system, out, held);
    held.ReleaseAll();
    return 0;
  } catch (const SetupFailure& failure) {
    try {
      out << failure.what();
    } catch (...) {
    }
    QuitAndRelease(port, held);
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
