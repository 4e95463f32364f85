// Conversions between Excel's UTF-16 texts and the engine's 8-bit strings.
// The engine reads UTF-8 bytes (only ASCII letters carry sound), and the
// worksheet functions hand some of those texts back to Excel, so the
// round trip must give back exactly the characters Excel sent: a lone
// surrogate, which is not valid UTF-16, is carried through as the
// three-byte form of its code unit (the WTF-8 convention) instead of being
// replaced.

#ifndef MARROWFIELD_ADDIN_WIDE_TEXT_H_
#define MARROWFIELD_ADDIN_WIDE_TEXT_H_

#include <cstddef>
#include <string>

namespace marrowfield {

// The UTF-8 form of the |length| code units at |text|; never truncated.
std::string Utf8FromUtf16(const char16_t* text, std::size_t length);

// The UTF-16 form of |text|, the inverse of Utf8FromUtf16. Bytes that are
// not part of a well-formed sequence become one code unit each (their
// Windows-1252 reading is not attempted: they cannot come from Excel12).
std::u16string Utf16FromUtf8(const std::string& text);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIDE_TEXT_H_
