// AboutDialogView: the port through which the About dialog's logic works
// its window (template 7036): where its link texts are on the screen,
// redrawing one of them, the cursor, the title-bar icon, closing.

#ifndef MARROWFIELD_ADDIN_ABOUT_DIALOG_VIEW_H_
#define MARROWFIELD_ADDIN_ABOUT_DIALOG_VIEW_H_

#include <cstdint>

#include "dialog_geometry.h"

namespace marrowfield {

class AboutDialogView {
 public:
  virtual ~AboutDialogView() = default;

  // The rectangle of control |controlId| in the dialog's client area, as it
  // is now.
  virtual ClientRect ControlRectangle(int32_t controlId) = 0;
  // Redraws control |controlId|, background included, so its text colour
  // is asked for again.
  virtual void RepaintControl(int32_t controlId) = 0;
  virtual void SetCursor(CursorKind cursor) = 0;
  // Puts the icon "IDI_ICON_SEARCH" in the title bar.
  virtual void ShowIcon() = 0;
  // Closes the dialog; the call that showed it returns |result|.
  virtual void EndDialog(int32_t result) = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_ABOUT_DIALOG_VIEW_H_
