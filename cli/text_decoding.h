// The character encodings of text files as other programs write them: UTF-8
// with or without a byte-order mark, UTF-16 with one (Excel's "Unicode
// text", LibreOffice's "Unicode" export) and Windows-1252 (older Excel and
// Notepad files). Everything is turned into UTF-8 before it is parsed, so
// that cells display and fold alike whatever wrote the file.
#ifndef MARROWFIELD_CLI_TEXT_DECODING_H_
#define MARROWFIELD_CLI_TEXT_DECODING_H_

#include <string>
#include <string_view>

namespace marrowfield {

enum class TextSource {
  kUtf8,
  kUtf16LittleEndian,
  kUtf16BigEndian,
  kWindows1252
};

struct DecodedText {
  std::string text;  // UTF-8, without a byte-order mark
  TextSource source = TextSource::kUtf8;
};

// Returns the UTF-8 text of a file's |bytes|. A UTF-8 byte-order mark is
// dropped; UTF-16 with a byte-order mark is converted (a lone surrogate
// becomes U+FFFD); bytes that are not well-formed UTF-8 are read as
// Windows-1252. Throws InputError, without the file name, for text that
// looks like UTF-16 without a byte-order mark.
DecodedText DecodeText(std::string bytes);

// Returns the note for text read as Windows-1252, or "" for other sources
// (UTF-16 and UTF-8 need no word). Fit to follow "FILE: ".
std::string DescribeTextSource(TextSource source);

// Returns true when |bytes| begin as a zip archive does (an .xlsx, .xlsm or
// .ods package).
bool LooksLikeZip(std::string_view bytes);

// Returns true when |bytes| begin as an OLE compound file does (.xls, .doc).
bool LooksLikeOleFile(std::string_view bytes);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_TEXT_DECODING_H_
