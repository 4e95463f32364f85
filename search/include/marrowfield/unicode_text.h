// The small pieces of Unicode that reading users' files needs: stepping
// through UTF-8, writing it, and the Windows-1252 code page that Excel's
// ANSI text and many older CSV files are written in. Portable C++17, no
// locale: the same bytes give the same result on every system.
#ifndef MARROWFIELD_SEARCH_UNICODE_TEXT_H_
#define MARROWFIELD_SEARCH_UNICODE_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace marrowfield {

// Marks a byte sequence that is not well-formed UTF-8.
constexpr char32_t kInvalidUtf8 = 0xFFFFFFFF;

// Decodes the UTF-8 sequence that starts at |text[at]| and returns its code
// point, setting |length| to its bytes. Overlong forms, surrogates, code
// points past U+10FFFF and cut-off sequences give kInvalidUtf8 with
// |length| 1. REQUIRES: at < text.size().
char32_t DecodeUtf8At(std::string_view text, std::size_t at,
                      std::size_t& length);

// Returns true when |text| is well-formed UTF-8 throughout.
bool IsValidUtf8(std::string_view text);

// Appends |c| to |out| in UTF-8. REQUIRES: c <= 0x10FFFF.
void AppendUtf8(std::string& out, char32_t c);

// Returns the character that Windows-1252 byte |byte| stands for. The five
// bytes the code page leaves unassigned give the C1 control of the same
// value, as Windows itself converts them.
char32_t Windows1252Character(unsigned char byte);

// Returns |text|, read as Windows-1252, in UTF-8.
std::string Windows1252ToUtf8(std::string_view text);

}  // namespace marrowfield

#endif  // MARROWFIELD_SEARCH_UNICODE_TEXT_H_
