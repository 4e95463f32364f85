// Text extraction shared by shared strings and inline strings.
#include "xlsx_text.h"

#include <cstdint>
#include <utility>

#include "input_error.h"
#include "marrowfield/unicode_text.h"

namespace marrowfield {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses the four hex digits of an escape starting at |text[at]| ("_x");
// returns -1 when there is no escape there.
int32_t EscapeAt(std::string_view text, std::size_t at) {
  if (at + 7 > text.size() || text[at] != '_' || text[at + 1] != 'x' ||
      text[at + 6] != '_') {
    return -1;
  }
  int32_t value = 0;
  for (std::size_t i = at + 2; i < at + 6; ++i) {
    const int digit = HexDigit(text[i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace

std::string DecodeXlsxEscapes(std::string_view text) {
  if (text.find("_x") == std::string_view::npos) return std::string(text);
  std::string decoded;
  for (std::size_t i = 0; i < text.size();) {
    const int32_t c = EscapeAt(text, i);
    // Surrogate halves cannot stand alone in UTF-8, and a NUL would end the
    // text early for the engine, which takes C strings; leave them as
    // written.
    if (c <= 0 || (c >= 0xD800 && c <= 0xDFFF)) {
      decoded.push_back(text[i]);
      ++i;
    } else {
      AppendUtf8(decoded, static_cast<char32_t>(c));
      i += 7;
    }
  }
  return decoded;
}

void StringItemText::OnStart(std::string_view localName) {
  if (localName == "rPh") ++phoneticDepth_;
  if (localName == "t" && phoneticDepth_ == 0) inText_ = true;
}

void StringItemText::OnEnd(std::string_view localName) {
  if (localName == "rPh" && phoneticDepth_ > 0) --phoneticDepth_;
  if (localName == "t") inText_ = false;
}

void StringItemText::OnText(std::string_view text) {
  if (inText_) text_.append(text);
}

std::string StringItemText::Take() {
  std::string text = DecodeXlsxEscapes(text_);
  text_.clear();
  inText_ = false;
  phoneticDepth_ = 0;
  return text;
}

void SharedStringsHandler::OnStart(std::string_view name,
                                   const XmlAttributes&) {
  if (name == "si") inItem_ = true;
  if (inItem_) item_.OnStart(name);
}

void SharedStringsHandler::OnEnd(std::string_view name) {
  if (!inItem_) return;
  item_.OnEnd(name);
  if (name == "si") {
    if (strings.size() >= limits_.sharedStrings) {
      throw InputError("more than " + std::to_string(limits_.sharedStrings) +
                       " items (the limit for shared strings)");
    }
    strings.push_back(item_.Take());
    inItem_ = false;
  }
}

}  // namespace marrowfield
