// AboutDialog: the About box's behaviour apart from its window. Three of
// its texts act as links to the product site, the support mail address and
// the maker's site: blue while the mouse is over them, with the hand
// cursor, and a click opens the address. One object per showing.

#ifndef MARROWFIELD_ADDIN_ABOUT_DIALOG_H_
#define MARROWFIELD_ADDIN_ABOUT_DIALOG_H_

#include <array>
#include <cstdint>
#include <string>

#include "dialog_geometry.h"

namespace marrowfield {

class AboutDialogView;
class Shell;

// The text colour of a hovered link, as a COLORREF (0x00BBGGRR): blue.
constexpr uint32_t kLinkColour = 0x00FF0000u;

// How a static control is to be drawn.
struct StaticColours {
  // One of the links: a transparent text background on the button-face
  // brush. Other statics keep the default colours.
  bool isLink = false;
  // The link is hovered: draw its text in |textColour|.
  bool setTextColour = false;
  uint32_t textColour = 0;
};

class AboutDialog {
 public:
  // |shell| must outlive the dialog.
  explicit AboutDialog(Shell& shell);

  // The window was made. |view| must stay valid while the window lives.
  void Initialise(AboutDialogView& view);
  // The mouse at |point|: each link, where it is now, is hovered or not.
  void OnMouseMove(const ClientPoint& point);
  // A click at |point| opens the address of the link it lands on.
  void OnLeftButtonDown(const ClientPoint& point);
  // OK ends the dialog with 1; Cancel (Escape, the close box) with 2.
  void OnCommand(int32_t controlId);
  StaticColours ColoursFor(int32_t controlId) const;

  // For tests: whether the link of |controlId| is hovered.
  bool IsHovered(int32_t controlId) const;

 private:
  struct Link {
    int32_t controlId;
    std::string address;
    bool hovered;
  };

  Shell& shell_;
  AboutDialogView* view_ = nullptr;
  std::array<Link, 3> links_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_ABOUT_DIALOG_H_
