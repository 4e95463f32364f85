// The two placeholder message boxes, owned by the host's active window
// like the dialogs they stand in for.

#include "placeholder_dialogs.h"

#include <windows.h>

namespace marrowfield {
namespace {

void ShowNotice(const char* text) {
  MessageBoxA(GetActiveWindow(), text, "Marrowfield",
              MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void PlaceholderDialogs::ShowSearchDialog(const AddinConfig&) {
  ShowNotice("The search dialog is not available yet.");
}

void PlaceholderDialogs::ShowAboutDialog() {
  ShowNotice("The About dialog is not available yet.");
}

}  // namespace marrowfield
