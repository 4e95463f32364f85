// PlaceholderDialogs: stands in for the search and About dialogs until
// they are built. It tells the user plainly, in a message box, that the
// dialog is not available yet, rather than showing anything that looks as
// if it worked.

#ifndef MARROWFIELD_ADDIN_WIN32_PLACEHOLDER_DIALOGS_H_
#define MARROWFIELD_ADDIN_WIN32_PLACEHOLDER_DIALOGS_H_

#include "dialog_views.h"

namespace marrowfield {

class PlaceholderDialogs : public DialogViews {
 public:
  void ShowSearchDialog(const AddinConfig& config) override;
  void ShowAboutDialog() override;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_PLACEHOLDER_DIALOGS_H_
