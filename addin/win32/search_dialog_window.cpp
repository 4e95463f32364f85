// The search dialog's window procedure and its view. The procedure only
// translates messages; every decision is SearchDialog's, whose handlers
// never throw, so nothing unwinds through the window system.

#include "search_dialog_window.h"

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <utility>

#include "dialog_resources.h"
#include "resource_ids.h"
#include "search_dialog.h"
#include "search_dialog_view.h"

namespace marrowfield {
namespace {

class SearchWindow : public SearchDialogView {
 public:
  SearchWindow(SearchDialog& dialog, std::string versionText,
               std::function<void()> showAbout)
      : dialog_(dialog),
        versionText_(std::move(versionText)),
        showAbout_(std::move(showAbout)) {}

  SearchDialog& dialog() { return dialog_; }

  void Attach(HWND window) {
    window_ = window;
    // The field holds what a search takes; the slider spans the levels.
    Send(IDC_SEARCH_TEXT, EM_LIMITTEXT, kMaxSearchTextLength, 0);
    Send(IDC_ACCURACY, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
    logo_.ShowIn(window_, IDC_SEARCH_LOGO);
    dialog_.Initialise(*this, versionText_);
  }

  void SetCaption(const std::string& caption) override {
    SetWindowTextA(window_, caption.c_str());
  }
  void ShowIcon() override { icon_.ShowIn(window_); }
  void EndDialog(int32_t result) override { ::EndDialog(window_, result); }
  // Only the list is rebuilt, so only it stops drawing; LockWindowUpdate
  // would lock one window for the whole system and is not meant for this.
  void LockUpdates() override { Send(IDC_RESULTS, WM_SETREDRAW, FALSE, 0); }
  void UnlockUpdates() override {
    Send(IDC_RESULTS, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(GetDlgItem(window_, IDC_RESULTS), nullptr, nullptr,
                 RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }
  void ShowMessage(const std::string& text) override {
    MessageBoxA(window_, text.c_str(), "Marrowfield",
                MB_OK | MB_ICONINFORMATION);
  }
  void SetCursor(CursorKind cursor) override { cursors_.Show(cursor); }

  std::string SearchText() override {
    char text[kMaxSearchTextLength + 1] = {};
    const UINT length =
        GetDlgItemTextA(window_, IDC_SEARCH_TEXT, text, sizeof text);
    return std::string(text, length);
  }
  void SetSearchText(const std::string& text) override {
    SetDlgItemTextA(window_, IDC_SEARCH_TEXT, text.c_str());
  }
  void FocusSearchField() override {
    SetFocus(GetDlgItem(window_, IDC_SEARCH_TEXT));
  }
  void PostSearchClick() override {
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window_, IDOK)));
  }

  void ClearList() override { Send(IDC_RESULTS, LB_RESETCONTENT, 0, 0); }
  void AddListItem(const std::string& text) override {
    Send(IDC_RESULTS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  int32_t ListCount() override {
    return static_cast<int32_t>(Send(IDC_RESULTS, LB_GETCOUNT, 0, 0));
  }
  bool SelectListItem(int32_t index) override {
    return Send(IDC_RESULTS, LB_SETCURSEL, static_cast<WPARAM>(index), 0) !=
           LB_ERR;
  }
  int32_t ListSelection() override {
    return static_cast<int32_t>(Send(IDC_RESULTS, LB_GETCURSEL, 0, 0));
  }

  void EnablePrev(bool enabled) override { Enable(IDC_PREV, enabled); }
  void EnableNext(bool enabled) override { Enable(IDC_NEXT, enabled); }

  void SetAccuracy(int32_t position) override {
    Send(IDC_ACCURACY, TBM_SETPOS, TRUE, position);
  }
  int32_t Accuracy() override {
    return static_cast<int32_t>(Send(IDC_ACCURACY, TBM_GETPOS, 0, 0));
  }

  ClientRect LogoRectangle() override {
    return ControlRectangleInClient(window_,
                                    GetDlgItem(window_, IDC_SEARCH_LOGO));
  }
  void RepaintLogo() override {
    InvalidateRect(GetDlgItem(window_, IDC_SEARCH_LOGO), nullptr, TRUE);
  }

  void ShowAboutDialog() override {
    if (showAbout_) showAbout_();
  }

 private:
  LRESULT Send(int control, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(window_, control, message, wParam, lParam);
  }
  void Enable(int control, bool enabled) {
    EnableWindow(GetDlgItem(window_, control), enabled ? TRUE : FALSE);
  }

  SearchDialog& dialog_;
  std::string versionText_;
  std::function<void()> showAbout_;
  HWND window_ = nullptr;
  SmallIcon icon_;
  HoverCursors cursors_;
  ScaledLogo logo_;
};

INT_PTR CALLBACK SearchDialogProc(HWND window, UINT message, WPARAM wParam,
                                  LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    reinterpret_cast<SearchWindow*>(lParam)->Attach(window);
    // The field has the focus already; the default would move it.
    return FALSE;
  }
  auto* view =
      reinterpret_cast<SearchWindow*>(GetWindowLongPtrA(window, DWLP_USER));
  if (view == nullptr) return FALSE;
  SearchDialog& dialog = view->dialog();
  switch (message) {
    case WM_COMMAND:
      dialog.OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) != GetDlgItem(window, IDC_ACCURACY)) {
        return FALSE;
      }
      dialog.OnAccuracyScroll(LOWORD(wParam));
      return TRUE;
    case WM_MOUSEMOVE:
      dialog.OnMouseMove(MessagePoint(lParam));
      return TRUE;
    case WM_LBUTTONDOWN:
      dialog.OnLeftButtonDown(MessagePoint(lParam));
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void RunSearchDialogWindow(SearchDialog& dialog, const std::string& versionText,
                           std::function<void()> showAbout) noexcept {
  try {
    SearchWindow view(dialog, versionText, std::move(showAbout));
    RegisterDialogControls();
    DialogBoxParamA(AddinModule(), MAKEINTRESOURCEA(IDD_SEARCH_DIALOG),
                    GetActiveWindow(), SearchDialogProc,
                    reinterpret_cast<LPARAM>(&view));
  } catch (...) {
    // Only making the view can throw (out of memory): no dialog is shown.
  }
  dialog.Detach();
}

}  // namespace marrowfield
