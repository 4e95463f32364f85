// The dialogs' windows; the search dialog's "About" button opens a fresh
// About dialog over it.

#include "win32_dialog_windows.h"

#include "about_dialog.h"
#include "about_dialog_window.h"
#include "duplicates_dialog_window.h"
#include "search_dialog_window.h"

namespace marrowfield {

void Win32DialogWindows::RunSearchWindow(
    SearchDialog& dialog, const std::string& versionText) noexcept {
  RunSearchDialogWindow(dialog, versionText, [this] {
    AboutDialog about(shell_);
    RunAboutWindow(about);
  });
}

void Win32DialogWindows::RunAboutWindow(AboutDialog& dialog) noexcept {
  RunAboutDialogWindow(dialog);
}

void Win32DialogWindows::RunDuplicatesWindow(
    DuplicatesDialog& dialog) noexcept {
  RunDuplicatesDialogWindow(dialog);
}

}  // namespace marrowfield
