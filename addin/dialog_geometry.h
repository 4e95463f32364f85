// Points and rectangles as the dialogs' hover logic sees them, and the two
// cursors a hover shows. Plain values: the window system's own types stay
// in the Windows views. Both are in the dialog's client coordinates, as
// mouse messages give them, and are taken at each message: the user may
// have moved the dialog since it opened.

#ifndef MARROWFIELD_ADDIN_DIALOG_GEOMETRY_H_
#define MARROWFIELD_ADDIN_DIALOG_GEOMETRY_H_

#include <cstdint>

namespace marrowfield {

// In the dialog's client coordinates, pixels.
struct ClientPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// In the dialog's client coordinates; |right| and |bottom| as the window
// system reports a window's rectangle.
struct ClientRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// True when |point| lies inside |rect|, its four edges included.
inline bool Contains(const ClientRect& rect, const ClientPoint& point) {
  return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top &&
         point.y <= rect.bottom;
}

// The hand over something that opens a web page, the arrow elsewhere.
enum class CursorKind { kArrow, kHand };

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_DIALOG_GEOMETRY_H_
