// A small XML reader, enough for customUI (elements, attributes, comments,
// the declaration, whitespace between elements), and the schema's rules
// for the elements an add-in's tab uses.

#include "custom_ui_check.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <utility>

namespace marrowfield {
namespace {

constexpr char kNamespace[] =
    "http://schemas.microsoft.com/office/2009/07/customui";

struct ElementRule {
  const char* name;
  const char* parent;  // "" for the root
  std::vector<const char*> attributes;
  bool control;  // needs an id and a label
};

// Attributes that name a callback of the add-in's object.
const std::set<std::string>& CallbackAttributes() {
  static const std::set<std::string> names = {
      "onLoad",     "loadImage",    "onAction",     "getImage",      "getLabel",
      "getEnabled", "getVisible",   "getScreentip", "getSupertip",   "getSize",
      "getKeytip",  "getShowImage", "getShowLabel", "getDescription"};
  return names;
}

const std::vector<ElementRule>& Rules() {
  static const std::vector<ElementRule> rules = {
      {"customUI", "", {"xmlns", "onLoad", "loadImage"}, false},
      {"ribbon", "customUI", {"startFromScratch"}, false},
      {"tabs", "ribbon", {}, false},
      {"tab",
       "tabs",
       {"id", "label", "getLabel", "keytip", "getKeytip", "visible",
        "getVisible", "tag", "insertAfterMso", "insertBeforeMso"},
       true},
      {"group",
       "tab",
       {"id", "label", "getLabel", "image", "imageMso", "getImage", "keytip",
        "getKeytip", "visible", "getVisible", "tag", "screentip",
        "getScreentip", "supertip", "getSupertip", "insertAfterMso",
        "insertBeforeMso"},
       true},
      {"button",
       "group",
       {"id",           "label",          "getLabel",       "onAction",
        "image",        "imageMso",       "getImage",       "size",
        "getSize",      "screentip",      "getScreentip",   "supertip",
        "getSupertip",  "enabled",        "getEnabled",     "visible",
        "getVisible",   "keytip",         "getKeytip",      "showImage",
        "getShowImage", "showLabel",      "getShowLabel",   "tag",
        "description",  "getDescription", "insertAfterMso", "insertBeforeMso"},
       true},
      {"separator", "group", {"id", "visible", "getVisible", "tag"}, false},
  };
  return rules;
}

const ElementRule* RuleFor(const std::string& name) {
  for (const ElementRule& rule : Rules()) {
    if (name == rule.name) return &rule;
  }
  return nullptr;
}

bool IsNameStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0 || c == '_' ||
         c == ':';
}
bool IsNameChar(char c) {
  return IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c)) != 0 ||
         c == '-' || c == '.';
}

// An id is an NCName of letters, digits and underscores, starting with a
// letter or underscore; Excel takes no more than 1024 characters.
bool ValidId(const std::string& id) {
  if (id.empty() || id.size() > 1024) return false;
  if (!(std::isalpha(static_cast<unsigned char>(id[0])) != 0 || id[0] == '_')) {
    return false;
  }
  return std::all_of(id.begin(), id.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
  });
}

bool ValidBoolean(const std::string& value) {
  return value == "true" || value == "false" || value == "1" || value == "0";
}

