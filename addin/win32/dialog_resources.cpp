// The add-in's module, its icon, the system cursors and the common
// controls, for the dialog windows.

#include "dialog_resources.h"

#include <commctrl.h>
#include <windowsx.h>

namespace marrowfield {

HMODULE AddinModule() {
  // The templates are in the XLL, not in the host's executable, so the
  // module is found by an address inside it.
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                         GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&AddinModule), &module);
  return module;
}

void RegisterDialogControls() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_BAR_CLASSES;
  InitCommonControlsEx(&controls);
}

SmallIcon::~SmallIcon() {
  if (icon_ != nullptr) DestroyIcon(icon_);
}

void SmallIcon::ShowIn(HWND window) {
  if (icon_ == nullptr) {
    icon_ = static_cast<HICON>(LoadImageA(
        AddinModule(), "IDI_ICON_SEARCH", IMAGE_ICON,
        GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  }
  if (icon_ != nullptr) {
    SendMessageA(window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(icon_));
  }
}

HoverCursors::HoverCursors()
    : hand_(LoadCursor(nullptr, IDC_HAND)),
      arrow_(LoadCursor(nullptr, IDC_ARROW)) {
  // Systems older than the hand cursor have the up arrow instead.
  if (hand_ == nullptr) hand_ = LoadCursor(nullptr, IDC_UPARROW);
}

void HoverCursors::Show(CursorKind kind) const {
  SetCursor(kind == CursorKind::kHand ? hand_ : arrow_);
}

ScreenRect WindowRectangle(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

ScreenPoint MessagePointOnScreen(HWND dialog, LPARAM lParam) {
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ClientToScreen(dialog, &point);
  return {point.x, point.y};
}

}  // namespace marrowfield
