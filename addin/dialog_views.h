// DialogViews: the port that shows the add-in's modal dialogs, each owned
// by the host window that is active at the call.

#ifndef MARROWFIELD_ADDIN_DIALOG_VIEWS_H_
#define MARROWFIELD_ADDIN_DIALOG_VIEWS_H_

namespace marrowfield {

struct AddinConfig;

class DialogViews {
 public:
  virtual ~DialogViews() = default;

  // Shows the search dialog and returns when the user closes it. May throw
  // (HostCallError from a failing host call); the dialog is closed first.
  virtual void ShowSearchDialog(const AddinConfig& config) = 0;

  // Shows the About dialog and returns when the user closes it.
  virtual void ShowAboutDialog() = 0;

  // Shows the Find duplicates dialog and returns when it closes. May throw
  // as ShowSearchDialog does.
  virtual void ShowDuplicatesDialog() = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_DIALOG_VIEWS_H_
