// Case folding covers the scripts sheet names are written in: Latin
// (Latin-1 and Extended-A), Greek and Cyrillic. Other characters compare as
// they are, which for caseless scripts is exact.
#include "sheet_names.h"

#include "cell_reference.h"
#include "marrowfield/unicode_text.h"

namespace marrowfield {

namespace {

char32_t LowerCase(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 32;
  if (c < 0xC0) return c;
  if (c <= 0xDE) return c == 0xD7 ? c : c + 32;  // 0xD7 is the sign ×
  if (c == 0x178) return 0xFF;                   // Ÿ
  if (c >= 0x100 && c <= 0x17F) {
    // Latin Extended-A pairs each capital with the small letter after it;
    // from 0x139 to 0x148 and 0x179 to 0x17E the capitals are odd.
    const bool oddCapitals =
        (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) {
      return c;  // dotted I, dotless i, kra, 'n, long s: no simple pair
    }
    const bool capital = oddCapitals ? (c % 2 == 1) : (c % 2 == 0);
    return capital ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;  // Greek
  if (c >= 0x410 && c <= 0x42F) return c + 32;                // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

// The next character of |text| at |at|, lower-cased; a byte that is not
// UTF-8 stands for itself.
char32_t NextLower(std::string_view text, std::size_t& at) {
  std::size_t length = 1;
  char32_t c = DecodeUtf8At(text, at, length);
  if (c == kInvalidUtf8) c = 0x110000 + static_cast<unsigned char>(text[at]);
  at += length;
  return LowerCase(c);
}

bool IsPlainCharacter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         (c >= '0' && c <= '9') || c == '_' || c == '.' || c >= 0x80;
}

// R, C, R1, C7, RC, R1C1, R[1]C: the R1C1 references Excel would read.
bool LooksLikeR1C1(const std::string& name) {
  std::size_t at = 0;
  const auto digits = [&] {
    while (at < name.size() && name[at] >= '0' && name[at] <= '9') ++at;
  };
  if (at < name.size() && (name[at] == 'R' || name[at] == 'r')) ++at, digits();
  if (at < name.size() && (name[at] == 'C' || name[at] == 'c')) ++at, digits();
  return at > 0 && at == name.size();
}

bool NeedsQuotes(const std::string& name) {
  if (name.empty()) return true;
  for (const char c : name) {
    if (!IsPlainCharacter(static_cast<unsigned char>(c))) return true;
  }
  const char first = name[0];
  if ((first >= '0' && first <= '9') || first == '.') return true;
  int32_t row = 0;
  int32_t column = 0;
  return ParseCellReference(name, row, column) || LooksLikeR1C1(name);
}

}  // namespace

bool SameSheetNameIgnoringCase(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (NextLower(a, i) != NextLower(b, j)) return false;
  }
  return i == a.size() && j == b.size();
}

std::string QuoteSheetName(const std::string& name) {
  if (!NeedsQuotes(name)) return name;
  std::string quoted = "'";
  for (const char c : name) {
    quoted.push_back(c);
    if (c == '\'') quoted.push_back('\'');
  }
  return quoted + "'";
}

}  // namespace marrowfield
