// The host's windows through user32, and a window's native object model
// through oleacc's AccessibleObjectFromWindow, which sends the window
// WM_GETOBJECT with OBJID_NATIVEOM and unmarshals the object it answers.

#include "win32_host_windows.h"

#include <oleacc.h>
#include <windows.h>

#include <cstdint>
#include <string>

namespace marrowfield {
namespace {

HWND ToHandle(WindowHandle window) {
  // Only the low 32 bits are significant; on 32-bit Windows that is all
  // a handle has.
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(window));
}

WindowHandle FromHandle(HWND window) {
  return WindowFromHostValue(static_cast<int32_t>(
      static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window))));
}

bool HasClass(HWND window, const char* className) {
  char name[64] = {};
  return GetClassNameA(window, name, sizeof name) > 0 &&
         lstrcmpiA(name, className) == 0;
}

struct ThreadSearch {
  const char* className;
  std::vector<WindowHandle>* found;
  bool failed;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ThreadSearch*>(context);
  if (!HasClass(window, search->className)) return TRUE;
  try {
    search->found->push_back(FromHandle(window));
  } catch (...) {
    search->failed = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

uint32_t Win32HostWindows::CurrentThread() noexcept {
  return GetCurrentThreadId();
}

uint32_t Win32HostWindows::ThreadOf(WindowHandle window) noexcept {
  HWND handle = ToHandle(window);
  if (handle == nullptr || !IsWindow(handle)) return 0;
  return GetWindowThreadProcessId(handle, nullptr);
}

std::vector<WindowHandle> Win32HostWindows::ThreadWindows(
    uint32_t thread, const char* className) noexcept {
  std::vector<WindowHandle> found;
  ThreadSearch search{className, &found, false};
  EnumThreadWindows(thread, CollectWindow, reinterpret_cast<LPARAM>(&search));
  if (search.failed) found.clear();
  return found;
}

std::vector<WindowHandle> Win32HostWindows::ChildWindows(
    WindowHandle parent, const char* className) noexcept {
  std::vector<WindowHandle> found;
  try {
    HWND child = nullptr;
    while ((child = FindWindowExA(ToHandle(parent), child, className,
                                  nullptr)) != nullptr) {
      found.push_back(FromHandle(child));
    }
  } catch (...) {
    found.clear();
  }
  return found;
}

HResult Win32HostWindows::NativeObject(WindowHandle window,
                                       DispatchRef* object) noexcept {
  void* dispatch = nullptr;
  const HRESULT hr = AccessibleObjectFromWindow(
      ToHandle(window), OBJID_NATIVEOM, IID_IDispatch, &dispatch);
  if (FAILED(hr)) return hr;
  if (dispatch == nullptr) return E_POINTER;
  *object = DispatchRef(port_, static_cast<IDispatch*>(dispatch));
  return S_OK;
}

}  // namespace marrowfield
