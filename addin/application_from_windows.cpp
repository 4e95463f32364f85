// The window route to the own Application. Every reference taken lives in
// a DispatchRef, so each way out releases what it holds once.

#include "application_from_windows.h"

#include <algorithm>
#include <new>
#include <vector>

#include "call_host.h"
#include "call_host12.h"
#include "host_functions.h"
#include "host_members.h"

namespace marrowfield {
namespace {

constexpr const char* kMainWindowClass = "XLMAIN";
constexpr const char* kDeskWindowClass = "XLDESK";
constexpr const char* kWorkbookWindowClass = "EXCEL7";

// The Application of the Window object |window|, or an empty reference when
// it answers with anything but an object, as a Window in Protected View
// does.
DispatchRef ApplicationOfWindow(AutomationPort& port, IDispatch* window) {
  DispId member = 0;
  if (Failed(port.GetIdOfName(window, kApplicationMember, kLocaleEnglishUs,
                              &member))) {
    return {};
  }
  InvokeRequest request{member, kLocaleEnglishUs, InvokeKind::kPropertyGet, {}};
  AutomationValue answer;
  InvokeException exception;
  if (Failed(port.Invoke(window, request, &answer, &exception, nullptr))) {
    return {};
  }
  return answer.TakeObject();
}

// The Application behind the workbook windows under main window |main|.
DispatchRef ApplicationUnder(AutomationPort& port, HostWindows& windows,
                             WindowHandle main, WindowSearch& seen) {
  for (WindowHandle desk : windows.ChildWindows(main, kDeskWindowClass)) {
    for (WindowHandle book : windows.ChildWindows(desk, kWorkbookWindowClass)) {
      ++seen.workbookWindows;
      DispatchRef window;
      if (Succeeded(windows.NativeObject(book, &window)) && window) {
        DispatchRef application = ApplicationOfWindow(port, window.get());
        if (application) return application;
      }
      ++seen.refused;
    }
  }
  return {};
}

}  // namespace

WindowHandle HostMainWindow(HostWindows& windows) noexcept {
  try {
    const uint32_t thread = windows.CurrentThread();
    if (HostOffersExcel12()) {
      XLOPER12 answer{};
      if (CallHost12(xlGetHwnd, &answer) == xlretSuccess &&
          answer.xltype == xltypeInt) {
        const WindowHandle main = WindowFromHostValue(answer.val.w);
        // A handle of another thread is not our host's window, whatever
        // the callback library said.
        if (windows.ThreadOf(main) == thread) return main;
      }
      return 0;
    }
    XLOPER answer{};
    if (CallHost(xlGetHwnd, &answer) != xlretSuccess ||
        answer.xltype != xltypeInt) {
      return 0;
    }
    // Excel4's answer is a 16-bit integer: the low word of the handle.
    const uint16_t lowWord = static_cast<uint16_t>(answer.val.w);
    for (WindowHandle main : windows.ThreadWindows(thread, kMainWindowClass)) {
      if (static_cast<uint16_t>(main & 0xFFFFu) == lowWord) return main;
    }
    return 0;
  } catch (...) {
    return 0;
  }
}

HResult FindApplicationThroughWindows(AutomationPort& port,
                                      HostWindows& windows, IDispatch** out,
                                      WindowSearch* seen) noexcept {
  if (out == nullptr) return kEPointer;
  WindowSearch search;
  HResult hr = kEFail;
  try {
    std::vector<WindowHandle> mains =
        windows.ThreadWindows(windows.CurrentThread(), kMainWindowClass);
    // No main window of this thread: the host cannot name one either.
    if (mains.empty()) {
      if (seen != nullptr) *seen = search;
      return kEFail;
    }
    // The window the host names comes first; the others follow, since a
    // host with one main window per workbook names only the active one.
    const WindowHandle named = HostMainWindow(windows);
    if (named != 0) {
      mains.erase(std::remove(mains.begin(), mains.end(), named), mains.end());
      mains.insert(mains.begin(), named);
    }
    for (WindowHandle main : mains) {
      ++search.mainWindows;
      DispatchRef application = ApplicationUnder(port, windows, main, search);
      if (application) {
        *out = application.Detach();
        hr = kSOk;
        break;
      }
    }
  } catch (const std::bad_alloc&) {
    hr = kEOutOfMemory;
  } catch (...) {
    hr = kEFail;
  }
  if (seen != nullptr) *seen = search;
  return hr;
}

}  // namespace marrowfield
