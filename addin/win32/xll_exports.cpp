// The functions Excel calls in MarrowfieldExcel.xll: its add-in entry
// points, the commands and the bridge's probe. Each is a thin shell
// over the one AddinSession of the process, made with the Windows ports on
// first use (so the configuration is read when the host first calls in).
// Open and close also connect and disconnect the ribbon's COM add-in,
// through the Application the session found.
// No exception leaves: a failure to even build the session is reported as
// "Error..." on the debugger output like any other.

#include <windows.h>

#include "addin_dialogs.h"
#include "addin_session.h"
#include "automation_bridge.h"
#include "bridge_state.h"
#include "com_addin_registration.h"
#include "com_automation_port.h"
#include "registry_configuration.h"
#include "win32_debug_output.h"
#include "win32_dialog_windows.h"
#include "win32_host_windows.h"
#include "win32_shell.h"

using marrowfield::XLOPER;

namespace {

marrowfield::Win32DebugOutput& Debug() {
  static marrowfield::Win32DebugOutput debug;
  return debug;
}

marrowfield::AddinSession& Session() {
  static marrowfield::RegistryConfiguration configuration;
  static marrowfield::ComAutomationPort automationPort;
  static marrowfield::Win32HostWindows hostWindows(automationPort);
  static marrowfield::AutomationBridge automation(automationPort, Debug(),
                                                  &hostWindows);
  static marrowfield::Win32Shell shell;
  static marrowfield::Win32DialogWindows windows(shell);
  // The search dialog asks for the Application at each search and jump,
  // so it never holds one across a close and reopen of the add-in.
  static marrowfield::AddinDialogs dialogs(
      [] { return automation.Application(); }, shell, Debug(), windows);
  static marrowfield::AddinSession session(
      marrowfield::LoadAddinConfig(configuration, Debug()),
      marrowfield::AddinPorts{Debug(), automation, dialogs});
  return session;
}

// This module: the XLL, whose path the ribbon's class is registered with
// and whose resources hold its icon.
HMODULE OwnModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&OwnModule), &module);
  return module;
}

marrowfield::ComAddinConnection& Ribbon() {
  static marrowfield::ComAddinConnection ribbon(Debug(), OwnModule());
  return ribbon;
}

// The answer when the session itself could not be made.
XLOPER* ValueError() {
  static XLOPER error;
  error = XLOPER{};
  error.val.err = marrowfield::xlerrValue;
  error.xltype = marrowfield::xltypeErr;
  return &error;
}

template <typename Result, typename Call>
Result WithSession(Result failure, Call&& call) noexcept {
  try {
    return call(Session());
  } catch (...) {
    Debug().Write("Error...");
    return failure;
  }
}

}  // namespace

extern "C" {

int WINAPI xlAutoOpen(void) {
  return WithSession(1, [](auto& session) {
    const int answer = session.AutoOpen();
    // After the menu, which stays whether or not the ribbon connects.
    Ribbon().Connect(g_pdispXL);
    return answer;
  });
}

int WINAPI xlAutoClose(void) {
  return WithSession(1, [](auto& session) {
    // While the session still holds the Application it was connected with.
    Ribbon().Disconnect();
    return session.AutoClose();
  });
}

XLOPER* WINAPI xlAutoRegister(XLOPER* procedureName) {
  return WithSession(ValueError(), [procedureName](auto& session) {
    return session.AutoRegister(procedureName);
  });
}

XLOPER* WINAPI xlAddInManagerInfo(XLOPER* action) {
  return WithSession(ValueError(), [action](auto& session) {
    return session.AddInManagerInfo(action);
  });
}

int WINAPI fMarrowfieldDialog(void) {
  return WithSession(1,
                     [](auto& session) { return session.MarrowfieldDialog(); });
}

int WINAPI fMarrowfieldAbout(void) {
  return WithSession(1,
                     [](auto& session) { return session.MarrowfieldAbout(); });
}

int WINAPI fMarrowfieldTest(void) {
  return WithSession(1,
                     [](auto& session) { return session.MarrowfieldTest(); });
}

int WINAPI fMarrowfieldDuplicates(void) {
  return WithSession(
      1, [](auto& session) { return session.MarrowfieldDuplicates(); });
}

int WINAPI CheckInstance(void) {
  return marrowfield::CheckInstanceProbe(Debug());
}

}  // extern "C"
