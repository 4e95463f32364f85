// The add-in's module, its icon, the system cursors and the common
// controls, for the dialog windows.

#include "dialog_resources.h"

#include <commctrl.h>
#include <windowsx.h>

#include "resource_ids.h"

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

int WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  HMODULE user32 = GetModuleHandleA("user32.dll");
  const auto getDpiForWindow =
      user32 == nullptr
          ? nullptr
          : reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(
                GetProcAddress(user32, "GetDpiForWindow")));
  if (getDpiForWindow != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(window);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(window, screen);
  return dpi > 0 ? dpi : 96;
}

ScaledLogo::~ScaledLogo() {
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

void ScaledLogo::ShowIn(HWND dialog, int controlId) {
  HWND control = GetDlgItem(dialog, controlId);
  if (control == nullptr) return;
  const auto shown = reinterpret_cast<HBITMAP>(
      SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
  BITMAP size{};
  if (shown == nullptr || GetObjectA(shown, sizeof(size), &size) == 0) return;
  const int dpi = WindowDpi(dialog);
  // Loading at another size stretches the resource's bitmap.
  HBITMAP scaled = static_cast<HBITMAP>(LoadImageA(
      AddinModule(), MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP,
      MulDiv(size.bmWidth, dpi, 96), MulDiv(size.bmHeight, dpi, 96), 0));
  if (scaled == nullptr) return;
  const auto previous = reinterpret_cast<HBITMAP>(SendMessageA(
      control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled)));
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  bitmap_ = scaled;
  // The template's bitmap, given back to us: the control no longer shows it.
  if (previous != nullptr && previous != scaled) DeleteObject(previous);
}

ClientRect ControlRectangleInClient(HWND dialog, HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  // Screen to the dialog's client area: where the control is now, wherever
  // the user has moved the dialog.
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right, rect.bottom};
}

ClientPoint MessagePoint(LPARAM lParam) {
  return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

}  // namespace marrowfield
