// The CSV/TSV reader: RFC 4180 quoting, line ends, the byte-order mark,
// numbers versus text, and the errors that name a line.
#include "delimited_reader.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "delimited_reference.h"
#include "input_error.h"

namespace marrowfield {
namespace {

struct Cell {
  int32_t row;
  int32_t column;
  bool isText;
  std::string text;
  bool operator==(const Cell& o) const {
    return row == o.row && column == o.column && isText == o.isText &&
           text == o.text;
  }
};

std::ostream& operator<<(std::ostream& out, const Cell& c) {
  return out << "(" << c.row << "," << c.column << "," << c.isText << ",\""
             << c.text << "\")";
}

std::vector<Cell> Parse(const std::string& bytes, char delimiter = ',') {
  std::vector<Cell> cells;
  for (const GridCell& g : ParseDelimited(bytes, delimiter)) {
    cells.push_back(Cell{g.row, g.column, g.isText, g.text});
  }
  return cells;
}

std::string ErrorOf(const std::string& bytes) {
  try {
    ParseDelimited(bytes, ',');
  } catch (const InputError& error) {
    return error.what();
  }
  return "no error";
}

TEST(DelimitedReaderFields, PlainRecordsGiveRowAndColumn) {
  EXPECT_EQ(Parse("Smith,Boston\nSmyth,Leeds\n"),
            (std::vector<Cell>{{1, 1, true, "Smith"},
                               {1, 2, true, "Boston"},
                               {2, 1, true, "Smyth"},
                               {2, 2, true, "Leeds"}}));
}

TEST(DelimitedReaderFields, QuotedFieldHoldsDelimiterQuoteAndLineBreak) {
  EXPECT_EQ(Parse("\"Smith, Jr.\",\"say \"\"hi\"\"\",\"two\r\nlines\"\n"),
            (std::vector<Cell>{{1, 1, true, "Smith, Jr."},
                               {1, 2, true, "say \"hi\""},
                               {1, 3, true, "two\r\nlines"}}));
}

TEST(DelimitedReaderFields, EmptyFieldsMakeNoCellButKeepColumns) {
  EXPECT_EQ(Parse(",Smith,,\"\"\n"),
            (std::vector<Cell>{{1, 2, true, "Smith"}}));
}

TEST(DelimitedReaderFields, BlankLineIsAnEmptyRecord) {
  EXPECT_EQ(Parse("a\n\nb\n"),
            (std::vector<Cell>{{1, 1, true, "a"}, {3, 1, true, "b"}}));
}

TEST(DelimitedReaderFields, RaggedRecordsAreRead) {
  EXPECT_EQ(Parse("a,b,c\nd\n"), (std::vector<Cell>{{1, 1, true, "a"},
                                                    {1, 2, true, "b"},
                                                    {1, 3, true, "c"},
                                                    {2, 1, true, "d"}}));
}

TEST(DelimitedReaderLineEnds, CrlfLfAndCrAllEndRecords) {
  const std::vector<Cell> expected{{1, 1, true, "a"},
                                   {2, 1, true, "b"},
                                   {3, 1, true, "c"},
                                   {4, 1, true, "d"}};
  EXPECT_EQ(Parse("a\r\nb\nc\rd"), expected);
}

TEST(DelimitedReaderLineEnds, NoFinalLineBreakNeeded) {
  EXPECT_EQ(Parse("a,b"),
            (std::vector<Cell>{{1, 1, true, "a"}, {1, 2, true, "b"}}));
}

TEST(DelimitedReaderEncoding, ByteOrderMarkIsSkipped) {
  EXPECT_EQ(Parse("\xEF\xBB\xBFName\n"),
            (std::vector<Cell>{{1, 1, true, "Name"}}));
}

TEST(DelimitedReaderEncoding, OtherBytesPassUnchanged) {
  EXPECT_EQ(Parse("Sm\xC3\xADth,M\xFCller\n"),
            (std::vector<Cell>{{1, 1, true, "Sm\xC3\xADth"},
                               {1, 2, true, "M\xFCller"}}));
}

TEST(DelimitedReaderTabs, TabSeparatedKeepsCommasInFields) {
  EXPECT_EQ(
      Parse("Smith, Jr.\t\"a\tb\"\n", '\t'),
      (std::vector<Cell>{{1, 1, true, "Smith, Jr."}, {1, 2, true, "a\tb"}}));
}

TEST(DelimitedReaderNumbers, NumericFieldsAreNotText) {
  EXPECT_EQ(
      Parse("42,\"3.5\",Smith\n"),
      (std::vector<Cell>{
          {1, 1, false, "42"}, {1, 2, false, "3.5"}, {1, 3, true, "Smith"}}));
}

struct NumberCase {
  const char* field;
  bool isNumber;
};

class IsNumberFieldTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(IsNumberFieldTest, ClassifiesLikeAWorksheet) {
  EXPECT_EQ(IsNumberField(GetParam().field), GetParam().isNumber)
      << "field: \"" << GetParam().field << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Fields, IsNumberFieldTest,
    ::testing::Values(
        NumberCase{"0", true}, NumberCase{"42", true}, NumberCase{"-3.5", true},
        NumberCase{"+7", true}, NumberCase{".5", true}, NumberCase{"5.", true},
        NumberCase{"1e6", true}, NumberCase{"2.5E-3", true},
        NumberCase{" 12 ", true}, NumberCase{"", false}, NumberCase{" ", false},
        NumberCase{".", false}, NumberCase{"-", false}, NumberCase{"1e", false},
        NumberCase{"1,234", false}, NumberCase{"$5", false},
        NumberCase{"12%", false}, NumberCase{"0x1F", false},
        NumberCase{"nan", false}, NumberCase{"inf", false},
        NumberCase{"555-1234", false}, NumberCase{"2023-04-01", false},
        NumberCase{"1 2", false}, NumberCase{"Smith", false}));

TEST(DelimitedReaderErrors, QuoteInsideUnquotedFieldNamesItsLine) {
  EXPECT_EQ(ErrorOf("a,b\nc,d\"e\n"),
            "line 2: quote inside an unquoted field (quote the whole field)");
}

TEST(DelimitedReaderErrors, TextAfterClosingQuote) {
  EXPECT_EQ(ErrorOf("\"a\"b,c\n"),
            "line 1: text after the closing quote of a quoted field");
}

TEST(DelimitedReaderErrors, UnclosedQuoteNamesTheLineItOpened) {
  EXPECT_EQ(ErrorOf("a\n\"b,\nc\nd\n"), "line 2: quoted field is never closed");
}

TEST(DelimitedReaderErrors, LinesInsideQuotesAreCounted) {
  EXPECT_EQ(ErrorOf("\"a\nb\r\nc\rd\",x\ny\"\n"),
            "line 5: quote inside an unquoted field (quote the whole field)");
}

TEST(DelimitedReaderErrors, NulByteIsRejected) {
  EXPECT_EQ(ErrorOf(std::string("S\0m", 3)),
            "line 1: NUL byte: not a text file");
}

// The reader copies fields in runs; the reference takes one byte at a time.
// Short texts over the bytes that matter cover every turn both can take.
TEST(DelimitedReaderReference, AgreesOnManyShortTexts) {
  const std::string alphabet = "ab1.e ,\t\"\"\n\r\xEF\xBB\xBF";
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::size_t> length(0, 24);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size());
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (std::size_t n = length(random); n > 0; --n) {
      const std::size_t k = pick(random);
      text.push_back(k == alphabet.size() ? '\0' : alphabet[k]);
    }
    const char delimiter = round % 2 == 0 ? ',' : '\t';
    const DelimitedReading expected = ReadDelimitedSlowly(text, delimiter);
    std::vector<Cell> expectedCells;
    for (const GridCell& g : expected.cells) {
      expectedCells.push_back(Cell{g.row, g.column, g.isText, g.text});
    }
    std::string error;
    std::vector<Cell> cells;
    try {
      cells = Parse(text, delimiter);
    } catch (const InputError& e) {
      error = e.what();
    }
    ASSERT_EQ(error, expected.error) << "text: \"" << text << "\"";
    ASSERT_EQ(cells, expectedCells) << "text: \"" << text << "\"";
  }
}

