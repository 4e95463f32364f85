// What the commands print: result formats, cell locations, the progress
// line, and the words of a phrase match as the engine normalises them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "match_words.h"
#include "progress_bar.h"
#include "result_output.h"

namespace marrowfield {
namespace {

std::vector<LoadedSheet> Sheets() {
  std::vector<LoadedSheet> sheets(2);
  sheets[0].path = "names.csv";
  sheets[1].path = "book.xlsx";
  sheets[1].sheet = "Customers";
  return sheets;
}

TEST(DialogEntry, TextTwoBlanksAndPercentage) {
  EXPECT_EQ(FormatDialogEntry(SearchResult{0, 1, 1, "Smyth", 75}),
            "Smyth  (75%)");
}

TEST(Location, DelimitedFileHasNoSheet) {
  EXPECT_EQ(DescribeLocation(Sheets()[0], 12, 2), "names.csv:B12");
}

TEST(Location, SheetNamesAreQuotedAsInFormulas) {
  LoadedSheet sheet = Sheets()[1];
  EXPECT_EQ(DescribeLocation(sheet, 3, 28), "book.xlsx:Customers!AB3");
  sheet.sheet = "Q1 Sales";
  EXPECT_EQ(DescribeLocation(sheet, 1, 1), "book.xlsx:'Q1 Sales'!A1");
  sheet.sheet = "Bob's";
  EXPECT_EQ(DescribeLocation(sheet, 1, 1), "book.xlsx:'Bob''s'!A1");
}

TEST(TextFormat, OneLinePerResultWithControlCharactersAsSpaces) {
  const std::vector<SearchResult> results = {{1, 2, 3, "Smith", 100},
                                             {0, 4, 1, "New\r\nYork\t!", 61}};
  EXPECT_EQ(FormatResults(results, Sheets(), OutputFormat::TEXT),
            "Smith  (100%)\tbook.xlsx:Customers!C2\n"
            "New  York !  (61%)\tnames.csv:A4\n");
}

TEST(JsonFormat, ArrayOfObjectsOnePerLine) {
  const std::vector<SearchResult> results = {{0, 4, 1, "Sm\"ith", 90},
                                             {1, 2, 3, "M\xFCller", 61}};
  EXPECT_EQ(
      FormatResults(results, Sheets(), OutputFormat::JSON),
      "[\n"
      "  {\"file\":\"names.csv\",\"sheet\":null,\"cell\":\"A4\",\"row\":4,"
      "\"column\":1,\"text\":\"Sm\\\"ith\",\"score\":90},\n"
      "  {\"file\":\"book.xlsx\",\"sheet\":\"Customers\",\"cell\":\"C2\","
      "\"row\":2,\"column\":3,\"text\":\"M\xEF\xBF\xBDller\",\"score\":61}\n"
      "]\n");
}

TEST(JsonFormat, NoResultsIsAnEmptyArray) {
  EXPECT_EQ(FormatResults({}, Sheets(), OutputFormat::JSON), "[]\n");
}

TEST(CsvFormat, HeaderAndQuotedFieldsWithCrlf) {
  const std::vector<SearchResult> results = {{1, 2, 3, "Smith, \"Jr\"", 80},
                                             {0, 1, 1, "two\nlines", 70}};
  EXPECT_EQ(FormatResults(results, Sheets(), OutputFormat::CSV),
            "file,sheet,cell,row,column,text,score\r\n"
            "book.xlsx,Customers,C2,2,3,\"Smith, \"\"Jr\"\"\",80\r\n"
            "names.csv,,A1,1,1,\"two\nlines\",70\r\n");
}

TEST(ProgressLine, ShowsBarPercentageAndCounts) {
  EXPECT_EQ(RenderProgressLine(0, 200000),
            "[..............................]   0%  0/200000 cells");
  EXPECT_EQ(RenderProgressLine(100000, 200000),
            "[###############...............]  50%  100000/200000 cells");
  EXPECT_EQ(RenderProgressLine(200000, 200000),
            "[##############################] 100%  200000/200000 cells");
}

TEST(ProgressLine, SmallSearchesShowNoBar) {
  EXPECT_FALSE(ShouldShowProgress(kProgressCellThreshold));
  EXPECT_FALSE(ShouldShowProgress(0));
}

TEST(ProgressBar, DisabledBarWritesNothing) {
  std::FILE* sink = std::tmpfile();
  ASSERT_NE(sink, nullptr);
  {
    ProgressBar bar(sink, 10, false);
    bar.Update(5);
  }
  EXPECT_EQ(std::ftell(sink), 0);
  std::fclose(sink);
}

struct WordsCase {
  const char* text;
  std::vector<std::string> words;
};

class NormalisedWordsTest : public ::testing::TestWithParam<WordsCase> {};

TEST_P(NormalisedWordsTest, SplitLikeThePhraseSearch) {
  EXPECT_EQ(NormalisedWords(GetParam().text), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NormalisedWordsTest,
    ::testing::Values(WordsCase{"the quick fox", {"the", "quick", "fox"}},
                      WordsCase{"  The,  QUICK--fox!! ",
                                {"the", "quick", "fox"}},
                      WordsCase{"O'Neil's 2nd", {"oneils", "nd"}},
                      WordsCase{"M\xC3\xBCller", {"m", "ller"}},
                      WordsCase{"123 ...", {}}, WordsCase{"", {}}));

}  // namespace
}  // namespace marrowfield
