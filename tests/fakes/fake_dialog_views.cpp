// The fake dialog windows behave as the Windows controls do where the
// dialog logic relies on it: a list refuses to select an item it does not
// have, and emptying it clears the selection.

#include "fake_dialog_views.h"

#include "resources/resource_ids.h"
#include "search_dialog.h"

namespace marrowfield {

void FakeSearchView::EndDialog(int32_t result) {
  ended = true;
  endResult = result;
}

void FakeSearchView::LockUpdates() {
  ++lockDepth;
  ++locks;
}

void FakeSearchView::UnlockUpdates() { --lockDepth; }

void FakeSearchView::ShowMessage(const std::string& text) {
  messages.push_back(text);
  messagesWhileLocked.push_back(lockDepth > 0);
}

void FakeSearchView::ClearList() {
  items.clear();
  selection = -1;
}

void FakeSearchView::AddListItem(const std::string& text) {
  items.push_back(text);
  if (lockDepth == 0) ++itemsAddedUnlocked;
}

int32_t FakeSearchView::ListCount() {
  return static_cast<int32_t>(items.size());
}

bool FakeSearchView::SelectListItem(int32_t index) {
  if (index < 0 || index >= ListCount()) {
    // As LB_SETCURSEL: -1 clears the selection, and both answer "error".
    if (index == -1) selection = -1;
    return false;
  }
  selection = index;
  return true;
}

void FakeSearchView::Click(SearchDialog& dialog, int32_t controlId) {
  dialog.OnCommand(controlId, kButtonClicked);
}

void FakeSearchView::PickItem(SearchDialog& dialog, int32_t index) {
  selection = index;
  dialog.OnCommand(IDC_RESULTS, kListSelectionChanged);
}

void FakeSearchView::ReleaseSlider(SearchDialog& dialog, int32_t position) {
  // Dragging reports positions along the way; only the release counts.
  accuracy = position;
  dialog.OnAccuracyScroll(5);  // TB_THUMBTRACK
  dialog.OnAccuracyScroll(kTrackbarEndTracking);
}

void FakeSearchView::DeliverPosted(SearchDialog& dialog) {
  while (postedSearchClicks > 0) {
    --postedSearchClicks;
    dialog.OnCommand(1, kButtonClicked);
  }
}

ClientRect FakeAboutView::ControlRectangle(int32_t controlId) {
  return rectangles[controlId];
}

void FakeAboutView::RepaintControl(int32_t controlId) {
  repainted.push_back(controlId);
}

void FakeAboutView::EndDialog(int32_t result) {
  ended = true;
  endResult = result;
}

}  // namespace marrowfield
