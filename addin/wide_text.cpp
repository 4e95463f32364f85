// UTF-16 <-> UTF-8. Surrogate pairs become four-byte sequences; lone
// surrogates keep their own code unit, so nothing Excel sends is lost.

#include "wide_text.h"

namespace marrowfield {
namespace {

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

void AppendUtf8(char32_t code, std::string* out) {
  if (code < 0x80) {
    out->push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (code >> 6)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (code >> 12)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (code >> 18)));
    out->push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

void AppendUtf16(char32_t code, std::u16string* out) {
  if (code < 0x10000) {
    out->push_back(static_cast<char16_t>(code));
  } else {
    code -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
  }
}

}  // namespace

std::string Utf8FromUtf16(const char16_t* text, std::size_t length) {
  std::string out;
  out.reserve(length);
  for (std::size_t i = 0; i < length; ++i) {
    char32_t unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < length &&
        IsLowSurrogate(text[i + 1])) {
      unit = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    AppendUtf8(unit, &out);
  }
  return out;
}

std::u16string Utf16FromUtf8(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t extra = lead >= 0xF0   ? 3
                              : lead >= 0xE0 ? 2
                              : lead >= 0xC0 ? 1
                                             : 0;
    char32_t code = extra == 3   ? (lead & 0x07)
                    : extra == 2 ? (lead & 0x0F)
                    : extra == 1 ? (lead & 0x1F)
                                 : lead;
    // A continuation byte cannot lead a sequence.
    bool wellFormed = lead < 0x80 || extra > 0;
    for (std::size_t k = 1; wellFormed && k <= extra; ++k) {
      if (i + k >= text.size()) {
        wellFormed = false;
        break;
      }
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) wellFormed = false;
      code = (code << 6) | (next & 0x3F);
    }
    if (!wellFormed) {
      out.push_back(static_cast<char16_t>(lead));
      ++i;
      continue;
    }
    AppendUtf16(code, &out);
    i += extra + 1;
  }
  return out;
}

}  // namespace marrowfield
