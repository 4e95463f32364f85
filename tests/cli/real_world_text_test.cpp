// Delimited text as other programs write it: quoting repaired as Python's
// csv module reads it, the delimiter sniffed, the encodings of Excel's and
// LibreOffice's exports, and sheet names as Excel compares and quotes them.
// The expected cells of the quoting cases are those Python's csv.reader
// gives for the same bytes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "delimited_reader.h"
#include "delimiter_sniffer.h"
#include "input_error.h"
#include "sheet_names.h"
#include "text_decoding.h"

namespace marrowfield {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// The cells of |grid| laid out as rows of field texts ("" for no cell).
Rows Layout(const CellGrid& grid) {
  Rows rows;
  for (const GridCell& cell : grid) {
    if (rows.size() < static_cast<std::size_t>(cell.row)) rows.resize(cell.row);
    std::vector<std::string>& row = rows[cell.row - 1];
    if (row.size() < static_cast<std::size_t>(cell.column)) {
      row.resize(cell.column);
    }
    row[cell.column - 1] = cell.text;
  }
  return rows;
}

struct QuotingCase {
  const char* text;
  Rows rows;
  std::vector<int64_t> repairedLines;
};

TEST(LenientQuoting, ReadsAsPythonsCsvModuleWithOneRepairPerFault) {
  const QuotingCase cases[] = {
      {"Smith,5'10\"\n", {{"Smith", "5'10\""}}, {1}},
      {"Jones, \"Smyth\"\n", {{"Jones", " \"Smyth\""}}, {1}},
      {"\"Smith\" Jr,6\n", {{"Smith Jr", "6"}}, {1}},
      {"x\"y\"z,w\n", {{"x\"y\"z", "w"}}, {1}},
      {"\"a\"\"b\"c\"d,e\n", {{"a\"bc\"d", "e"}}, {1, 1}},
      {"h\na,\"never closed\nb,c\n",
       {{"h"}, {"a", "never closed\nb,c\n"}},
       {2}},
      {"\"fine, quoted\",\"and \"\"doubled\"\"\"\n",
       {{"fine, quoted", "and \"doubled\""}},
       {}},
  };
  for (const QuotingCase& c : cases) {
    DelimitedRepairs repairs;
    const CellGrid grid = ParseDelimited(c.text, DelimitedOptions{',', false},
                                         ReaderLimits(), &repairs);
    EXPECT_EQ(Layout(grid), c.rows) << c.text;
    std::vector<int64_t> lines;
    for (const DelimitedRepair& repair : repairs.listed) {
      lines.push_back(repair.line);
    }
    EXPECT_EQ(lines, c.repairedLines) << c.text;
    EXPECT_EQ(repairs.count, c.repairedLines.size()) << c.text;
    // Strict reading refuses exactly the texts that needed a repair.
    bool refused = false;
    try {
      ParseDelimited(c.text, ',');
    } catch (const InputError&) {
      refused = true;
    }
    EXPECT_EQ(refused, !c.repairedLines.empty()) << c.text;
  }
}

TEST(LenientQuoting, ListsTheFirstRepairsAndCountsThemAll) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "Smith,5'10\"\n";
  DelimitedRepairs repairs;
  ParseDelimited(text, DelimitedOptions{',', false}, ReaderLimits(), &repairs);
  EXPECT_EQ(repairs.count, 50u);
  ASSERT_EQ(repairs.listed.size(), DelimitedRepairs::kMaxListedRepairs);
  EXPECT_EQ(repairs.listed.back().line,
            static_cast<int64_t>(DelimitedRepairs::kMaxListedRepairs));
}

struct Sniffed {
  const char* text;
  char preferred;
  char expected;
};

TEST(SniffDelimiter, FindsTheDelimiterEveryRecordShares) {
  const Sniffed cases[] = {
      // Excel in much of Europe: semicolons, decimal commas.
      {"Name;Amount\r\nSmith;12,50\r\nM\xC3\xBCller;7\r\n", ',', ';'},
      // Quoted fields hold semicolons; the commas are the delimiter.
      {"\"a;b\",c\n\"d;e\",f\n", ',', ','},
      {"Name\tCity\nSmith\tLeeds, UK\n", ',', '\t'},
      // A quoted line break does not end the record.
      {"Name;Note\nSmith;\"two\nlines\"\nJones;x\n", ',', ';'},
      // Both are consistent: the extension's delimiter wins.
      {"a,b;c\nd,e;f\n", ',', ','},
      {"a,b;c\nd,e;f\n", ';', ';'},
      // One column, and a comma in most names: the extension decides.
      {"Smith\nJones\n", ',', ','},
      {"Smith, John\nJones\nSmyth\n", '\t', '\t'},
      {"", ',', ','},
  };
  for (const Sniffed& c : cases) {
    EXPECT_EQ(SniffDelimiter(c.text, c.preferred), c.expected) << c.text;
  }
}

