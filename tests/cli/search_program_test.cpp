// "marrowfield search" run as a program: its listing, exit statuses, output
// formats, several files, and errors that leave standard output empty.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_runner.h"
#include "test_files.h"

namespace marrowfield {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

class SearchProgram : public ::testing::Test {
 protected:
  TempDir dir;
  std::string names = dir.Write(
      "names.csv",
      "First,Last,Amount\r\nJohn,Smith,12.5\r\nJane,Smyth,7\r\n\"Smith, "
      "Jr.\",Jones,3\r\n");
};

TEST_F(SearchProgram, ListsMatchesInDialogFormatWithTheirPlace) {
  const ProgramRun run = RunMarrowfield({"search", "Smith", names});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_GE(lines.size(), 1u);
  EXPECT_EQ(lines[0], "Smith  (100%)\t" + names + ":B2");
  for (const std::string& line : lines) {
    EXPECT_NE(line.find("%)\t" + names + ":"), std::string::npos) << line;
  }
}

TEST_F(SearchProgram, NoMatchesFoundExitsOne) {
  const ProgramRun run = RunMarrowfield({"search", "Xylophone", names});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "No Matches Found\n");
}

TEST_F(SearchProgram, AccuracyHundredKeepsOnlyFullScores) {
  const ProgramRun run =
      RunMarrowfield({"search", "Smith", names, "--accuracy", "100"});
  EXPECT_EQ(run.exitCode, 0);
  for (const std::string& line : Lines(run.out)) {
    EXPECT_NE(line.find("  (100%)\t"), std::string::npos) << line;
  }
}

