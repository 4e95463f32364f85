// Byte-order marks, UTF-16 to UTF-8, and the Windows-1252 fallback.
#include "text_decoding.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "input_error.h"
#include "marrowfield/unicode_text.h"

namespace marrowfield {

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

char16_t UnitAt(std::string_view bytes, std::size_t at, bool bigEndian) {
  const auto first = static_cast<unsigned char>(bytes[at]);
  const auto second = static_cast<unsigned char>(bytes[at + 1]);
  return static_cast<char16_t>(bigEndian ? (first << 8) | second
                                         : (second << 8) | first);
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size() / 2 + bytes.size() / 8);
  const std::size_t units = bytes.size() / 2;
  for (std::size_t k = 0; k < units; ++k) {
    const char16_t unit = UnitAt(bytes, 2 * k, bigEndian);
    if (unit < 0xD800 || unit > 0xDFFF) {
      AppendUtf8(out, unit);
      continue;
    }
    const char16_t next =
        k + 1 < units ? UnitAt(bytes, 2 * k + 2, bigEndian) : char16_t{0};
    if (unit <= 0xDBFF && next >= 0xDC00 && next <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) +
                          (char32_t{next} - 0xDC00));
      ++k;
    } else {
      AppendUtf8(out, kReplacementCharacter);
    }
  }
  // An odd last byte is half a character that was cut off.
  if (bytes.size() % 2 != 0) AppendUtf8(out, kReplacementCharacter);
  return out;
}

// UTF-16 of mostly Latin text has a NUL in every other byte: the high byte
// of each character. Text in any 8-bit encoding has none at all.
bool LooksLikeUnmarkedUtf16(std::string_view bytes) {
  const std::size_t sample =
      std::min<std::size_t>(bytes.size(), 4096) & ~std::size_t{1};
  if (sample < 4) return false;
  std::size_t evenNuls = 0;
  std::size_t oddNuls = 0;
  for (std::size_t at = 0; at < sample; at += 2) {
    evenNuls += bytes[at] == '\0';
    oddNuls += bytes[at + 1] == '\0';
  }
  const std::size_t pairs = sample / 2;
  return (evenNuls * 2 >= pairs && oddNuls == 0) ||
         (oddNuls * 2 >= pairs && evenNuls == 0);
}

}  // namespace

DecodedText DecodeText(std::string bytes) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) {
    bytes.erase(0, 3);
  } else if (StartsWith(bytes, "\xFF\xFE")) {
    return {Utf16ToUtf8(std::string_view(bytes).substr(2), false),
            TextSource::kUtf16LittleEndian};
  } else if (StartsWith(bytes, "\xFE\xFF")) {
    return {Utf16ToUtf8(std::string_view(bytes).substr(2), true),
            TextSource::kUtf16BigEndian};
  } else if (LooksLikeUnmarkedUtf16(bytes)) {
    throw InputError(
        "this looks like UTF-16 text without a byte-order mark, which "
        "cannot be read safely; save it as UTF-8, or as UTF-16 with a "
        "byte-order mark (Excel's \"Unicode Text\")");
  }
  if (IsValidUtf8(bytes)) return {std::move(bytes), TextSource::kUtf8};
  return {Windows1252ToUtf8(bytes), TextSource::kWindows1252};
}

std::string DescribeTextSource(TextSource source) {
  if (source != TextSource::kWindows1252) return "";
  return "note: not UTF-8 text; read as Windows-1252";
}

bool LooksLikeZip(std::string_view bytes) {
  return StartsWith(bytes, "PK\x03\x04") || StartsWith(bytes, "PK\x05\x06");
}

bool LooksLikeOleFile(std::string_view bytes) {
  return StartsWith(bytes, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
}

}  // namespace marrowfield
