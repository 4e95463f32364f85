// The search dialog's window: template 7039 run modally, its messages
// handed to SearchDialog, and SearchDialogView carried out on its controls.

#ifndef MARROWFIELD_ADDIN_WIN32_SEARCH_DIALOG_WINDOW_H_
#define MARROWFIELD_ADDIN_WIN32_SEARCH_DIALOG_WINDOW_H_

#include <functional>
#include <string>

namespace marrowfield {

class SearchDialog;

// Shows the search dialog for |dialog|, owned by the active window, until
// the user closes it (or a failure ends it); |showAbout| shows the About
// dialog for the "About" button. Calls dialog.Detach() before returning.
void RunSearchDialogWindow(SearchDialog& dialog, const std::string& versionText,
                           std::function<void()> showAbout) noexcept;

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_SEARCH_DIALOG_WINDOW_H_