TEST_F(SearchProgram, SheetOptionDoesNotApplyToDelimitedFiles) {
  const ProgramRun run =
      RunMarrowfield({"search", "Smith", names, "--sheet", "Anything"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(Lines(run.out).at(0), "Smith  (100%)\t" + names + ":B2");
}

TEST_F(SearchProgram, NumbersOnlyIsNoDataToSearch) {
  const std::string numbers = dir.Write("n.csv", "1,2.5\n-3,\"4\"\n");
  const std::string empty = dir.Write("e.tsv", "");
  for (const std::string& file : {numbers, empty}) {
    const ProgramRun run = RunMarrowfield({"search", "Smith", file});
    EXPECT_EQ(run.exitCode, 1) << file;
    EXPECT_EQ(run.out, "No Data to Search\n") << file;
  }
}

TEST_F(SearchProgram, JsonFormatGivesOneObjectPerResult) {
  const ProgramRun run =
      RunMarrowfield({"search", "Smith", names, "--format", "json"});
  EXPECT_EQ(run.exitCode, 0);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines.front(), "[");
  EXPECT_EQ(lines[1], "  {\"file\":\"" + names +
                          "\",\"sheet\":null,\"cell\":\"B2\",\"row\":2,"
                          "\"column\":2,\"text\":\"Smith\",\"score\":100},");
  EXPECT_EQ(lines.back(), "]");
}

TEST_F(SearchProgram, MachineFormatsPutTheNoticeOnStandardError) {
  const ProgramRun json =
      RunMarrowfield({"search", "Xylophone", names, "-f", "json"});
  EXPECT_EQ(json.exitCode, 1);
  EXPECT_EQ(json.out, "[]\n");
  EXPECT_EQ(json.err, "No Matches Found\n");
  const ProgramRun csv =
      RunMarrowfield({"search", "Xylophone", names, "-f", "csv"});
  EXPECT_EQ(csv.out, "file,sheet,cell,row,column,text,score\r\n");
  EXPECT_EQ(csv.err, "No Matches Found\n");
}

TEST_F(SearchProgram, CsvFormatQuotesFields) {
  const ProgramRun run =
      RunMarrowfield({"search", "Smith", names, "-f", "csv", "-a", "0"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("\"Smith, Jr.\""), std::string::npos);
  EXPECT_EQ(run.out.rfind("file,sheet,cell,row,column,text,score\r\n", 0), 0u);
}

TEST_F(SearchProgram, ResultsOfSeveralFilesAreSortedTogether) {
  const std::string other = dir.Write("other.tsv", "Smithe\tSmith\n");
  const ProgramRun run = RunMarrowfield({"search", "Smith", names, other});
  ASSERT_EQ(run.exitCode, 0);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_GE(lines.size(), 3u);
  // Equal results keep the order of the files on the command line.
  EXPECT_EQ(lines[0], "Smith  (100%)\t" + names + ":B2");
  EXPECT_EQ(lines[1], "Smith  (100%)\t" + other + ":B1");
}

TEST_F(SearchProgram, WorkbookResultsNameTheSheet) {
  const std::string book = dir.Write(
      "book.xlsx",
      BuildZip(WorkbookParts(
          {"Old", "My List"},
          {WorksheetXml(""),
           WorksheetXml("<row r=\"4\"><c r=\"C4\" t=\"inlineStr\"><is><t>Smith"
                        "</t></is></c></row>")},
          "")));
  const ProgramRun run =
      RunMarrowfield({"search", "Smith", book, "--sheet", "My List"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "Smith  (100%)\t" + book + ":'My List'!C4\n");
  const ProgramRun first = RunMarrowfield({"search", "Smith", book});
  EXPECT_EQ(first.out, "No Data to Search\n");
}

struct BadSearch {
  const char* name;
  std::vector<std::string> args;
  std::string errorStart;
};

class SearchProgramErrors : public ::testing::TestWithParam<BadSearch> {};

TEST_P(SearchProgramErrors, OneLineOnStandardErrorAndExitTwo) {
  const TempDir dir;
  const std::string good = dir.Write("good.csv", "Smith\n");
  dir.Write("bad.csv", "Smith\nSm\"ith\n");
  dir.Write("fake.xlsx", "Smith\n");
  dir.Write("empty.xlsx", "");
  dir.Write("book.csv", BuildZip(WorkbookFromCells("S", {})));
  dir.Write("old.xls", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
  dir.Write("sheet.ods", BuildZip({{"mimetype", "application/x"}}));
  std::vector<std::string> args;
  for (const std::string& arg : GetParam().args) {
    args.push_back(arg.rfind("@", 0) == 0 ? dir.Path(arg.substr(1)) : arg);
  }
  std::string expected = GetParam().errorStart;
  const std::size_t at = expected.find('@');
  if (at != std::string::npos) expected.replace(at, 1, dir.Path(""));
  const ProgramRun run = RunMarrowfield(args);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind(expected, 0), 0u) << run.err;
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchProgramErrors,
    ::testing::Values(
        BadSearch{"MissingFile",
                  {"search", "Smith", "@good.csv", "@none.csv"},
                  "marrowfield: @none.csv: cannot open: No such file"},
        BadSearch{"MalformedCsvWhenStrict",
                  {"search", "Smith", "@bad.csv", "--strict"},
                  "marrowfield: @bad.csv: line 2: quote inside an unquoted"},
        BadSearch{"NotAWorkbook",
                  {"search", "Smith", "@fake.xlsx"},
                  "marrowfield: @fake.xlsx: not an Excel workbook"},
        BadSearch{"UnknownType",
                  {"search", "Smith", "@good.dat"},
                  "marrowfield: @good.dat: unsupported file type"},
        BadSearch{"AccuracyAbove100",
                  {"search", "Smith", "@good.csv", "--accuracy", "101"},
                  "marrowfield: --accuracy: the accuracy must be a whole "
                  "number from 0 to 100 (not '101')"},
        BadSearch{"AccuracyBelow0",
                  {"search", "Smith", "@good.csv", "-a", "-1"},
                  "marrowfield: "},
        BadSearch{"AccuracyNotANumber",
                  {"search", "Smith", "@good.csv", "-a", "high"},
                  "marrowfield: --accuracy: the accuracy must be a whole "
                  "number from 0 to 100 (not 'high')"},
        BadSearch{"UnknownFormat",
                  {"search", "Smith", "@good.csv", "-f", "xml"},
                  "marrowfield: --format: "},
        BadSearch{"EmptySearchText",
                  {"search", "", "@good.csv"},
                  "marrowfield: search: the search text is empty"},
        BadSearch{"SearchTextWithoutLetters",
                  {"search", "--", "-42", "@good.csv"},
                  "marrowfield: search: the search text holds no letter, so "
                  "nothing sounds like it"},
        BadSearch{"XlsxRenamedCsv",
                  {"search", "Smith", "@book.csv"},
                  "marrowfield: @book.csv: this looks like an Excel workbook "
                  "(a zip package), not delimited text; give it the .xlsx "
                  "extension"},
        BadSearch{"EmptyXlsx",
                  {"search", "Smith", "@empty.xlsx"},
                  "marrowfield: @empty.xlsx: not an Excel workbook: the file "
                  "is empty"},
        BadSearch{"OldExcelFormat",
                  {"search", "Smith", "@old.xls"},
                  "marrowfield: @old.xls: Excel 97-2003 workbooks (.xls) are "
                  "not read; open it in Excel or LibreOffice and save it as "
                  ".xlsx"},
        BadSearch{"OpenDocument",
                  {"search", "Smith", "@sheet.ods"},
                  "marrowfield: @sheet.ods: OpenDocument spreadsheets (.ods) "
                  "are not read; save it as .xlsx (Excel 2007-365) in "
                  "LibreOffice"},
        BadSearch{
            "SheetAndAllSheets",
            {"search", "Smith", "@good.csv", "--sheet", "A", "--all-sheets"},
            "marrowfield: --sheet excludes --all-sheets"},
        BadSearch{"UnknownDelimiter",
                  {"search", "Smith", "@good.csv", "--delimiter", "pipe"},
                  "marrowfield: --delimiter: the delimiter must be one "
                  "character, or tab, comma or semicolon (not 'pipe')"},
        BadSearch{
            "NoFile", {"search", "Smith"}, "marrowfield: FILE is required"},
        BadSearch{"NoCommand", {}, "marrowfield: A subcommand is required"},
        BadSearch{"UnknownCommand", {"find", "Smith"}, "marrowfield: "}),
    [](const ::testing::TestParamInfo<BadSearch>& info) {
      return std::string(info.param.name);
    });

}  // namespace
}  // namespace marrowfield