class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}

  CustomUiCheck Run() {
    SkipProlog();
    if (!Failed() && AtEnd()) Fail("no root element");
    if (!Failed()) ReadElement("");
    if (!Failed()) SkipMisc();
    if (!Failed() && !AtEnd()) Fail("content after the root element");
    if (!Failed()) {
      for (const CustomUiControl& control : result_.controls) {
        const ElementRule* rule = RuleFor(control.element);
        if (!rule->control) continue;
        const auto id = control.attributes.find("id");
        if (id == control.attributes.end()) {
          Fail("a " + control.element + " without an id");
          break;
        }
        if (control.attributes.count("label") == 0 &&
            control.attributes.count("getLabel") == 0) {
          Fail(control.element + " \"" + id->second + "\" has no label");
          break;
        }
      }
    }
    result_.accepted = !Failed();
    if (!result_.accepted) {
      result_.controls.clear();
      result_.callbacks.clear();
    }
    return std::move(result_);
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  bool Failed() const { return !result_.problem.empty(); }
  void Fail(const std::string& why) {
    if (!Failed()) result_.problem = why;
  }
  bool LookingAt(const char* what) const {
    return text_.compare(pos_, std::char_traits<char>::length(what), what) == 0;
  }
  void SkipSpace() {
    while (!AtEnd() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
      ++pos_;
    }
  }
  void SkipComment() {
    const std::size_t end = text_.find("-->", pos_ + 4);
    if (end == std::string::npos) {
      Fail("an unterminated comment");
      return;
    }
    pos_ = end + 3;
  }
  void SkipMisc() {
    for (;;) {
      SkipSpace();
      if (LookingAt("<!--")) {
        SkipComment();
        if (Failed()) return;
      } else {
        return;
      }
    }
  }
  void SkipProlog() {
    if (LookingAt("\xEF\xBB\xBF")) pos_ += 3;
    if (LookingAt("<?xml")) {
      const std::size_t end = text_.find("?>", pos_);
      if (end == std::string::npos) {
        Fail("an unterminated declaration");
        return;
      }
      pos_ = end + 2;
    }
    SkipMisc();
    if (LookingAt("<!DOCTYPE")) Fail("a document type declaration");
  }
  std::string ReadName() {
    const std::size_t start = pos_;
    if (AtEnd() || !IsNameStart(text_[pos_])) {
      Fail("a missing name");
      return {};
    }
    while (!AtEnd() && IsNameChar(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }
  std::string ReadValue() {
    if (AtEnd() || (text_[pos_] != '"' && text_[pos_] != '\'')) {
      Fail("an attribute value without quotes");
      return {};
    }
    const char quote = text_[pos_++];
    std::string value;
    while (!AtEnd() && text_[pos_] != quote) {
      const char c = text_[pos_];
      if (c == '<') {
        Fail("'<' in an attribute value");
        return {};
      }
      if (c == '&') {
        const std::size_t end = text_.find(';', pos_);
        if (end == std::string::npos) {
          Fail("an unterminated entity");
          return {};
        }
        const std::string entity = text_.substr(pos_ + 1, end - pos_ - 1);
        static const std::map<std::string, char> known = {{"amp", '&'},
                                                          {"lt", '<'},
                                                          {"gt", '>'},
                                                          {"quot", '"'},
                                                          {"apos", '\''}};
        const auto found = known.find(entity);
        if (found == known.end()) {
          Fail("an unknown entity &" + entity + ";");
          return {};
        }
        value += found->second;
        pos_ = end + 1;
        continue;
      }
      value += c;
      ++pos_;
    }
    if (AtEnd()) {
      Fail("an unterminated attribute value");
      return {};
    }
    ++pos_;
    return value;
  }

  void CheckAttributes(const ElementRule& rule,
                       const std::map<std::string, std::string>& attributes) {
    for (const auto& attribute : attributes) {
      const auto& allowed = rule.attributes;
      if (std::none_of(allowed.begin(), allowed.end(), [&](const char* name) {
            return attribute.first == name;
          })) {
        Fail("attribute " + attribute.first + " is not allowed on " +
             rule.name);
        return;
      }
      if (CallbackAttributes().count(attribute.first) != 0) {
        if (!ValidId(attribute.second)) {
          Fail("callback name \"" + attribute.second + "\" is not valid");
          return;
        }
        auto& callbacks = result_.callbacks;
        if (std::find(callbacks.begin(), callbacks.end(), attribute.second) ==
            callbacks.end()) {
          callbacks.push_back(attribute.second);
        }
      }
      const std::string& value = attribute.second;
      if ((attribute.first == "visible" || attribute.first == "enabled" ||
           attribute.first == "showImage" || attribute.first == "showLabel" ||
           attribute.first == "startFromScratch") &&
          !ValidBoolean(value)) {
        Fail(attribute.first + " must be a boolean");
        return;
      }
      if (attribute.first == "size" && value != "normal" && value != "large") {
        Fail("size must be normal or large");
        return;
      }
      if ((attribute.first == "label" || attribute.first == "screentip") &&
          (value.empty() || value.size() > 1024)) {
        Fail(attribute.first + " must have 1 to 1024 characters");
        return;
      }
    }
    const auto has = [&](const char* name) {
      return attributes.count(name) != 0;
    };
    if (has("label") && has("getLabel")) {
      Fail("label and getLabel together on " + std::string(rule.name));
    } else if (has("enabled") && has("getEnabled")) {
      Fail("enabled and getEnabled together on " + std::string(rule.name));
    } else if (int(has("image")) + int(has("imageMso")) + int(has("getImage")) >
               1) {
      Fail("more than one image source on " + std::string(rule.name));
    }
    if (has("id") && !ValidId(attributes.at("id"))) {
      Fail("id \"" + attributes.at("id") + "\" is not valid");
    }
    if (has("id") && !ids_.insert(attributes.at("id")).second) {
      Fail("id \"" + attributes.at("id") + "\" is used twice");
    }
  }

  void ReadElement(const std::string& parent) {
    if (!LookingAt("<")) {
      Fail("text where an element belongs");
      return;
    }
    ++pos_;
    const std::string name = ReadName();
    if (Failed()) return;
    const ElementRule* rule = RuleFor(name);
    if (rule == nullptr) {
      Fail("unknown element " + name);
      return;
    }
    if (parent != rule->parent) {
      Fail(name + " inside " + (parent.empty() ? "nothing" : parent));
      return;
    }
    std::map<std::string, std::string> attributes;
    for (;;) {
      const std::size_t before = pos_;
      SkipSpace();
      if (AtEnd()) {
        Fail("an unterminated tag " + name);
        return;
      }
      if (LookingAt("/>") || LookingAt(">")) break;
      if (pos_ == before) {
        Fail("attributes of " + name + " not separated by space");
        return;
      }
      const std::string attribute = ReadName();
      if (Failed()) return;
      SkipSpace();
      if (!LookingAt("=")) {
        Fail("attribute " + attribute + " without a value");
        return;
      }
      ++pos_;
      SkipSpace();
      std::string value = ReadValue();
      if (Failed()) return;
      if (!attributes.emplace(attribute, std::move(value)).second) {
        Fail("attribute " + attribute + " twice on " + name);
        return;
      }
    }
    if (parent.empty()) {
      const auto xmlns = attributes.find("xmlns");
      if (xmlns == attributes.end() || xmlns->second != kNamespace) {
        Fail("customUI is not in the namespace " + std::string(kNamespace));
        return;
      }
    }
    CheckAttributes(*rule, attributes);
    if (Failed()) return;
    if (rule->control || name == "separator") {
      result_.controls.push_back(CustomUiControl{name, attributes});
    }
    if (LookingAt("/>")) {
      pos_ += 2;
      return;
    }
    ++pos_;  // '>'
    for (;;) {
      SkipMisc();
      if (Failed()) return;
      if (AtEnd()) {
        Fail("element " + name + " is not closed");
        return;
      }
      if (LookingAt("</")) {
        pos_ += 2;
        const std::string closing = ReadName();
        if (Failed()) return;
        SkipSpace();
        if (closing != name || !LookingAt(">")) {
          Fail("element " + name + " closed by </" + closing + ">");
          return;
        }
        ++pos_;
        return;
      }
      ReadElement(name);
      if (Failed()) return;
    }
  }

  const std::string& text_;
  std::size_t pos_ = 0;
  std::set<std::string> ids_;
  CustomUiCheck result_;
};

}  // namespace

CustomUiCheck CheckCustomUi(const std::string& xml) {
  return Reader(xml).Run();
}

}  // namespace marrowfield
