// The About dialog's window procedure and its view. The link statics do
// not take mouse input, so the dialog itself sees the mouse over them; it
// colours them when the controls ask for their colours.

#include "about_dialog_window.h"

#include <windows.h>

#include "about_dialog.h"
#include "about_dialog_view.h"
#include "dialog_resources.h"
#include "resource_ids.h"

namespace marrowfield {
namespace {

class AboutWindow : public AboutDialogView {
 public:
  explicit AboutWindow(AboutDialog& dialog) : dialog_(dialog) {}

  AboutDialog& dialog() { return dialog_; }

  void Attach(HWND window) {
    window_ = window;
    logo_.ShowIn(window_, IDC_ABOUT_LOGO);
    dialog_.Initialise(*this);
  }

  ClientRect ControlRectangle(int32_t controlId) override {
    return ControlRectangleInClient(window_, GetDlgItem(window_, controlId));
  }
  void RepaintControl(int32_t controlId) override {
    InvalidateRect(GetDlgItem(window_, controlId), nullptr, TRUE);
  }
  void SetCursor(CursorKind cursor) override { cursors_.Show(cursor); }
  void ShowIcon() override { icon_.ShowIn(window_); }
  void EndDialog(int32_t result) override { ::EndDialog(window_, result); }

 private:
  AboutDialog& dialog_;
  HWND window_ = nullptr;
  SmallIcon icon_;
  HoverCursors cursors_;
  ScaledLogo logo_;
};

INT_PTR ControlColours(AboutDialog& dialog, HDC dc, HWND control) {
  const StaticColours colours = dialog.ColoursFor(GetDlgCtrlID(control));
  if (!colours.isLink) return FALSE;
  SetBkMode(dc, TRANSPARENT);
  if (colours.setTextColour) SetTextColor(dc, colours.textColour);
  return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

INT_PTR Handle(AboutWindow& view, UINT message, WPARAM wParam, LPARAM lParam) {
  AboutDialog& dialog = view.dialog();
  switch (message) {
    case WM_MOUSEMOVE:
      dialog.OnMouseMove(MessagePoint(lParam));
      return TRUE;
    case WM_LBUTTONDOWN:
      dialog.OnLeftButtonDown(MessagePoint(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return ControlColours(dialog, reinterpret_cast<HDC>(wParam),
                            reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
      dialog.OnCommand(LOWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK AboutDialogProc(HWND window, UINT message, WPARAM wParam,
                                 LPARAM lParam) {
  try {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrA(window, DWLP_USER, lParam);
      reinterpret_cast<AboutWindow*>(lParam)->Attach(window);
      return TRUE;  // the default focus: OK
    }
    auto* view =
        reinterpret_cast<AboutWindow*>(GetWindowLongPtrA(window, DWLP_USER));
    if (view == nullptr) return FALSE;
    return Handle(*view, message, wParam, lParam);
  } catch (...) {
    // Nothing may unwind through the window system; a link that could not
    // be opened for want of memory is simply not opened.
    return FALSE;
  }
}

}  // namespace

void RunAboutDialogWindow(AboutDialog& dialog) noexcept {
  AboutWindow view(dialog);
  DialogBoxParamA(AddinModule(), MAKEINTRESOURCEA(IDD_ABOUT_DIALOG),
                  GetActiveWindow(), AboutDialogProc,
                  reinterpret_cast<LPARAM>(&view));
}

}  // namespace marrowfield
