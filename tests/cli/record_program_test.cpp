// "marrowfield dedupe" and "link" by records run as programs: --name,
// --same and --also, --annotate writing the input back byte for byte with
// three columns more, the columns dedupe picks by itself, and the bad
// input a user may give them, each refused on one line or answered right.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_runner.h"
#include "test_files.h"

namespace marrowfield {
namespace {

size_t Lines(const std::string& text) {
  size_t lines = 0;
  for (const char c : text) lines += c == '\n';
  return lines;
}

class RecordProgram : public ::testing::Test {
 protected:
  TempDir dir;
  // Jon Smyth and John Smith of Boston are one customer; the Austin John
  // Smith is another; Mary has no last name on one row.
  std::string customers =
      dir.Write("customers.csv",
                "\xEF\xBB\xBF"
                "Id,First,Last,City,Phone\r\n"
                "1,John,Smith,Boston,(617) 555-0101\r\n"
                "2,Jon,Smyth,boston ,617-555-0101\r\n"
                "3,\"John \"\"Jack\"\"\",Smith,Austin,512 555 0199\r\n"
                "4,\"Mary\",\"Jones\",Reno,775 555 0123\r\n"
                "5,Mary,,Reno\r\n"
                "6,Marie,Jones,\"Reno\",\"775.555.0123\"\r\n");
};

TEST_F(RecordProgram, Dedupe_NameSoundsAlikeAndCityIsTheSame) {
  const ProgramRun run =
      RunMarrowfield({"dedupe", customers, "--name", "First,Last", "--same",
                      "City", "-f", "csv"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  // Two groups: the Boston Smiths and the Reno Joneses, nobody from Austin.
  EXPECT_NE(run.out.find("John Smith (Boston)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Jon Smyth (boston )"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("Austin"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Marie Jones (Reno)"), std::string::npos) << run.out;
  // A telephone number written two ways is one same field.
  const ProgramRun byPhone = RunMarrowfield(
      {"dedupe", customers, "--name", "First,Last", "--same", "Phone"});
  ASSERT_EQ(byPhone.exitCode, 0) << byPhone.err;
  EXPECT_NE(byPhone.out.find("Jon Smyth (617-555-0101)"), std::string::npos)
      << byPhone.out;
}

TEST_F(RecordProgram, Annotate_KeepsEveryByteAndAddsThreeColumns) {
  const std::string out = dir.Path("annotated.csv");
  const ProgramRun run =
      RunMarrowfield({"dedupe", customers, "--name", "First,Last", "--same",
                      "City", "--annotate", out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string input = ReadWholeFile(customers);
  const std::string annotated = ReadWholeFile(out);
  EXPECT_EQ(Lines(annotated), Lines(input));
  // Row by row: the input's bytes, then the added fields, then its line end.
  size_t at = 0;
  size_t inAt = 0;
  std::vector<std::string> added;
  while (inAt < input.size()) {
    const size_t inEnd = input.find("\r\n", inAt);
    const std::string row = input.substr(inAt, inEnd - inAt);
    ASSERT_EQ(annotated.compare(at, row.size(), row), 0) << row;
    const size_t end = annotated.find("\r\n", at);
    ASSERT_NE(end, std::string::npos);
    added.push_back(annotated.substr(at + row.size(), end - at - row.size()));
    at = end + 2;
    inAt = inEnd + 2;
  }
  ASSERT_EQ(added.size(), 7u);
  EXPECT_EQ(added[0], ",group,canonical,score");
  // Rows 1 and 2 share a group, row 3 (Austin) has none; Mary of row 5,
  // one field short, gains the empty field that keeps the columns aligned.
  EXPECT_EQ(added[1].substr(0, 3), added[2].substr(0, 3));
  EXPECT_NE(added[1], ",,,");
  EXPECT_EQ(added[3], ",,,");
  EXPECT_EQ(added[5].substr(0, 1), ",");
  EXPECT_EQ(annotated.substr(0, 3), "\xEF\xBB\xBF");
}

TEST_F(RecordProgram, Annotate_Windows1252_StaysWindows1252) {
  // José in Windows-1252 (0xE9), the canonical written back in its bytes.
  const std::string file =
      dir.Write("latin.csv",
                "Name,City\nJos\xE9 Smith,Leeds\nJose Smyth,Leeds\n"
                "Jos\xE9 Smith,Leeds\n");
  const std::string out = dir.Path("latin_out.csv");
  const ProgramRun run = RunMarrowfield(
      {"dedupe", file, "--name", "Name", "--same", "City", "--annotate", out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string annotated = ReadWholeFile(out);
  const std::string head =
      "Name,City,group,canonical,score\n"
      "Jos\xE9 Smith,Leeds,1,Jos\xE9 Smith,100\n"
      "Jose Smyth,Leeds,1,Jos\xE9 Smith,";
  const std::string tail = "\nJos\xE9 Smith,Leeds,1,Jos\xE9 Smith,100\n";
  ASSERT_GT(annotated.size(), head.size() + tail.size()) << annotated;
  EXPECT_EQ(annotated.substr(0, head.size()), head);
  EXPECT_EQ(annotated.substr(annotated.size() - tail.size()), tail);
  const std::string score = annotated.substr(
      head.size(), annotated.size() - head.size() - tail.size());
  EXPECT_GE(std::stoi(score), 60) << score;
}

TEST_F(RecordProgram, BadInput_OneClearLineNeverACrash) {
  const std::string workbookLike = dir.Write("book.xlsx", "not a workbook");
  struct Case {
    const char* what;
    std::vector<std::string> args;
    const char* message;  // a part of the one error line
  };
  const std::vector<Case> cases = {
      {"missing name column",
       {"dedupe", customers, "--name", "First,Surname"},
       "no column is headed \"Surname\""},
      {"missing same column",
       {"dedupe", customers, "--name", "First", "--same", "Town"},
       "no column is headed \"Town\""},
      {"empty column name",
       {"dedupe", customers, "--name", "First,,Last"},
       "the column name is empty"},
      {"one column in two roles",
       {"dedupe", customers, "--name", "First,Last", "--same", "last"},
       "\"Last\" and \"last\" name one column, given to both --name and "
       "--same; give each column one role"},
      {"one column twice",
       {"dedupe", customers, "--name", "First,First"},
       "\"First\" is given twice to --name; give each column one role"},
      {"same without a name",
       {"dedupe", customers, "--same", "City"},
       "need the name's columns"},
      {"column and name",
       {"dedupe", customers, "--column", "First", "--name", "Last"},
       "give one"},
      {"annotate the input itself",
       {"dedupe", customers, "--name", "First", "--annotate", customers},
       "would overwrite the input"},
      {"annotate the input under another name",
       {"dedupe", customers, "--name", "First", "--annotate",
        dir.Path("./customers.csv")},
       "would overwrite the input"},
      {"annotate a workbook into text",
       {"dedupe", workbookLike, "--name", "A", "--annotate",
        dir.Path("out.csv")},
       "give it the .xlsx extension"},
      {"annotate a macro workbook",
       {"dedupe", dir.Write("book.xlsm", "PK"), "--name", "A", "--annotate",
        dir.Path("out.xlsx")},
       "CSV and TSV files"},
      {"annotate every sheet",
       {"dedupe", workbookLike, "--all-sheets", "--name", "A", "--annotate",
        dir.Path("out.xlsx")},
       "drop --all-sheets"},
      {"annotate a workbook onto itself",
       {"dedupe", workbookLike, "--name", "A", "--annotate",
        dir.Path("./book.xlsx")},
       "would overwrite the input"},
      {"annotate two inputs",
       {"dedupe", customers, customers, "--name", "First", "--annotate",
        dir.Path("out.csv")},
       "give one file"},
      {"link with column-b",
       {"link", customers, customers, "--name", "First", "--column-b", "Last"},
       "--column-b"},
  };
  const std::string before = ReadWholeFile(customers);
  for (const Case& c : cases) {
    const ProgramRun run = RunMarrowfield(c.args);
    EXPECT_EQ(run.exitCode, 2) << c.what;
    EXPECT_EQ(run.out, "") << c.what;
    EXPECT_EQ(Lines(run.err), 1u) << c.what << ": " << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos)
        << c.what << ": " << run.err;
  }
  EXPECT_EQ(ReadWholeFile(customers), before);
}

TEST_F(RecordProgram, OddRows_AnsweredNotRefused) {
  const std::string longName(100000, 'a');
  struct Case {
    const char* what;
    std::string csv;
    int exitCode;
  };
  const std::vector<Case> cases = {
      {"rows shorter than the header",
       "First,Last,City\nJohn,Smith,Boston\nJon,Smyth\nJon\n", 1},
      {"empty name fields",
       "First,Last,City\n,,Boston\n,,Boston\nJohn,Smith,Boston\n", 1},
      {"a 100000-byte field",
       "First,Last,City\n" + longName + ",Smith,Boston\n" + longName +
           ",Smith,Boston\nJohn,Smith,Boston\n",
       0},
      {"only a header", "First,Last,City\n", 1},
  };
  for (const Case& c : cases) {
    const std::string file = dir.Write("odd.csv", c.csv);
    const std::string out = dir.Path("odd_out.csv");
    const ProgramRun run =
        RunMarrowfield({"dedupe", file, "--name", "First,Last", "--same",
                        "City", "--annotate", out});
    EXPECT_EQ(run.exitCode, c.exitCode) << c.what << ": " << run.err;
    const std::string annotated = ReadWholeFile(out);
    EXPECT_EQ(Lines(annotated), Lines(c.csv)) << c.what;
    // Every row gains the same number of fields as the header.
    size_t start = 0;
    while (start < annotated.size()) {
      const size_t end = annotated.find('\n', start);
      const std::string row = annotated.substr(start, end - start);
      size_t commas = 0;
      for (const char ch : row) commas += ch == ',';
      EXPECT_EQ(commas, 5u) << c.what << ": " << row.substr(0, 60);
      start = end + 1;
    }
  }
}

TEST_F(RecordProgram, DefaultColumns_WordsOnly_NamedOnStandardError) {
  std::string csv = "Code,Name\n";
  for (int i = 0; i < 40; ++i) {
    csv += "C-1" + std::to_string(1000 + i) + "," +
           (i % 2 == 0 ? "Smith" : "Smyth") + "\n";
  }
  const std::string file = dir.Write("codes.csv", csv);
  const ProgramRun run = RunMarrowfield({"dedupe", file});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.err.find("grouping the columns of words: Name"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(run.out.find("C-1"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Smith"), std::string::npos) << run.out;
}

// Text output speaks of records and rows: a record written on several
// rows is one record, its rows listed by number under the file's name.
TEST_F(RecordProgram, Dedupe_TextCountsRecordsAndListsTheirRows) {
  const std::string copies = dir.Write(
      "copies.csv",
      "First,Last,City\nJohn,Smith,Boston\nJon,Smyth,Boston\n"
      "John,Smith,Boston\nJohn,Smith,Boston\nJohn,Smith,Boston\n"
      "John,Smith,Boston\nAnn,Lee,Reno\nAnn,Lee,Reno\n");
  const ProgramRun run = RunMarrowfield(
      {"dedupe", copies, "--name", "First,Last", "--same", "City"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> expected = {
      "John Smith (Boston)  (2 records, 6 rows)\n",
      "\n  John Smith (Boston)  (100%)  5 rows: " + copies +
          " rows 2, 4, 5 and 2 more\n",
      "%)  1 row: " + copies + " row 3\n",
      "\n\nAnn Lee (Reno)  (1 record, 2 rows)\n  Ann Lee (Reno)  (100%)  "
      "2 rows: " + copies + " rows 8, 9\n"};
  for (const std::string& line : expected)
    EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
  EXPECT_EQ(run.out.find("spelling"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("cell"), std::string::npos) << run.out;
  // Linking records lists rows too.
  const ProgramRun link = RunMarrowfield(
      {"link", copies, customers, "--name", "First,Last", "--same", "City"});
  ASSERT_EQ(link.exitCode, 0) << link.err;
  EXPECT_NE(link.out.find("  1 row: " + customers + " row 2\n"),
            std::string::npos)
      << link.out;
  EXPECT_EQ(link.out.find("cell"), std::string::npos) << link.out;
}

TEST_F(RecordProgram, Link_RecordsOfTheSameCity) {
  const std::string other = dir.Write(
      "other.csv", "First,Last,City\nJohnny,Smith,Austin\nJon,Smith,BOSTON\n");
  const ProgramRun run =
      RunMarrowfield({"link", customers, other, "--name", "First,Last",
                      "--same", "City", "-f", "csv"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("Jon Smith (BOSTON)"), std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("Johnny"), std::string::npos) << run.out;
}

TEST_F(RecordProgram, SameOutputForEveryThreadCount) {
  std::vector<std::string> outputs;
  for (const char* threads : {"1", "2", "5"}) {
    const std::string out = dir.Path(std::string("t") + threads + ".csv");
    const ProgramRun run = RunMarrowfield(
        {"dedupe", customers, "--name", "First", "--same", "City", "--also",
         "Last", "-j", threads, "--annotate", out, "-f", "json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    outputs.push_back(run.out + ReadWholeFile(out));
  }
  EXPECT_EQ(outputs[0], outputs[1]);
  EXPECT_EQ(outputs[0], outputs[2]);
}

}  // namespace
}  // namespace marrowfield
