// The About dialog's window: template 7036 run modally, its messages handed
// to AboutDialog.

#ifndef MARROWFIELD_ADDIN_WIN32_ABOUT_DIALOG_WINDOW_H_
#define MARROWFIELD_ADDIN_WIN32_ABOUT_DIALOG_WINDOW_H_

namespace marrowfield {

class AboutDialog;

// Shows the About dialog for |dialog|, owned by the active window, until
// the user closes it.
void RunAboutDialogWindow(AboutDialog& dialog) noexcept;

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_ABOUT_DIALOG_WINDOW_H_
