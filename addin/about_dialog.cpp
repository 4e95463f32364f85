// The About dialog's hover, colour and click handling.

#include "about_dialog.h"

#include "about_dialog_view.h"
#include "resources/resource_ids.h"
#include "shell.h"
#include "web_addresses.h"

namespace marrowfield {

AboutDialog::AboutDialog(Shell& shell)
    : shell_(shell),
      links_{{{IDC_LINK_PRODUCT, productSiteUrl, false},
              {IDC_LINK_MAIL, SupportMailLink(), false},
              {IDC_LINK_MAKER, makerSiteUrl, false}}} {}

void AboutDialog::Initialise(AboutDialogView& view) {
  view_ = &view;
  for (Link& link : links_) link.hovered = false;
  view_->ShowIcon();
}

void AboutDialog::OnMouseMove(const ClientPoint& point) {
  if (view_ == nullptr) return;
  bool anyHovered = false;
  for (Link& link : links_) {
    const bool hovered =
        Contains(view_->ControlRectangle(link.controlId), point);
    anyHovered = anyHovered || hovered;
    if (hovered == link.hovered) continue;
    link.hovered = hovered;
    view_->RepaintControl(link.controlId);
  }
  view_->SetCursor(anyHovered ? CursorKind::kHand : CursorKind::kArrow);
}

void AboutDialog::OnLeftButtonDown(const ClientPoint& point) {
  if (view_ == nullptr) return;
  for (const Link& link : links_) {
    if (Contains(view_->ControlRectangle(link.controlId), point)) {
      OpenWebPage(shell_, link.address);
    }
  }
}

void AboutDialog::OnCommand(int32_t controlId) {
  if (view_ == nullptr) return;
  if (controlId == 1 || controlId == 2) view_->EndDialog(controlId);
}

StaticColours AboutDialog::ColoursFor(int32_t controlId) const {
  StaticColours colours;
  for (const Link& link : links_) {
    if (link.controlId != controlId) continue;
    colours.isLink = true;
    colours.setTextColour = link.hovered;
    colours.textColour = kLinkColour;
  }
  return colours;
}

bool AboutDialog::IsHovered(int32_t controlId) const {
  for (const Link& link : links_) {
    if (link.controlId == controlId) return link.hovered;
  }
  return false;
}

}  // namespace marrowfield
