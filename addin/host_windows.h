// HostWindows: the add-in's view of the host's windows, as much as finding
// the host's object model through them needs: the calling thread, the
// thread a window belongs to, the windows of a thread or under a parent by
// class name, and the object a window exposes for its native object model
// (AccessibleObjectFromWindow with OBJID_NATIVEOM). Windows implements it
// over user32 and oleacc; tests answer with the fake Excel's own windows.

#ifndef MARROWFIELD_ADDIN_HOST_WINDOWS_H_
#define MARROWFIELD_ADDIN_HOST_WINDOWS_H_

#include <cstdint>
#include <vector>

#include "automation_port.h"
#include "automation_value.h"

namespace marrowfield {

// A window handle's bits. Only the low 32 bits of a handle are significant,
// and 64-bit Windows sign-extends them, so a 32-bit value from the host
// becomes a handle by sign extension (WindowFromHostValue).
using WindowHandle = uint64_t;

constexpr WindowHandle WindowFromHostValue(int32_t value) {
  return static_cast<WindowHandle>(static_cast<int64_t>(value));
}

class HostWindows {
 public:
  virtual ~HostWindows() = default;

  // The identifier of the calling thread.
  virtual uint32_t CurrentThread() noexcept = 0;

  // The thread that made |window| (GetWindowThreadProcessId); 0 when
  // |window| is no window.
  virtual uint32_t ThreadOf(WindowHandle window) noexcept = 0;

  // The top-level windows of |thread| whose class is |className|, in the
  // order the system lists them; empty when there are none (or no memory).
  virtual std::vector<WindowHandle> ThreadWindows(
      uint32_t thread, const char* className) noexcept = 0;

  // The direct children of |parent| whose class is |className|.
  virtual std::vector<WindowHandle> ChildWindows(
      WindowHandle parent, const char* className) noexcept = 0;

  // The object |window| exposes for its native object model, as IDispatch.
  // On success *|object| owns the reference.
  virtual HResult NativeObject(WindowHandle window,
                               DispatchRef* object) noexcept = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_HOST_WINDOWS_H_
