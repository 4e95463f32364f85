// Folding to ASCII: which characters fold to what, from UTF-8 and from
// Windows-1252, and what stays as it was.
#include "marrowfield/text_folding.h"

#include <gtest/gtest.h>

#include <string>

#include "marrowfield/unicode_text.h"

namespace marrowfield {
namespace {

struct Folded {
  const char* text;
  const char* ascii;
};

TEST(FoldToAscii, Utf8NamesFoldToTheirBaseLetters) {
  const Folded cases[] = {
      {"Jos\xC3\xA9", "Jose"},
      {"ZO\xC3\x8B", "ZOE"},
      {"M\xC3\xBCller", "Muller"},
      {"Fran\xC3\xA7ois", "Francois"},
      {"Stra\xC3\x9F"
       "e",
       "Strasse"},
      {"\xC3\x86sir", "AEsir"},
      {"S\xC3\xB8ren", "Soren"},
      {"\xC5\x81ukasz \xC5\x81\xC3\xB3"
       "d\xC5\xBA",
       "Lukasz Lodz"},
      {"Nguy\xE1\xBB\x85n", "Nguyen"},                 // Vietnamese
      {"\xC8\x98tefan", "Stefan"},                     // s with comma below
      {"Jose\xCC\x81", "Jose"},                        // decomposed e + accent
      {"O\xE2\x80\x99Neil", "O'Neil"},                 // right single quote
      {"\xE2\x80\x9CSmith\xE2\x80\x9D", "\"Smith\""},  // curly double quotes
      {"Smith\xC2\xA0", "Smith "},                     // no-break space
      {"Jean\xE2\x80\x93Luc", "Jean-Luc"},             // en dash
      {"plain ASCII, kept", "plain ASCII, kept"},
  };
  for (const Folded& c : cases) {
    EXPECT_EQ(FoldToAscii(c.text), c.ascii) << c.text;
  }
}

TEST(FoldToAscii, CharactersWithoutAsciiFormKeepTheirBytes) {
  const char* kept[] = {"\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1",  // Αθήνα
                        "\xD0\x96\xD1\x83\xD0\xBA",                  // Жук
                        "\xE6\x9D\xB1\xE4\xBA\xAC",
                        "\xE2\x82\xAC"
                        "5"};
  for (const char* text : kept) EXPECT_EQ(FoldToAscii(text), text);
}

TEST(FoldToAscii, BytesThatAreNotUtf8FoldAsWindows1252) {
  // Valid sequences around a stray byte still fold as UTF-8.
  EXPECT_EQ(FoldToAscii("Jos\xE9 Zo\xC3\xAB"), "Jose Zoe");
  EXPECT_EQ(FoldToAscii("O\x92Neil \x93Smith\x94"), "O'Neil \"Smith\"");
  // Cut off and overlong sequences are no UTF-8 either: byte by byte they
  // are Windows-1252 letters and signs (0xC3 is Ã, 0xC0 À, 0xAF a macron).
  EXPECT_EQ(FoldToAscii("M\xFCller\xC3"), "MullerA");
  EXPECT_EQ(FoldToAscii("\xC0\xAF"), "A ");
}

TEST(FoldToAscii, Windows1252ReadsEveryByteAsOneCharacter) {
  // As UTF-8 this would be one é; in Windows-1252 it is Ã and ©.
  EXPECT_EQ(FoldToAscii("Jos\xC3\xA9", TextFolding::kWindows1252), "JosA\xA9");
  EXPECT_EQ(FoldToAscii("Fran\xE7ois \x8A"
                        "afr\xE1nek",
                        TextFolding::kWindows1252),
            "Francois Safranek");
}

TEST(FoldToAscii, NoFoldingKeepsEveryByte) {
  const std::string text = "Jos\xC3\xA9 O\x92Neil";
  EXPECT_EQ(FoldToAscii(text, TextFolding::kNone), text);
}

TEST(FoldedCharacter, AsciiHasNoEntryAndEveryEntryIsAscii) {
  EXPECT_EQ(FoldedCharacter(U'a'), nullptr);
  for (char32_t c = 0x80; c < 0x2100; ++c) {
    const char* folded = FoldedCharacter(c);
    if (folded == nullptr) continue;
    for (const char* p = folded; *p != '\0'; ++p) {
      EXPECT_LT(static_cast<unsigned char>(*p), 0x80) << std::hex << c;
    }
  }
}

TEST(UnicodeText, MalformedUtf8IsRecognised) {
  EXPECT_TRUE(IsValidUtf8("Jos\xC3\xA9 \xF0\x9F\x98\x80"));
  for (const char* bad : {"\xC0\xAF", "\xED\xA0\x80", "\xE2\x82",
                          "\xF5\x80\x80\x80", "\x80", "\xE9t\xE9"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  }
}

TEST(UnicodeText, Windows1252ToUtf8MapsTheHighHalf) {
  EXPECT_EQ(Windows1252ToUtf8("\x80\x81\x9F\xA0\xFF"),
            "\xE2\x82\xAC\xC2\x81\xC5\xB8\xC2\xA0\xC3\xBF");
}

}  // namespace
}  // namespace marrowfield
