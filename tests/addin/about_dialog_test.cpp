// The About dialog's links: hover, colour, cursor and clicks.

#include "about_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_dialog_views.h"
#include "fake_shell.h"
#include "resources/resource_ids.h"
#include "shell.h"
#include "web_addresses.h"

namespace marrowfield {
namespace {

class AboutDialogTest : public ::testing::Test {
 protected:
  AboutDialogTest() : dialog_(shell_) {
    // Three lines of text, one under the other, as in the template.
    view_.rectangles[IDC_LINK_PRODUCT] = {100, 100, 300, 113};
    view_.rectangles[IDC_LINK_MAIL] = {100, 130, 290, 143};
    view_.rectangles[IDC_LINK_MAKER] = {100, 150, 280, 163};
    dialog_.Initialise(view_);
  }
  static ClientPoint Inside(const ClientRect& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  }
  ClientPoint Over(int32_t controlId) {
    return Inside(view_.rectangles[controlId]);
  }

  FakeShell shell_;
  FakeAboutView view_;
  AboutDialog dialog_;
};

TEST_F(AboutDialogTest, Opening_ShowsTheIcon_NothingHovered) {
  EXPECT_TRUE(view_.iconShown);
  for (int32_t id : {IDC_LINK_PRODUCT, IDC_LINK_MAIL, IDC_LINK_MAKER}) {
    EXPECT_FALSE(dialog_.IsHovered(id));
    EXPECT_TRUE(dialog_.ColoursFor(id).isLink);
    EXPECT_FALSE(dialog_.ColoursFor(id).setTextColour);
  }
}

TEST_F(AboutDialogTest, FromOneLinkToTheNext_ColoursFollow_CursorStaysTheHand) {
  dialog_.OnMouseMove(Over(IDC_LINK_PRODUCT));
  EXPECT_TRUE(dialog_.ColoursFor(IDC_LINK_PRODUCT).setTextColour);
  EXPECT_EQ(dialog_.ColoursFor(IDC_LINK_PRODUCT).textColour, 0x00FF0000u);
  EXPECT_EQ(view_.cursor, CursorKind::kHand);
  EXPECT_EQ(view_.repainted, std::vector<int32_t>{IDC_LINK_PRODUCT});

  dialog_.OnMouseMove(Over(IDC_LINK_MAIL));
  EXPECT_FALSE(dialog_.ColoursFor(IDC_LINK_PRODUCT).setTextColour);
  EXPECT_TRUE(dialog_.ColoursFor(IDC_LINK_MAIL).setTextColour);
  EXPECT_EQ(view_.cursor, CursorKind::kHand);
  EXPECT_EQ(view_.repainted,
            (std::vector<int32_t>{IDC_LINK_PRODUCT, IDC_LINK_PRODUCT,
                                  IDC_LINK_MAIL}));

  dialog_.OnMouseMove({10, 10});
  EXPECT_FALSE(dialog_.ColoursFor(IDC_LINK_MAIL).setTextColour);
  EXPECT_EQ(view_.cursor, CursorKind::kArrow);
}

TEST_F(AboutDialogTest, EdgesBelongToTheLink) {
  const ClientRect maker = view_.rectangles[IDC_LINK_MAKER];
  dialog_.OnMouseMove({maker.right, maker.bottom});
  EXPECT_TRUE(dialog_.IsHovered(IDC_LINK_MAKER));
  dialog_.OnMouseMove({maker.right + 1, maker.bottom});
  EXPECT_FALSE(dialog_.IsHovered(IDC_LINK_MAKER));
}

TEST_F(AboutDialogTest, OtherStatics_KeepTheDefaultColours) {
  dialog_.OnMouseMove(Over(IDC_LINK_PRODUCT));
  for (int32_t id : {IDC_ABOUT_TITLE, IDC_MAKER_NOTICE, IDC_CONTACT, IDC_FAX}) {
    EXPECT_FALSE(dialog_.ColoursFor(id).isLink) << id;
    EXPECT_FALSE(dialog_.ColoursFor(id).setTextColour) << id;
  }
}

struct LinkCase {
  const char* name;
  int32_t controlId;
  std::string (*address)();
};

class AboutDialogLinks : public AboutDialogTest,
                         public ::testing::WithParamInterface<LinkCase> {};

TEST_P(AboutDialogLinks, ClickOpensTheLinksAddress) {
  dialog_.OnMouseMove(Over(GetParam().controlId));
  dialog_.OnLeftButtonDown(Over(GetParam().controlId));
  EXPECT_EQ(shell_.opened, std::vector<std::string>{GetParam().address()});
}

INSTANTIATE_TEST_SUITE_P(
    Links, AboutDialogLinks,
    ::testing::Values(LinkCase{"ProductSite", IDC_LINK_PRODUCT,
                               [] { return std::string(productSiteUrl); }},
                      LinkCase{"Mail", IDC_LINK_MAIL, SupportMailLink},
                      LinkCase{"MakerSite", IDC_LINK_MAKER,
                               [] { return std::string(makerSiteUrl); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AboutDialogTest, ClickOutsideTheLinks_OpensNothing) {
  dialog_.OnMouseMove({10, 10});
  dialog_.OnLeftButtonDown({10, 10});
  EXPECT_TRUE(shell_.opened.empty());
}

TEST_F(AboutDialogTest, LinksMovedAfterOpening_HoverAndClickFollowThem) {
  // The dialog's controls moved (a resized font, another DPI) since it
  // opened: the links are where they are now, not where they were.
  const ClientPoint before = Over(IDC_LINK_PRODUCT);
  for (auto& entry : view_.rectangles) {
    entry.second.top += 100;
    entry.second.bottom += 100;
  }

  dialog_.OnMouseMove(before);
  EXPECT_FALSE(dialog_.IsHovered(IDC_LINK_PRODUCT));
  dialog_.OnLeftButtonDown(before);
  EXPECT_TRUE(shell_.opened.empty());

  dialog_.OnMouseMove(Over(IDC_LINK_PRODUCT));
  EXPECT_TRUE(dialog_.IsHovered(IDC_LINK_PRODUCT));
  dialog_.OnLeftButtonDown(Over(IDC_LINK_PRODUCT));
  EXPECT_EQ(shell_.opened, std::vector<std::string>{productSiteUrl});
}

TEST_F(AboutDialogTest, NoMailProgram_ShowsTheMessageWithTheMailAddress) {
  shell_.answer = 31;  // SE_ERR_NOASSOC
  dialog_.OnMouseMove(Over(IDC_LINK_MAIL));
  dialog_.OnLeftButtonDown(Over(IDC_LINK_MAIL));
  ASSERT_EQ(shell_.notices.size(), 1u);
  EXPECT_NE(shell_.notices[0].find(std::string("mailto:") + supportMailAddress),
            std::string::npos);
}

TEST_F(AboutDialogTest, OkEndsWithOne_CancelWithTwo) {
  dialog_.OnCommand(1);
  EXPECT_EQ(view_.endResult, 1);
  dialog_.OnCommand(2);
  EXPECT_EQ(view_.endResult, 2);
}

}  // namespace
}  // namespace marrowfield
