// CheckCustomUi: reads ribbon markup the way Excel does before it shows a
// COM add-in's tab, and refuses what Excel refuses: markup that is not
// well-formed, a root other than customUI in the 2009/07 namespace,
// elements outside their places (customUI > ribbon > tabs > tab > group >
// button), attributes the schema does not know for an element, a control
// without its id or label, two controls with one id, values the schema
// does not allow, and attributes the schema makes exclusive of each other
// (label and getLabel, the three image sources). Excel then shows none of
// the tab; the checker says why. The callbacks the markup names are
// returned so that the fake host can ask the add-in's object for each.

#ifndef MARROWFIELD_TESTS_FAKES_CUSTOM_UI_CHECK_H_
#define MARROWFIELD_TESTS_FAKES_CUSTOM_UI_CHECK_H_

#include <map>
#include <string>
#include <vector>

namespace marrowfield {

struct CustomUiControl {
  std::string element;                            // "tab", "group", "button"
  std::map<std::string, std::string> attributes;  // entities resolved
};

struct CustomUiCheck {
  bool accepted = false;
  std::string problem;                    // why not, when refused
  std::vector<CustomUiControl> controls;  // tabs, groups and buttons, in order
  std::vector<std::string> callbacks;     // every callback named, once each
};

CustomUiCheck CheckCustomUi(const std::string& xml);

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FAKES_CUSTOM_UI_CHECK_H_
