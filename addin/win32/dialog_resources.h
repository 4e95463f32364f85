// What both dialog windows take from the add-in's module and the system:
// the module that holds the templates, the title-bar icon, the hand and
// arrow cursors, and the common controls (the search dialog's slider).

#ifndef MARROWFIELD_ADDIN_WIN32_DIALOG_RESOURCES_H_
#define MARROWFIELD_ADDIN_WIN32_DIALOG_RESOURCES_H_

#include <windows.h>

#include "dialog_geometry.h"

namespace marrowfield {

// The module this code is linked into (the XLL), whatever loaded it.
HMODULE AddinModule();

// Registers the common controls' window classes the templates use. Safe
// to call before every dialog.
void RegisterDialogControls();

// The small icon "IDI_ICON_SEARCH", loaded for one window and destroyed
// with this object, after the window that shows it.
class SmallIcon {
 public:
  SmallIcon() = default;
  ~SmallIcon();
  SmallIcon(const SmallIcon&) = delete;
  SmallIcon& operator=(const SmallIcon&) = delete;

  // Loads the icon (once) and sets it as |window|'s small icon.
  void ShowIn(HWND window);

 private:
  HICON icon_ = nullptr;
};

// The system's hand cursor (the up arrow where there is none) and arrow.
class HoverCursors {
 public:
  HoverCursors();
  void Show(CursorKind kind) const;

 private:
  HCURSOR hand_;
  HCURSOR arrow_;
};

// The logo bitmap scaled to a dialog's DPI. The template's bitmap has its
// pixel size for 96 DPI, and Excel is DPI aware, so at 150 % or 200 % the
// unscaled bitmap would shrink beside the scaled text. The scaled copy
// lives as long as this object, which must outlive the dialog.
class ScaledLogo {
 public:
  ScaledLogo() = default;
  ~ScaledLogo();
  ScaledLogo(const ScaledLogo&) = delete;
  ScaledLogo& operator=(const ScaledLogo&) = delete;

  // Puts the logo at |dialog|'s DPI into the bitmap static |controlId|.
  void ShowIn(HWND dialog, int controlId);

 private:
  HBITMAP bitmap_ = nullptr;
};

// The DPI |window| is shown at (GetDpiForWindow where Windows has it, the
// screen's logical DPI before Windows 10).
int WindowDpi(HWND window);

// The rectangle of |control| in |dialog|'s client coordinates, as it is at
// the call.
ClientRect ControlRectangleInClient(HWND dialog, HWND control);

// The mouse position of a mouse message's |lParam|, in the client
// coordinates of the window that got the message.
ClientPoint MessagePoint(LPARAM lParam);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_DIALOG_RESOURCES_H_
