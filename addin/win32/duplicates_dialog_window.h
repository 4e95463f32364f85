// The Find duplicates dialog's window: template IDD_DUPLICATES_DIALOG run
// modally, its messages and timer handed to DuplicatesDialog, and
// DuplicatesDialogView carried out on its controls.

#ifndef MARROWFIELD_ADDIN_WIN32_DUPLICATES_DIALOG_WINDOW_H_
#define MARROWFIELD_ADDIN_WIN32_DUPLICATES_DIALOG_WINDOW_H_

namespace marrowfield {

class DuplicatesDialog;

// Shows the Find duplicates dialog for |dialog|, owned by the active
// window, until it ends. Calls dialog.Detach() before returning.
void RunDuplicatesDialogWindow(DuplicatesDialog& dialog) noexcept;

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_DUPLICATES_DIALOG_WINDOW_H_