TEST(DecodeText, ReadsTheEncodingsOfOtherProgramsAsUtf8) {
  // Excel's "Unicode Text": UTF-16 little-endian with a byte-order mark;
  // "Zoë" and a character beyond the BMP (a surrogate pair).
  const std::string little("\xFF\xFEZ\0o\0\xEB\0\t\0=\xD8\x00\xDE\r\0\n\0", 18);
  DecodedText decoded = DecodeText(little);
  EXPECT_EQ(decoded.text, "Zo\xC3\xAB\t\xF0\x9F\x98\x80\r\n");
  EXPECT_EQ(decoded.source, TextSource::kUtf16LittleEndian);
  EXPECT_EQ(DescribeTextSource(decoded.source), "");
  decoded = DecodeText(std::string("\xFE\xFF\0J\xD8\x3D", 6));
  EXPECT_EQ(decoded.text, "J\xEF\xBF\xBD");  // a lone surrogate
  decoded = DecodeText("\xEF\xBB\xBFJos\xC3\xA9");
  EXPECT_EQ(decoded.text, "Jos\xC3\xA9");
  EXPECT_EQ(decoded.source, TextSource::kUtf8);
  decoded = DecodeText("Fran\xE7ois,O\x92Neil");
  EXPECT_EQ(decoded.text, "Fran\xC3\xA7ois,O\xE2\x80\x99Neil");
  EXPECT_EQ(decoded.source, TextSource::kWindows1252);
  EXPECT_EQ(DescribeTextSource(decoded.source),
            "note: not UTF-8 text; read as Windows-1252");
}

TEST(DecodeText, RefusesUtf16WithoutByteOrderMark) {
  for (const std::string& text : {std::string("S\0m\0i\0t\0h\0", 10),
                                  std::string("\0S\0m\0i\0t\0h", 10)}) {
    EXPECT_THROW(DecodeText(text), InputError);
  }
  // A stray NUL is left to the parser, which names its line.
  EXPECT_NO_THROW(DecodeText(std::string("Smith\nSm\0th\n", 12)));
}

TEST(SheetNames, QuotedWhereGoToWouldReadThemOtherwise) {
  const std::pair<const char*, const char*> cases[] = {
      {"Sheet1", "Sheet1"},
      {"Zo\xC3\xAB", "Zo\xC3\xAB"},
      {"My List", "'My List'"},
      {"O'Neil", "'O''Neil'"},
      {"2023", "'2023'"},
      {"1st", "'1st'"},
      {"A1", "'A1'"},
      {"xfd1048576", "'xfd1048576'"},
      {"R1C1", "'R1C1'"},
      {"r", "'r'"},
      {"C3", "'C3'"},
      {"RC", "'RC'"},
      {"XFE1", "XFE1"},
      {"Results", "Results"},
      {"Sales.2023", "Sales.2023"},
  };
  for (const auto& [name, quoted] : cases) {
    EXPECT_EQ(QuoteSheetName(name), quoted) << name;
  }
}

TEST(SheetNames, LetterCaseIsIgnoredInEveryScript) {
  EXPECT_TRUE(SameSheetNameIgnoringCase("ZO\xC3\x8B", "Zo\xC3\xAB"));
  EXPECT_TRUE(
      SameSheetNameIgnoringCase("\xC5\x81\xC3\x93"
                                "D\xC5\xB9",
                                "\xC5\x82\xC3\xB3"
                                "d\xC5\xBA"));
  EXPECT_TRUE(
      SameSheetNameIgnoringCase("\xCE\x91\xCE\x98", "\xCE\xB1\xCE\xB8"));
  EXPECT_TRUE(
      SameSheetNameIgnoringCase("\xD0\x96\xD0\x81", "\xD0\xB6\xD1\x91"));
  EXPECT_FALSE(SameSheetNameIgnoringCase("Zo\xC3\xAB", "Zoe"));
  EXPECT_FALSE(SameSheetNameIgnoringCase("Zo", "Zoe"));
}

}  // namespace
}  // namespace marrowfield
