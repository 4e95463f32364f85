// Excel12 in the host process. Excel 2007 and later export MdCallBack12
// from their own executable; the XLL SDK's Excel12 looks it up there with
// GetModuleHandle(NULL) and GetProcAddress, and so does the add-in. An
// older Excel has no such export, and the add-in falls back to Excel4.

#include <windows.h>

#include <atomic>

#include "host_callback_library12.h"

namespace marrowfield {

Excel12Entry FindExcel12Entry() {
  // The host process does not change under a loaded add-in, so the answer
  // is kept once found; calculation threads read it without a lock.
  static std::atomic<Excel12Entry> found{nullptr};
  static std::atomic<bool> looked{false};
  if (looked.load(std::memory_order_acquire)) {
    return found.load(std::memory_order_acquire);
  }
  Excel12Entry entry = nullptr;
  if (HMODULE host = GetModuleHandleW(nullptr)) {
    entry = reinterpret_cast<Excel12Entry>(
        reinterpret_cast<void*>(GetProcAddress(host, "MdCallBack12")));
  }
  found.store(entry, std::memory_order_release);
  looked.store(true, std::memory_order_release);
  return entry;
}

}  // namespace marrowfield
