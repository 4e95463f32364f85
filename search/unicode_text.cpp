// UTF-8 decoding and encoding by the rules of RFC 3629, and the upper half
// of Windows-1252 (its lower half and 0xA0-0xFF are those of Unicode).
#include "marrowfield/unicode_text.h"

namespace marrowfield {

namespace {

// 0x80-0x9F of Windows-1252; 0 marks the five unassigned bytes.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

char32_t DecodeUtf8At(std::string_view text, std::size_t at,
                      std::size_t& length) {
  length = 1;
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return lead;
  std::size_t needed = 0;
  char32_t c = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    needed = 1, c = lead & 0x1F, smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    needed = 2, c = lead & 0x0F, smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    needed = 3, c = lead & 0x07, smallest = 0x10000;
  } else {
    return kInvalidUtf8;
  }
  if (text.size() - at <= needed) return kInvalidUtf8;
  for (std::size_t k = 1; k <= needed; ++k) {
    const auto byte = static_cast<unsigned char>(text[at + k]);
    if (!IsContinuation(byte)) return kInvalidUtf8;
    c = (c << 6) | (byte & 0x3F);
  }
  if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    return kInvalidUtf8;
  }
  length = needed + 1;
  return c;
}

bool IsValidUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    if (static_cast<unsigned char>(text[at]) < 0x80) {
      ++at;
      continue;
    }
    std::size_t length = 0;
    if (DecodeUtf8At(text, at, length) == kInvalidUtf8) return false;
    at += length;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

char32_t Windows1252Character(unsigned char byte) {
  if (byte < 0x80 || byte >= 0xA0) return byte;
  const char16_t mapped = kWindows1252High[byte - 0x80];
  return mapped != 0 ? mapped : byte;
}

std::string Windows1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (const char byte : text) {
    AppendUtf8(out, Windows1252Character(static_cast<unsigned char>(byte)));
  }
  return out;
}

}  // namespace marrowfield
