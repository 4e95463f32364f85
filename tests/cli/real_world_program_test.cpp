// "marrowfield" on files as other programs write them: semicolon CSV from a
// European Excel, Excel's UTF-16 "Unicode Text", Windows-1252 CSV, an inch
// mark in a cell, workbooks saved by openpyxl (formulas without values,
// several sheets, names that need quoting), standard input; and the word
// commands with accents and with --no-fold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_environment.h"
#include "marrowfield.h"
#include "program_runner.h"
#include "test_files.h"

namespace marrowfield {
namespace {

// UTF-16 little-endian with a byte-order mark, as Excel saves "Unicode
// Text", from Latin-1 |text| (every character below U+0100).
std::string ExcelUnicodeText(const std::string& latin1) {
  std::string out = "\xFF\xFE";
  for (const char c : latin1) out += std::string{c, '\0'};
  return out;
}

TEST(RealWorldFiles, SemicolonCsvIsSniffedAndSaidSo) {
  const TempDir dir;
  const std::string file = dir.Write(
      "europe.csv", "Name;Amount\r\n\"Smith\";\"12,50\"\r\nJones;7,25\r\n");
  const ProgramRun run = RunMarrowfield({"search", "Smith", file, "-a", "100"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "Smith  (100%)\t" + file + ":A2\n");
  EXPECT_EQ(run.err, "marrowfield: " + file +
                         ": note: fields are separated by semicolons, not "
                         "commas (--delimiter chooses)\n");
  const ProgramRun told = RunMarrowfield(
      {"search", "Smith", file, "-a", "100", "--delimiter", ";"});
  EXPECT_EQ(told.out, run.out);
  EXPECT_EQ(told.err, "");
  // Told the wrong delimiter, the reader takes each record as one field.
  const ProgramRun forced = RunMarrowfield(
      {"search", "Smith", file, "-a", "100", "--delimiter", "comma"});
  EXPECT_EQ(forced.out.rfind("Smith;\"12  (100%)\t" + file + ":A2\n", 0), 0u)
      << forced.out;
}

TEST(RealWorldFiles, ExcelUnicodeTextIsReadAsTabDelimitedUtf8) {
  const TempDir dir;
  const std::string file = dir.Write(
      "export.txt", ExcelUnicodeText("Name\tCity\r\nJos\xE9\tZ\xFCrich\r\n"));
  const ProgramRun run = RunMarrowfield({"search", "Jose", file, "-a", "100"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "Jos\xC3\xA9  (100%)\t" + file + ":A2\n");
  EXPECT_EQ(run.err, "");
}

TEST(RealWorldFiles, Windows1252IsNotedOnceAndShownAsUtf8) {
  const TempDir dir;
  const std::string file =
      dir.Write("old.csv", "Name\r\nFran\xE7ois\r\nO\x92Neil\r\nM\xFCller\r\n");
  const ProgramRun run =
      RunMarrowfield({"search", "Francois", file, "-a", "100"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "Fran\xC3\xA7ois  (100%)\t" + file + ":A2\n");
  EXPECT_EQ(run.err, "marrowfield: " + file +
                         ": note: not UTF-8 text; read as Windows-1252\n");
}

TEST(RealWorldFiles, MalformedQuotingIsRepairedWithAWarningUnlessStrict) {
  const TempDir dir;
  const std::string file =
      dir.Write("people.csv", "Name,Height\nSmith,5'10\"\nJones, \"Smyth\"\n");
  const ProgramRun run = RunMarrowfield({"search", "Smyth", file, "-a", "60"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find(" \"Smyth\"  ("), std::string::npos) << run.out;
  const std::string warning = "marrowfield: " + file +
                              ": line %: warning: quote inside an unquoted "
                              "field, read as part of the text\n";
  std::string expected;
  for (const char line : {'2', '3'}) {
    std::string one = warning;
    one[one.find('%')] = line;
    expected += one;
  }
  EXPECT_EQ(run.err, expected);
  const ProgramRun strict =
      RunMarrowfield({"search", "Smyth", file, "--strict"});
  EXPECT_EQ(strict.exitCode, 2);
  EXPECT_EQ(strict.err, "marrowfield: " + file +
                            ": line 2: quote inside an unquoted field (quote "
                            "the whole field)\n");
}

// A workbook as openpyxl saves one: formulas with no value, and sheets
// named as numbers and references.
std::string OpenpyxlBook() {
  const std::string first = WorksheetXml(
      "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Smith</t></is></c>"
      "<c r=\"B1\"><f>A1&amp;\"e\"</f><v></v></c><c r=\"C1\"><f>1+1</f></c>"
      "</row>");
  const std::string second = WorksheetXml(
      "<row r=\"2\"><c r=\"B2\" t=\"inlineStr\"><is><t>Smyth</t></is></c>"
      "</row>");
  const std::string third = WorksheetXml(
      "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>Zoe</t></is></c>"
      "</row>");
  return BuildZip(WorkbookParts({"2023", "R1C1", "Zo\xC3\xAB"},
                                {first, second, third}, ""));
}

TEST(RealWorldWorkbooks, MacroWorkbookWithFormulasAndQuotedSheetNames) {
  const TempDir dir;
  const std::string book = dir.Write("book.xlsm", OpenpyxlBook());
  const ProgramRun run = RunMarrowfield({"search", "Smith", book, "-a", "100"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "Smith  (100%)\t" + book + ":'2023'!A1\n");
  EXPECT_EQ(run.err, "marrowfield: " + book +
                         ": sheet '2023': note: 2 formula cells have no saved "
                         "value and were skipped (open and save the file in "
                         "Excel or LibreOffice to calculate them)\n");
}

TEST(RealWorldWorkbooks, AllSheetsAndTheNoticeWithoutIt) {
  const TempDir dir;
  const std::string book = dir.Write("book.xltx", OpenpyxlBook());
  const ProgramRun first =
      RunMarrowfield({"search", "Smyth", book, "-a", "100"});
  EXPECT_EQ(first.exitCode, 1);
  EXPECT_EQ(first.out, "No Matches Found\n");
  EXPECT_NE(
      first.err.find(book + ": note: only the first worksheet, '2023', was "
                            "searched; --all-sheets searches all 3\n"),
      std::string::npos)
      << first.err;
  const ProgramRun all =
      RunMarrowfield({"search", "Smyth", book, "-a", "100", "--all-sheets"});
  EXPECT_EQ(all.exitCode, 0);
  EXPECT_EQ(all.out, "Smyth  (100%)\t" + book + ":'R1C1'!B2\n");
  const ProgramRun named =
      RunMarrowfield({"search", "Zoe", book, "-a", "100", "-s", "ZO\xC3\x8B"});
  EXPECT_EQ(named.out, "Zoe  (100%)\t" + book + ":Zo\xC3\xAB!A1\n");
}

TEST(RealWorldInput, StandardInputInEachFormat) {
  RunOptions csv;
  csv.input = "Name\nSmith\n";
  EXPECT_EQ(RunMarrowfield({"search", "Smith", "-", "-a", "100"}, csv).out,
            "Smith  (100%)\t-:A2\n");
  RunOptions tsv;
  tsv.input = "Name\tSmith\n";
  EXPECT_EQ(
      RunMarrowfield(
          {"search", "Smith", "-", "-a", "100", "--input-format", "tsv"}, tsv)
          .out,
      "Smith  (100%)\t-:B1\n");
  RunOptions xlsx;
  xlsx.input = OpenpyxlBook();
  EXPECT_EQ(
      RunMarrowfield(
          {"search", "Smith", "-", "-a", "100", "--input-format", "xlsx"}, xlsx)
          .out,
      "Smith  (100%)\t-:'2023'!A1\n");
}

TEST(WordCommands, FoldAccentsUnlessNoFold) {
  const ProgramRun folded = RunMarrowfield({"compare", "Jos\xC3\xA9", "Jose"});
  EXPECT_EQ(folded.out, std::to_string(compare_words("Jose", "Jose")) + "\n");
  const ProgramRun kept =
      RunMarrowfield({"compare", "--no-fold", "Jos\xC3\xA9", "Jose"});
  EXPECT_EQ(kept.out,
            std::to_string(compare_words("Jos\xC3\xA9", "Jose")) + "\n");
  const ProgramRun dash = RunMarrowfield({"compare", "--", "-Smith", "Smith"});
  EXPECT_EQ(dash.out, std::to_string(compare_words("Smith", "Smith")) + "\n");
}

TEST(WordCommands, SimilarReadsListsAsSearchDoes) {
  RunOptions list;
  // A byte-order mark, CR-only line ends, an accented name and a line that
  // sounds like nothing.
  list.input = "\xEF\xBB\xBFSmyth\rJones\r\xC5\xA0mith\r42\r";
  const ProgramRun run = RunMarrowfield({"similar", "Smith", "-t", "60"}, list);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "\xC5\xA0mith\nSmyth\n");
  const ProgramRun all = RunMarrowfield({"similar", "Smith", "-t", "0"}, list);
  EXPECT_EQ(all.exitCode, 0);
  EXPECT_EQ(all.out.substr(0, 13), "\xC5\xA0mith\nSmyth\n");
  // Every line is listed at 0, as search -a 0 lists every text cell.
  for (const char* line : {"Jones\n", "42\n"}) {
    EXPECT_NE(all.out.find(line), std::string::npos) << all.out;
  }
}

}  // namespace
}  // namespace marrowfield
