// Folding text to ASCII before it is scored. The engine hears only the
// letters a-z: every byte above 0x7F is a separator to it, so José would
// score 0 against Jose. Every layer above the engine's C interface folds
// both texts first: Latin letters with diacritics become their base letters
// (é to e, ü to u, ß to ss, æ to ae, ø to o, ł to l), typographic
// apostrophes, quotes, dashes and spaces their ASCII forms. What is shown to
// the user stays as it was; only the scored copy is folded.
#ifndef MARROWFIELD_SEARCH_TEXT_FOLDING_H_
#define MARROWFIELD_SEARCH_TEXT_FOLDING_H_

#include <string>
#include <string_view>

namespace marrowfield {

// Whether and from which encoding a text is folded.
enum class TextFolding {
  // Bytes pass as they are (the command line's --no-fold).
  kNone,
  // UTF-8; a byte that does not begin a well-formed sequence is read as
  // Windows-1252, so text of either kind folds.
  kUtf8,
  // Windows-1252 throughout: the ANSI text that Excel hands an add-in.
  kWindows1252,
};

// Returns |text| folded to ASCII as |folding| says. ASCII bytes are kept;
// characters that have no ASCII form (Greek, Cyrillic, CJK, symbols) keep
// their bytes as they were. Case is kept: É folds to E, é to e.
std::string FoldToAscii(std::string_view text,
                        TextFolding folding = TextFolding::kUtf8);

// Returns the ASCII text that the character |c| folds to, or nullptr when it
// has none (ASCII characters included).
const char* FoldedCharacter(char32_t c);

}  // namespace marrowfield

#endif  // MARROWFIELD_SEARCH_TEXT_FOLDING_H_
