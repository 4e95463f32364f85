// The customUI markup is made from the button table, so the callbacks it
// names and the ones the COM object answers cannot drift apart.

#include "ribbon_ui.h"

namespace marrowfield {

namespace {

// The texts are fixed and plain, but escape them anyway: one ampersand or
// quote in a label would make Excel refuse the whole tab.
std::string Escaped(const char* text) {
  std::string out;
  for (const char* c = text; *c != '\0'; ++c) {
    switch (*c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += *c;
    }
  }
  return out;
}

std::string Attribute(const char* name, const char* value) {
  return std::string(" ") + name + "=\"" + Escaped(value) + "\"";
}

}  // namespace

std::string RibbonProgIdKey() {
  return std::string(kUserClassesKey) + "\\" + kRibbonProgId;
}

std::string RibbonClassKey() {
  return std::string(kUserClassesKey) + "\\CLSID\\" + kRibbonClassText;
}

std::string RibbonAddinKey() {
  return std::string(kExcelAddinsKey) + "\\" + kRibbonProgId;
}

std::string RibbonCustomUi() {
  std::string xml = "<customUI" + Attribute("xmlns", kCustomUiNamespace) +
                    ">\n <ribbon>\n  <tabs>\n   <tab" +
                    Attribute("id", kRibbonTabId) +
                    Attribute("label", kRibbonTabLabel) + ">\n    <group" +
                    Attribute("id", kRibbonGroupId) +
                    Attribute("label", kRibbonGroupLabel) + ">\n";
  for (const RibbonButton& button : RibbonButtons) {
    xml += "     <button" + Attribute("id", button.id) +
           Attribute("label", button.label) + Attribute("size", "large") +
           Attribute("screentip", button.screentip) +
           Attribute("getImage", kRibbonGetImage) +
           Attribute("onAction", button.onAction) + "/>\n";
  }
  xml += "    </group>\n   </tab>\n  </tabs>\n </ribbon>\n</customUI>\n";
  return xml;
}

const RibbonButton* FindRibbonCallback(const std::string& callback) {
  for (const RibbonButton& button : RibbonButtons) {
    if (callback == button.onAction) return &button;
  }
  return nullptr;
}

}  // namespace marrowfield
