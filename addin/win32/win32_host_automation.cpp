// The automation port over COM, as far as the add-in has it so far.

#include "win32_host_automation.h"

#include <oaidl.h>
#include <windows.h>

#include "bridge_state.h"
#include "host_call_error.h"

namespace marrowfield {

int32_t Win32HostAutomation::ConnectToHost() noexcept {
  return static_cast<int32_t>(E_NOTIMPL);
}

void Win32HostAutomation::ReleaseApplication() noexcept {
  if (g_pdispXL != nullptr) g_pdispXL->Release();
}

void Win32HostAutomation::AddWorkbookFromTemplate(const std::string&) {
  throw HostCallError(static_cast<int32_t>(E_NOTIMPL),
                      "the host's automation is not connected");
}

}  // namespace marrowfield
