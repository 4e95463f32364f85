// Fakes of the two dialogs' windows. Each keeps the state a real dialog's
// controls would hold (the search field, the list and its selection, which
// buttons are enabled, the slider) and records what the dialog logic asked
// of the window (message boxes, cursors, repaints, update locks, posted
// clicks), so tests can check both what the user would see and how it got
// there.

#ifndef MARROWFIELD_TESTS_FAKES_FAKE_DIALOG_VIEWS_H_
#define MARROWFIELD_TESTS_FAKES_FAKE_DIALOG_VIEWS_H_

#include <map>
#include <string>
#include <vector>

#include "about_dialog_view.h"
#include "search_dialog_view.h"

namespace marrowfield {

class SearchDialog;

class FakeSearchView : public SearchDialogView {
 public:
  void SetCaption(const std::string& text) override { caption = text; }
  void ShowIcon() override { iconShown = true; }
  void EndDialog(int32_t result) override;
  void LockUpdates() override;
  void UnlockUpdates() override;
  void ShowMessage(const std::string& text) override;
  void SetCursor(CursorKind kind) override { cursor = kind; }
  std::string SearchText() override { return searchField; }
  void SetSearchText(const std::string& text) override { searchField = text; }
  void FocusSearchField() override { ++searchFieldFocused; }
  void PostSearchClick() override { ++postedSearchClicks; }
  void ClearList() override;
  void AddListItem(const std::string& text) override;
  int32_t ListCount() override;
  bool SelectListItem(int32_t index) override;
  int32_t ListSelection() override { return selection; }
  void EnablePrev(bool enabled) override { prevEnabled = enabled; }
  void EnableNext(bool enabled) override { nextEnabled = enabled; }
  void SetAccuracy(int32_t position) override { accuracy = position; }
  int32_t Accuracy() override { return accuracy; }
  ClientRect LogoRectangle() override { return logo; }
  void RepaintLogo() override { ++logoRepaints; }
  void ShowAboutDialog() override { ++aboutShown; }

  // The user's side: clicks a button, picks a list item, drags the slider
  // to |position| and lets go. Each delivers what the window would.
  void Click(SearchDialog& dialog, int32_t controlId);
  void PickItem(SearchDialog& dialog, int32_t index);
  void ReleaseSlider(SearchDialog& dialog, int32_t position);
  // Delivers the "&Search" clicks posted so far.
  void DeliverPosted(SearchDialog& dialog);

  std::string caption;
  bool iconShown = false;
  bool ended = false;
  int32_t endResult = 0;
  int lockDepth = 0;
  int locks = 0;
  std::vector<std::string> messages;
  // Each message box, with whether the window was locked when it showed.
  std::vector<bool> messagesWhileLocked;
  CursorKind cursor = CursorKind::kArrow;
  std::string searchField;
  int searchFieldFocused = 0;
  int postedSearchClicks = 0;
  std::vector<std::string> items;
  int32_t selection = -1;
  // Items added while the window was not locked.
  int itemsAddedUnlocked = 0;
  bool prevEnabled = true;  // a fresh window's buttons are enabled
  bool nextEnabled = true;
  int32_t accuracy = 0;
  ClientRect logo{500, 400, 585, 420};
  int logoRepaints = 0;
  int aboutShown = 0;
};

class FakeAboutView : public AboutDialogView {
 public:
  ClientRect ControlRectangle(int32_t controlId) override;
  void RepaintControl(int32_t controlId) override;
  void SetCursor(CursorKind kind) override { cursor = kind; }
  void ShowIcon() override { iconShown = true; }
  void EndDialog(int32_t result) override;

  std::map<int32_t, ClientRect> rectangles;
  std::vector<int32_t> repainted;
  CursorKind cursor = CursorKind::kArrow;
  bool iconShown = false;
  bool ended = false;
  int32_t endResult = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FAKES_FAKE_DIALOG_VIEWS_H_