// Lenient reading against a rendering of Python's csv reader, which reaches
// the same cells by way of states instead of field parsers.
TEST(DelimitedReaderReference, LenientAgreesWithPythonsReaderOnShortTexts) {
  const std::string alphabet = "ab1 ,;\"\"\"\n\r";
  std::mt19937 random(20261208);
  std::uniform_int_distribution<std::size_t> length(0, 20);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (std::size_t n = length(random); n > 0; --n) {
      text.push_back(alphabet[pick(random)]);
    }
    const char delimiter = round % 2 == 0 ? ',' : ';';
    const LenientReading expected = ReadDelimitedAsPython(text, delimiter);
    DelimitedRepairs repairs;
    std::vector<Cell> cells;
    for (const GridCell& g :
         ParseDelimited(text, DelimitedOptions{delimiter, false},
                        ReaderLimits(), &repairs)) {
      cells.push_back(Cell{g.row, g.column, g.isText, g.text});
    }
    std::vector<Cell> expectedCells;
    for (const GridCell& g : expected.reading.cells) {
      expectedCells.push_back(Cell{g.row, g.column, g.isText, g.text});
    }
    ASSERT_EQ(cells, expectedCells) << "text: \"" << text << "\"";
    ASSERT_EQ(repairs.count > 0, expected.repaired)
        << "text: \"" << text << "\"";
  }
}

}  // namespace
}  // namespace marrowfield
