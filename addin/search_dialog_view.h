// SearchDialogView: the port through which the search dialog's logic works
// its window: the search field, the result list, the Prev and Next
// buttons, the accuracy slider, the logo, message boxes and the cursor.
// The Windows view sits over the dialog made from template 7039; tests use
// a fake that records what the logic asked for.

#ifndef MARROWFIELD_ADDIN_SEARCH_DIALOG_VIEW_H_
#define MARROWFIELD_ADDIN_SEARCH_DIALOG_VIEW_H_

#include <cstdint>
#include <string>

#include "dialog_geometry.h"

namespace marrowfield {

class SearchDialogView {
 public:
  virtual ~SearchDialogView() = default;

  // The window as a whole.
  virtual void SetCaption(const std::string& caption) = 0;
  // Puts the icon "IDI_ICON_SEARCH" in the title bar.
  virtual void ShowIcon() = 0;
  // Closes the dialog; the call that showed it returns |result|.
  virtual void EndDialog(int32_t result) = 0;
  // While locked, the window is not redrawn; unlocking redraws it.
  virtual void LockUpdates() = 0;
  virtual void UnlockUpdates() = 0;
  // A message box owned by the dialog, captioned "Marrowfield", with the
  // information icon and an OK button; returns when the user closes it.
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void SetCursor(CursorKind cursor) = 0;

  // The search field (at most kMaxSearchTextLength characters).
  virtual std::string SearchText() = 0;
  virtual void SetSearchText(const std::string& text) = 0;
  virtual void FocusSearchField() = 0;
  // Has the "&Search" button clicked once the current message is handled.
  virtual void PostSearchClick() = 0;

  // The result list.
  virtual void ClearList() = 0;
  virtual void AddListItem(const std::string& text) = 0;
  virtual int32_t ListCount() = 0;
  // Selects item |index|; false when there is no such item.
  virtual bool SelectListItem(int32_t index) = 0;
  // The selected item; -1 when none.
  virtual int32_t ListSelection() = 0;

  virtual void EnablePrev(bool enabled) = 0;
  virtual void EnableNext(bool enabled) = 0;

  // The accuracy slider, 0-100.
  virtual void SetAccuracy(int32_t position) = 0;
  virtual int32_t Accuracy() = 0;

  // The logo: where it is now in the dialog's client area, and redrawing
  // it.
  virtual ClientRect LogoRectangle() = 0;
  virtual void RepaintLogo() = 0;

  // Shows the About dialog, owned by the active window; returns when the
  // user closes it.
  virtual void ShowAboutDialog() = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_SEARCH_DIALOG_VIEW_H_
