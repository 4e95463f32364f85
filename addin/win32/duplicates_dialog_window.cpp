// The Find duplicates dialog's window procedure and its view. The
// procedure only translates messages; every decision is DuplicatesDialog's,
// whose handlers never throw. While the dedupe runs on its worker thread
// the dialog's own message loop keeps running (the window repaints, Cancel
// answers), and a timer on this thread, the host's, collects the result,
// so the host is only ever called from its own thread.

#include "duplicates_dialog_window.h"

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>

#include <string>
#include <vector>

#include "dialog_resources.h"
#include "duplicates_dialog.h"
#include "duplicates_dialog_view.h"
#include "resource_ids.h"

namespace marrowfield {
namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMilliseconds = 100;

class DuplicatesWindow : public DuplicatesDialogView {
 public:
  explicit DuplicatesWindow(DuplicatesDialog& dialog) : dialog_(dialog) {}

  DuplicatesDialog& dialog() { return dialog_; }

  void Attach(HWND window) {
    window_ = window;
    Send(IDC_DUP_ACCURACY, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
    Send(IDC_DUP_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    dialog_.Initialise(*this);
  }

  void EndDialog(int32_t result) override {
    StopTimer();
    ::EndDialog(window_, result);
  }
  void ShowMessage(const std::string& text) override {
    MessageBoxA(window_, text.c_str(), "Marrowfield",
                MB_OK | MB_ICONINFORMATION);
  }

  void SetColumns(const std::vector<std::string>& items,
                  int32_t selected) override {
    Send(IDC_DUP_COLUMN, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) {
      Send(IDC_DUP_COLUMN, CB_ADDSTRING, 0,
           reinterpret_cast<LPARAM>(item.c_str()));
    }
    Send(IDC_DUP_COLUMN, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  }
  int32_t SelectedColumn() override {
    const LRESULT selected = Send(IDC_DUP_COLUMN, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? 0 : static_cast<int32_t>(selected);
  }
  void SetHeader(bool header) override { Check(IDC_DUP_HEADER, header); }
  bool Header() override { return Checked(IDC_DUP_HEADER); }
  void SetNote(const std::string& text) override {
    SetDlgItemTextA(window_, IDC_DUP_NOTE, text.c_str());
  }
  void SetAccuracy(int32_t position) override {
    Send(IDC_DUP_ACCURACY, TBM_SETPOS, TRUE, position);
  }
  int32_t Accuracy() override {
    return static_cast<int32_t>(Send(IDC_DUP_ACCURACY, TBM_GETPOS, 0, 0));
  }
  void SetTolerant(bool tolerant) override {
    Check(IDC_DUP_STRICT, !tolerant);
    Check(IDC_DUP_TOLERANT, tolerant);
  }
  bool Tolerant() override { return Checked(IDC_DUP_TOLERANT); }
  void SetWholeCell(bool wholeCell) override {
    Check(IDC_DUP_WORDS, !wholeCell);
    Check(IDC_DUP_WHOLE, wholeCell);
  }
  bool WholeCell() override { return Checked(IDC_DUP_WHOLE); }

  void ShowWorking(bool working) override {
    for (int control :
         {IDC_DUP_COLUMN, IDC_DUP_HEADER, IDC_DUP_ACCURACY, IDC_DUP_STRICT,
          IDC_DUP_TOLERANT, IDC_DUP_WORDS, IDC_DUP_WHOLE, IDOK}) {
      EnableWindow(GetDlgItem(window_, control), working ? FALSE : TRUE);
    }
    ShowWindow(GetDlgItem(window_, IDC_DUP_PROGRESS),
               working ? SW_SHOW : SW_HIDE);
  }
  void SetProgress(int32_t percent) override {
    Send(IDC_DUP_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  }
  void StartTimer() override {
    SetTimer(window_, kPollTimer, kPollMilliseconds, nullptr);
  }
  void StopTimer() override { KillTimer(window_, kPollTimer); }

 private:
  LRESULT Send(int control, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendDlgItemMessageA(window_, control, message, wParam, lParam);
  }
  void Check(int control, bool on) {
    CheckDlgButton(window_, control, on ? BST_CHECKED : BST_UNCHECKED);
  }
  bool Checked(int control) {
    return IsDlgButtonChecked(window_, control) == BST_CHECKED;
  }

  DuplicatesDialog& dialog_;
  HWND window_ = nullptr;
};

INT_PTR CALLBACK DuplicatesDialogProc(HWND window, UINT message, WPARAM wParam,
                                      LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    reinterpret_cast<DuplicatesWindow*>(lParam)->Attach(window);
    return TRUE;
  }
  auto* view =
      reinterpret_cast<DuplicatesWindow*>(GetWindowLongPtrA(window, DWLP_USER));
  if (view == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      view->dialog().OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_TIMER:
      if (wParam != kPollTimer) return FALSE;
      view->dialog().OnTimer();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void RunDuplicatesDialogWindow(DuplicatesDialog& dialog) noexcept {
  try {
    DuplicatesWindow view(dialog);
    RegisterDialogControls();
    INITCOMMONCONTROLSEX progress{};
    progress.dwSize = sizeof progress;
    progress.dwICC = ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&progress);
    DialogBoxParamA(AddinModule(), MAKEINTRESOURCEA(IDD_DUPLICATES_DIALOG),
                    GetActiveWindow(), DuplicatesDialogProc,
                    reinterpret_cast<LPARAM>(&view));
  } catch (...) {
    // Only making the view can throw (out of memory): no dialog is shown.
  }
  dialog.Detach();
}

}  // namespace marrowfield
