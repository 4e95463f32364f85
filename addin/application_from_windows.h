// Finding the Application object of the host process that loaded this copy
// of the add-in through the host's own windows, with no macro. Excel names
// its main window through xlGetHwnd; every workbook window (class EXCEL7,
// under the XLDESK child of a main window of class XLMAIN) exposes its
// Window object through AccessibleObjectFromWindow with OBJID_NATIVEOM, and
// a Window's Application is the Application of the process that owns the
// window. Windows of the calling thread are the host's own: the add-in is
// called on the host's user-interface thread, which made them.

#ifndef MARROWFIELD_ADDIN_APPLICATION_FROM_WINDOWS_H_
#define MARROWFIELD_ADDIN_APPLICATION_FROM_WINDOWS_H_

#include "automation_port.h"
#include "host_windows.h"

struct IDispatch;

namespace marrowfield {

// What a search through the windows saw, for the caller's diagnostics.
struct WindowSearch {
  int mainWindows = 0;      // XLMAIN windows of this thread looked at
  int workbookWindows = 0;  // EXCEL7 windows under them
  int refused = 0;  // workbook windows that gave no Application (Protected
                    // View, or no object at all)
};

// The host's main window as the callback library names it, when it is a
// window of the calling thread; 0 otherwise. Through Excel12 the answer is
// the whole handle; through Excel4 only its low 16 bits, matched against
// the XLMAIN windows of the calling thread.
WindowHandle HostMainWindow(HostWindows& windows) noexcept;

// Walks the XLMAIN windows of the calling thread (the host's main window
// first, then every other: Excel 2013 and later have one per workbook),
// their XLDESK children and those children's EXCEL7 windows, and asks each
// workbook window's Window object for its Application. A window whose
// Window gives no object for Application (one in Protected View) is passed
// over, so nothing found through one is ever kept. Returns S_OK with *|out|
// holding one reference to the Application; otherwise E_FAIL with *|out|
// untouched. |seen|, when not null, says what was looked at. Every other
// reference taken is released before returning.
HResult FindApplicationThroughWindows(AutomationPort& port,
                                      HostWindows& windows, IDispatch** out,
                                      WindowSearch* seen = nullptr) noexcept;

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_APPLICATION_FROM_WINDOWS_H_
