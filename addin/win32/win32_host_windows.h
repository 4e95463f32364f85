// Win32HostWindows: the host-windows port over user32 and oleacc, as the
// add-in uses it inside Excel to find Excel's workbook windows and their
// Window objects.

#ifndef MARROWFIELD_ADDIN_WIN32_WIN32_HOST_WINDOWS_H_
#define MARROWFIELD_ADDIN_WIN32_WIN32_HOST_WINDOWS_H_

#include <vector>

#include "automation_port.h"
#include "host_windows.h"

namespace marrowfield {

class Win32HostWindows : public HostWindows {
 public:
  // The objects found are handed out through |port|, which must outlive
  // this.
  explicit Win32HostWindows(AutomationPort& port) : port_(port) {}

  uint32_t CurrentThread() noexcept override;
  uint32_t ThreadOf(WindowHandle window) noexcept override;
  std::vector<WindowHandle> ThreadWindows(
      uint32_t thread, const char* className) noexcept override;
  std::vector<WindowHandle> ChildWindows(
      WindowHandle parent, const char* className) noexcept override;
  HResult NativeObject(WindowHandle window,
                       DispatchRef* object) noexcept override;

 private:
  AutomationPort& port_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_WIN32_HOST_WINDOWS_H_
