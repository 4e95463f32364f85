// The fold itself: a walk over the characters with one look-up each in a
// sorted table generated from Unicode's decompositions (make_fold_table.py
// writes it, and the same table for the Python binding).
#include "marrowfield/text_folding.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "marrowfield/unicode_text.h"

namespace marrowfield {

namespace {

struct FoldEntry {
  uint32_t codePoint;
  const char* ascii;
};

constexpr FoldEntry kFoldTable[] = {
#include "fold_table.inc"
};

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x80;
  });
}

}  // namespace

const char* FoldedCharacter(char32_t c) {
  const auto found =
      std::lower_bound(std::begin(kFoldTable), std::end(kFoldTable), c,
                       [](const FoldEntry& entry, char32_t key) {
                         return entry.codePoint < key;
                       });
  if (found == std::end(kFoldTable) || found->codePoint != c) return nullptr;
  return found->ascii;
}

std::string FoldToAscii(std::string_view text, TextFolding folding) {
  // Most cells of most sheets are plain ASCII; they are returned at once.
  if (folding == TextFolding::kNone || IsAscii(text)) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    std::size_t length = 1;
    char32_t c = byte;
    if (byte >= 0x80) {
      c = folding == TextFolding::kUtf8 ? DecodeUtf8At(text, at, length)
                                        : kInvalidUtf8;
      if (c == kInvalidUtf8) c = Windows1252Character(byte);
    }
    const char* folded = c < 0x80 ? nullptr : FoldedCharacter(c);
    if (folded != nullptr) {
      out += folded;
    } else {
      out.append(text.data() + at, length);
    }
    at += length;
  }
  return out;
}

}  // namespace marrowfield
