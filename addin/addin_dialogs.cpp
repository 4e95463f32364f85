// Showing the dialogs for the commands.

#include "addin_dialogs.h"

#include <utility>

#include "about_dialog.h"
#include "addin_config.h"
#include "dialog_windows.h"
#include "duplicates_dialog.h"

namespace marrowfield {

AddinDialogs::AddinDialogs(SearchDialog::ApplicationSource application,
                           Shell& shell, DebugOutput& debug,
                           DialogWindows& windows)
    : application_(std::move(application)),
      shell_(shell),
      debug_(debug),
      windows_(windows) {}

void AddinDialogs::ShowSearchDialog(const AddinConfig& config) {
  if (!searchDialog_) {
    searchDialog_ =
        std::make_unique<SearchDialog>(application_, shell_, debug_);
  }
  windows_.RunSearchWindow(*searchDialog_, config.versionText);
  searchDialog_->TakeFailure();
}

void AddinDialogs::ShowAboutDialog() {
  AboutDialog about(shell_);
  windows_.RunAboutWindow(about);
}

void AddinDialogs::ShowDuplicatesDialog() {
  DuplicatesDialog dialog(application_);
  windows_.RunDuplicatesWindow(dialog);
  dialog.TakeFailure();
}

}  // namespace marrowfield
