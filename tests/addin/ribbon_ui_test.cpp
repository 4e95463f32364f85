// The ribbon's markup against the checker that stands for Excel's reading
// of it, and the checker itself against markup Excel refuses: each broken
// variant of a good tab must be refused for its own reason, or the fake
// host's acceptance of the add-in's tab would prove nothing.

#include "ribbon_ui.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "custom_ui_check.h"

namespace marrowfield {
namespace {

std::string Attr(const CustomUiControl& control, const char* name) {
  const auto found = control.attributes.find(name);
  return found == control.attributes.end() ? std::string() : found->second;
}

TEST(RibbonUi, TheAddinsMarkupIsAcceptedWithOneTabOfItsButtons) {
  const CustomUiCheck check = CheckCustomUi(RibbonCustomUi());
  ASSERT_TRUE(check.accepted) << check.problem;
  ASSERT_EQ(check.controls.size(), 2 + RibbonButtons.size());
  EXPECT_EQ(check.controls[0].element, "tab");
  EXPECT_EQ(Attr(check.controls[0], "label"), "Marrowfield");
  EXPECT_EQ(check.controls[1].element, "group");
  std::vector<std::string> labels;
  for (std::size_t i = 2; i < check.controls.size(); ++i) {
    EXPECT_EQ(check.controls[i].element, "button");
    labels.push_back(Attr(check.controls[i], "label"));
    // Every button's action is one the object answers, running a command.
    const RibbonButton* button =
        FindRibbonCallback(Attr(check.controls[i], "onAction"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(Attr(check.controls[i], "id"), button->id);
  }
  EXPECT_EQ(labels,
            (std::vector<std::string>{"Search", "Find duplicates", "About"}));
  // The callbacks named are exactly the buttons' actions and the image.
  std::set<std::string> expected = {kRibbonGetImage};
  for (const RibbonButton& button : RibbonButtons) {
    expected.insert(button.onAction);
  }
  EXPECT_EQ(
      std::set<std::string>(check.callbacks.begin(), check.callbacks.end()),
      expected);
}

TEST(RibbonUi, ButtonsRunTheRegisteredCommands) {
  const struct {
    const char* label;
    const char* command;
  } cases[] = {{"Search", "fMarrowfieldDialog"},
               {"Find duplicates", "fMarrowfieldDuplicates"},
               {"About", "fMarrowfieldAbout"}};
  for (const auto& c : cases) {
    bool found = false;
    for (const RibbonButton& button : RibbonButtons) {
      if (std::string(button.label) != c.label) continue;
      found = true;
      EXPECT_STREQ(button.command, c.command) << c.label;
      EXPECT_EQ(FindRibbonCallback(button.onAction), &button) << c.label;
    }
    EXPECT_TRUE(found) << c.label;
  }
  EXPECT_EQ(FindRibbonCallback("MarrowfieldOnNothing"), nullptr);
}

TEST(RibbonUi, KeysAreTheUsersOwn) {
  EXPECT_EQ(RibbonProgIdKey(), "Software\\Classes\\Marrowfield.Ribbon");
  EXPECT_EQ(RibbonClassKey(),
            std::string("Software\\Classes\\CLSID\\") + kRibbonClassText);
  EXPECT_EQ(RibbonAddinKey(),
            "Software\\Microsoft\\Office\\Excel\\Addins\\Marrowfield.Ribbon");
}

// A good tab to break one way at a time.
constexpr char kHead[] =
    "<customUI xmlns=\"http://schemas.microsoft.com/office/2009/07/customui\">"
    "<ribbon><tabs><tab id=\"T\" label=\"Tab\"><group id=\"G\" label=\"G\">";
constexpr char kTail[] = "</group></tab></tabs></ribbon></customUI>";
constexpr char kButton[] = "<button id=\"B\" label=\"B\" onAction=\"Go\"/>";

std::string Tab(const std::string& buttons) { return kHead + buttons + kTail; }

TEST(CustomUiCheck, AcceptsTheSmallTabWithDeclarationCommentsAndEntities) {
  const std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- a tab -->\n" +
      Tab("<button id='B' label=\"Fish &amp; chips\" onAction=\"Go\" "
          "size=\"large\"/><separator id=\"S\"/>"
          "<button id=\"C\" getLabel=\"Name\" onAction=\"Go\"></button>");
  const CustomUiCheck check = CheckCustomUi(xml);
  ASSERT_TRUE(check.accepted) << check.problem;
  EXPECT_EQ(Attr(check.controls[2], "label"), "Fish & chips");
  EXPECT_EQ(check.callbacks, (std::vector<std::string>{"Go", "Name"}));
}

TEST(CustomUiCheck, RefusesWhatExcelRefuses) {
  const std::string ns =
      "xmlns=\"http://schemas.microsoft.com/office/2009/07/customui\"";
  const struct {
    const char* why;
    std::string xml;
    const char* problem;  // a part of the reason given
  } cases[] = {
      {"empty", "", "no root element"},
      {"unclosed element", Tab(kButton).substr(0, Tab(kButton).size() - 11),
       "not closed"},
      {"crossed tags",
       std::string(kHead) + kButton + "</tab></group>" +
           "</tabs></ribbon></customUI>",
       "closed by"},
      {"text between elements", Tab(std::string("words") + kButton),
       "text where"},
      {"two roots", Tab(kButton) + "<customUI " + ns + "/>", "after the root"},
      {"unquoted value", Tab("<button id=B label=\"B\"/>"), "without quotes"},
      {"unknown entity", Tab("<button id=\"B\" label=\"&nbsp;\"/>"),
       "unknown entity"},
      {"the 2006 namespace",
       "<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/"
       "customui\"><ribbon/></customUI>",
       "namespace"},
      {"no namespace", "<customUI><ribbon/></customUI>", "namespace"},
      {"another root", "<ribbon " + ns + "/>", "ribbon inside nothing"},
      {"unknown element", Tab("<knob id=\"K\" label=\"K\"/>"),
       "unknown element knob"},
      {"button straight in a tab",
       "<customUI " + ns + "><ribbon><tabs><tab id=\"T\" label=\"T\">" +
           kButton + "</tab></tabs></ribbon></customUI>",
       "button inside tab"},
      {"tab with no tabs",
       "<customUI " + ns +
           "><ribbon><tab id=\"T\" label=\"T\"/></ribbon></customUI>",
       "tab inside ribbon"},
      {"button without id", Tab("<button label=\"B\" onAction=\"Go\"/>"),
       "without an id"},
      {"button without label", Tab("<button id=\"B\" onAction=\"Go\"/>"),
       "no label"},
      {"tab without label",
       "<customUI " + ns +
           "><ribbon><tabs><tab id=\"T\"/></tabs></ribbon></customUI>",
       "no label"},
      {"group without id",
       "<customUI " + ns +
           "><ribbon><tabs><tab id=\"T\" label=\"T\"><group label=\"G\"/>"
           "</tab></tabs></ribbon></customUI>",
       "without an id"},
      {"duplicate id", Tab(std::string(kButton) + kButton), "used twice"},
      {"id used by tab and button",
       Tab("<button id=\"T\" label=\"B\" onAction=\"Go\"/>"), "used twice"},
      {"id with a space", Tab("<button id=\"B 1\" label=\"B\"/>"), "not valid"},
      {"unknown attribute",
       Tab("<button id=\"B\" label=\"B\" colour=\"red\"/>"),
       "colour is not allowed"},
      {"attribute twice", Tab("<button id=\"B\" label=\"B\" label=\"C\"/>"),
       "twice on button"},
      {"label and getLabel",
       Tab("<button id=\"B\" label=\"B\" getLabel=\"L\"/>"),
       "label and getLabel"},
      {"two image sources",
       Tab("<button id=\"B\" label=\"B\" imageMso=\"Find\" getImage=\"I\"/>"),
       "image source"},
      {"bad size", Tab("<button id=\"B\" label=\"B\" size=\"huge\"/>"),
       "size must be"},
      {"empty label", Tab("<button id=\"B\" label=\"\"/>"), "1 to 1024"},
      {"bad callback name", Tab("<button id=\"B\" label=\"B\" onAction=\"\"/>"),
       "callback name"},
      {"bad boolean", Tab("<button id=\"B\" label=\"B\" visible=\"yes\"/>"),
       "boolean"},
      {"doctype", "<!DOCTYPE customUI><customUI " + ns + "/>", "document type"},
      {"unterminated comment", "<!-- " + Tab(kButton), "comment"},
  };
  for (const auto& c : cases) {
    const CustomUiCheck check = CheckCustomUi(c.xml);
    EXPECT_FALSE(check.accepted) << c.why;
    EXPECT_NE(check.problem.find(c.problem), std::string::npos)
        << c.why << ": " << check.problem;
    EXPECT_TRUE(check.controls.empty() && check.callbacks.empty()) << c.why;
  }
}

}  // namespace
}  // namespace marrowfield
