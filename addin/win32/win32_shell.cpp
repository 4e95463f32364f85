// Opening addresses with the user's default browser or mail program.

#include "win32_shell.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace marrowfield {

intptr_t Win32Shell::OpenAddress(const std::string& address) {
  HINSTANCE answer = ShellExecuteA(nullptr, "Open", address.c_str(), nullptr,
                                   nullptr, SW_SHOW);
  return reinterpret_cast<intptr_t>(answer);
}

void Win32Shell::ShowNotice(const std::string& text) {
  // Owned by the dialog the click came from (the thread's active window):
  // an ownerless box inside Excel can fall behind Excel's window while the
  // dialog waits for it.
  MessageBoxA(GetActiveWindow(), text.c_str(), "Marrowfield",
              MB_OK | MB_ICONINFORMATION);
}

}  // namespace marrowfield
