// AddinDialogs: the add-in's dialogs as its commands show them. The
// search dialog's object is made at the first search command and kept
// while the add-in is loaded, so its search text survives closing; an
// About dialog is made for each showing. An error that ended the search
// dialog leaves through ShowSearchDialog, to the command that showed it.

#ifndef MARROWFIELD_ADDIN_ADDIN_DIALOGS_H_
#define MARROWFIELD_ADDIN_ADDIN_DIALOGS_H_

#include <memory>

#include "dialog_views.h"
#include "search_dialog.h"

namespace marrowfield {

class DebugOutput;
class DialogWindows;
class Shell;

class AddinDialogs : public DialogViews {
 public:
  // The ports must outlive this object.
  AddinDialogs(SearchDialog::ApplicationSource application, Shell& shell,
               DebugOutput& debug, DialogWindows& windows);

  // Throws what ended the dialog, if a host call failed in it.
  void ShowSearchDialog(const AddinConfig& config) override;
  void ShowAboutDialog() override;
  // A new Find duplicates dialog for each showing: it reads the sheet that
  // is active then. Throws what ended it, if a host call failed in it.
  void ShowDuplicatesDialog() override;

  // The search dialog; null before the first ShowSearchDialog.
  SearchDialog* searchDialog() { return searchDialog_.get(); }

 private:
  SearchDialog::ApplicationSource application_;
  Shell& shell_;
  DebugOutput& debug_;
  DialogWindows& windows_;
  std::unique_ptr<SearchDialog> searchDialog_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_ADDIN_DIALOGS_H_
