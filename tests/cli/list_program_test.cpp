// "marrowfield dedupe" and "marrowfield link" run as programs: columns by
// header or letter, the shapes of the text, JSON, CSV and mapping outputs,
// exit statuses, identical results for 1, 2 and 7 threads, progress on a
// terminal only, and the bad inputs a user may hand them.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "program_runner.h"
#include "test_files.h"

namespace marrowfield {
namespace {

// The committed name corpus (a group id and a value per line) as a CSV
// with the header "Surname", |copies| times over.
std::string CorpusCsv(int copies) {
  std::ifstream in(MARROWFIELD_NAMES_DIR "/names.tsv");
  std::string line;
  std::getline(in, line);  // the header
  std::string values;
  while (std::getline(in, line)) {
    values += line.substr(line.find('\t') + 1) + "\n";
  }
  std::string csv = "Surname\n";
  for (int i = 0; i < copies; ++i) csv += values;
  return csv;
}

nlohmann::json ParseJson(const std::string& text) {
  return nlohmann::json::parse(text);
}

int CompareScore(const std::string& a, const std::string& b,
                 const std::string& scoring = "strict") {
  const ProgramRun run =
      RunMarrowfield({"compare", a, b, "--scoring", scoring});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return std::stoi(run.out);
}

class ListProgram : public ::testing::Test {
 protected:
  TempDir dir;
  std::string people = dir.Write(
      "people.csv",
      "Id,Family,City\r\n1,Smith,Leeds\r\n2,Smyth,York\r\n3,Smith,Hull\r\n"
      "4,Jones,Leeds\r\n5,Brown,Bath\r\n6,Braun,Bath\r\n7,Smith,Ely\r\n"
      "8,Browne,Wells\r\n9,42,Ripon\r\n");
};

TEST_F(ListProgram, Dedupe_TextBlocks_BiggestFirst_CanonicalMostFrequent) {
  const ProgramRun run =
      RunMarrowfield({"dedupe", people, "--column", "Family"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string first = run.out.substr(0, run.out.find("\n\n"));
  EXPECT_EQ(first.substr(0, first.find('\n')), "Smith  (2 spellings, 4 cells)");
  EXPECT_NE(first.find("\n  Smith  (100%)  3 cells: " + people + ":B2 " +
                       people + ":B4 " + people + ":B8\n"),
            std::string::npos)
      << first;
  EXPECT_NE(first.find("\n  Smyth  (" +
                       std::to_string(CompareScore("Smith", "Smyth")) +
                       "%)  1 cell: " + people + ":B3"),
            std::string::npos)
      << first;
  EXPECT_NE(run.out.find("\n\nBrown  (3 spellings, 3 cells)\n"),
            std::string::npos)
      << run.out;
}

TEST_F(ListProgram, Dedupe_ColumnByHeaderAnyCase_OrByLetter_SameGroups) {
  const ProgramRun byName =
      RunMarrowfield({"dedupe", people, "--column", "Family"});
  const ProgramRun byCaselessName =
      RunMarrowfield({"dedupe", people, "--column", "family"});
  const ProgramRun byLetter = RunMarrowfield({"dedupe", people, "-c", "b"});
  EXPECT_EQ(byName.exitCode, 0);
  EXPECT_EQ(byCaselessName.out, byName.out);
  EXPECT_EQ(byLetter.out, byName.out);
}

TEST_F(ListProgram, Dedupe_JsonAndCsv_OneRowPerMember_MappingToCanonical) {
  const std::string mapping = dir.Path("mapping.csv");
  const ProgramRun json = RunMarrowfield(
      {"dedupe", people, "-c", "Family", "-f", "json", "--mapping", mapping});
  const ProgramRun csv =
      RunMarrowfield({"dedupe", people, "-c", "Family", "-f", "csv"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  const nlohmann::json rows = ParseJson(json.out);
  ASSERT_EQ(rows.size(), 5u);
  const std::set<std::string> fields = {"group",     "canonical", "text",
                                        "count",     "score",     "via",
                                        "via_score", "places"};
  std::string expectedMapping = "text,canonical\r\n";
  std::string expectedCsv =
      "group,canonical,text,count,score,via,via_score,places\r\n";
  int previousGroup = 1;
  for (const nlohmann::json& row : rows) {
    std::set<std::string> keys;
    for (const auto& item : row.items()) keys.insert(item.key());
    EXPECT_EQ(keys, fields);
    EXPECT_GE(row["group"].get<int>(), previousGroup);
    previousGroup = row["group"].get<int>();
    EXPECT_EQ(row["places"].size(), row["count"].get<size_t>());
    EXPECT_EQ(row["score"].get<int>(),
              CompareScore(row["canonical"], row["text"]));
    std::string places;
    for (const auto& place : row["places"]) {
      places += (places.empty() ? "" : "; ") + place.get<std::string>();
    }
    expectedMapping += row["text"].get<std::string>() + "," +
                       row["canonical"].get<std::string>() + "\r\n";
    expectedCsv += std::to_string(row["group"].get<int>()) + "," +
                   row["canonical"].get<std::string>() + "," +
                   row["text"].get<std::string>() + "," +
                   std::to_string(row["count"].get<int>()) + "," +
                   std::to_string(row["score"].get<int>()) + "," +
                   row["via"].get<std::string>() + "," +
                   std::to_string(row["via_score"].get<int>()) + "," + places +
                   "\r\n";
  }
  EXPECT_EQ(csv.out, expectedCsv);
  EXPECT_EQ(ReadWholeFile(mapping), expectedMapping);
}

TEST_F(ListProgram, DedupeAndLink_SameForOneTwoAndSevenThreads) {
  const std::string corpus = dir.Write("corpus.csv", CorpusCsv(2));
  for (const std::string command : {"dedupe", "link"}) {
    std::vector<std::string> args = {command, corpus};
    if (command == "link") args.push_back(corpus);
    for (const char* more : {"-c", "Surname", "-f", "json"}) {
      args.push_back(more);
    }
    std::string first;
    for (const std::string threads : {"1", "2", "7"}) {
      std::vector<std::string> withThreads = args;
      withThreads.insert(withThreads.end(), {"--threads", threads});
      const ProgramRun run = RunMarrowfield(withThreads);
      ASSERT_EQ(run.exitCode, 0) << command << " " << run.err;
      if (first.empty()) first = run.out;
      EXPECT_EQ(run.out, first) << command << " with " << threads;
    }
    EXPECT_GT(ParseJson(first).size(), 100u) << command;
  }
}

TEST_F(ListProgram, Dedupe_ProgressOnTerminalOnly_OutputUnchanged) {
  const std::string corpus = dir.Write("big.csv", CorpusCsv(30));
  const ProgramRun piped = RunMarrowfield({"dedupe", corpus, "-c", "A"});
  const ProgramRun onTerminal =
      RunMarrowfield({"dedupe", corpus, "-c", "A"}, RunOptions{"", true});
  EXPECT_EQ(piped.exitCode, 0);
  EXPECT_EQ(piped.err, "");
  EXPECT_EQ(onTerminal.out, piped.out);
  EXPECT_NE(onTerminal.err.find(" cells"), std::string::npos);
}

TEST_F(ListProgram, Link_MatchesBestFirst_BestKeepsOnlyTheTopScore) {
  const std::string wanted = dir.Write("wanted.tsv", "Name\nSmith\nJones\n");
  const ProgramRun all = RunMarrowfield(
      {"link", wanted, people, "-c", "Name", "--column-b", "B", "-f", "json"});
  const ProgramRun best =
      RunMarrowfield({"link", wanted, people, "-c", "Name", "--column-b", "B",
                      "-f", "json", "--best"});
  ASSERT_EQ(all.exitCode, 0) << all.err;
  ASSERT_EQ(best.exitCode, 0) << best.err;
  const nlohmann::json rows = ParseJson(all.out);
  std::map<std::string, std::vector<int>> scores;
  for (const nlohmann::json& row : rows) {
    EXPECT_EQ(row["score"].get<int>(), CompareScore(row["text"], row["match"]));
    EXPECT_EQ(row["match_places"].size(), row["match_count"].get<size_t>());
    scores[row["text"]].push_back(row["score"]);
  }
  ASSERT_EQ(scores.count("Smith"), 1u);
  for (const auto& [text, list] : scores) {
    for (size_t i = 1; i < list.size(); ++i) EXPECT_GE(list[i - 1], list[i]);
  }
  for (const nlohmann::json& row : ParseJson(best.out)) {
    EXPECT_EQ(row["score"].get<int>(), scores.at(row["text"]).front());
  }
}

TEST_F(ListProgram, NothingAlike_ExitsOneWithTheNotice) {
  const std::string single = dir.Write("one.csv", "Name\nSmith\n");
  const std::string equal = dir.Write("equal.csv", "Smith\nSmith\nSmith\n");
  const std::string digits = dir.Write("digits.csv", "a-1\n#2\n3-b\n");
  for (const std::string& file : {single, equal}) {
    const ProgramRun run = RunMarrowfield({"dedupe", file});
    EXPECT_EQ(run.exitCode, 1) << file;
    EXPECT_EQ(run.out, "No Matches Found\n") << file;
  }
  // Cells without words are compared only when their column is named;
  // left to choose, dedupe finds no column of words to read.
  const ProgramRun noLetters =
      RunMarrowfield({"dedupe", digits, "--column", "A", "-f", "csv"});
  EXPECT_EQ(noLetters.exitCode, 1);
  EXPECT_EQ(noLetters.out,
            "group,canonical,text,count,score,via,via_score,places\r\n");
  EXPECT_EQ(noLetters.err, "No Matches Found\n");
  const ProgramRun chosen = RunMarrowfield({"dedupe", digits, "-f", "csv"});
  EXPECT_EQ(chosen.exitCode, 1);
  EXPECT_NE(chosen.err.find("no column holds mostly words"), std::string::npos)
      << chosen.err;
}

TEST_F(ListProgram, EmptyInput_IsNoDataToSearch) {
  const std::string empty = dir.Write("empty.csv", "");
  const std::string numbers = dir.Write("numbers.csv", "1,2\n3,4\n");
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"dedupe", empty}, {"dedupe", numbers}, {"link", people, empty}}) {
    const ProgramRun run = RunMarrowfield(args);
    EXPECT_EQ(run.exitCode, 1) << args[1];
    EXPECT_EQ(run.out, "No Data to Search\n") << args[1];
  }
  const ProgramRun json = RunMarrowfield({"dedupe", empty, "-f", "json"});
  EXPECT_EQ(json.out, "[]\n");
}

TEST_F(ListProgram, ColumnThatCannotBeFound_OneErrorLineNoOutput) {
  const std::string headerless = dir.Write("plain.csv", "Smith\nSmyth\n");
  const std::string workbook =
      dir.Write("book.xlsx",
                BuildZip(WorkbookFromCells(
                    "Sheet1", {{1, 1, true, "Name"}, {2, 1, true, "Smith"}})));
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"dedupe", people, "-c", "Surname"},
       people + ": no column is headed \"Surname\""},
      {{"dedupe", headerless, "-c", "Name"},
       headerless + ": no column is headed \"Name\""},
      {{"dedupe", workbook, "-c", "Name"},
       workbook + ": \"Name\" is not a column letter"},
      {{"link", people, headerless, "-c", "Family"},
       headerless + ": no column is headed \"Family\""},
      {{"dedupe", dir.Path("missing.csv")}, dir.Path("missing.csv")},
  };
  for (const Case& c : cases) {
    const ProgramRun run = RunMarrowfield(c.args);
    EXPECT_EQ(run.exitCode, 2) << c.message;
    EXPECT_EQ(run.out, "") << c.message;
    EXPECT_EQ(run.err.rfind("marrowfield: " + c.message, 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  }
  const ProgramRun letter = RunMarrowfield({"dedupe", workbook, "-c", "A"});
  EXPECT_EQ(letter.exitCode, 1) << letter.err;
}

// Values are read as search reads files (here a semicolon file, found
// without --delimiter) and scored folded to ASCII unless --no-fold; the
// output shows them as the file holds them.
TEST_F(ListProgram, AccentsFoldUnlessNoFold_FilesReadAsSearchReadsThem) {
  const std::string accented = dir.Write(
      "accents.csv", "Name;City\nJos\xC3\xA9;Lyon\nJose;Nice\nZo\xC3\xAB;Metz\n");
  const std::string plain = dir.Write("plain.csv", "Zoe\nJos\xC3\xA9\n");
  for (const std::string scoring : {"strict", "tolerant"}) {
    for (const bool fold : {true, false}) {
      std::vector<std::string> options = {"--scoring", scoring, "-f", "json"};
      if (!fold) options.push_back("--no-fold");
      std::vector<std::string> dedupe = {"dedupe", accented, "-c", "Name"};
      dedupe.insert(dedupe.end(), options.begin(), options.end());
      const ProgramRun grouped = RunMarrowfield(dedupe);
      ASSERT_NE(grouped.exitCode, 2) << grouped.err;
      EXPECT_NE(grouped.err.find("separated by semicolons"), std::string::npos)
          << grouped.err;
      const int expected = CompareScore("Jos\xC3\xA9", "Jose", scoring);
      const nlohmann::json members = ParseJson(grouped.out);
      if (fold) {
        ASSERT_EQ(members.size(), 2u) << grouped.out;
        EXPECT_EQ(members[1]["score"].get<int>(), expected);
      } else {
        for (const nlohmann::json& member : members) {
          EXPECT_NE(member["text"], "Jose") << grouped.out;
        }
      }
      std::vector<std::string> link = {"link",       accented, plain, "-c",
                                       "Name",       "--column-b", "A",
                                       "--accuracy", "100"};
      link.insert(link.end(), options.begin(), options.end());
      const ProgramRun linked = RunMarrowfield(link);
      ASSERT_NE(linked.exitCode, 2) << linked.err;
      std::set<std::string> found;
      for (const nlohmann::json& row : ParseJson(linked.out)) {
        found.insert(row["text"].get<std::string>() + ">" +
                     row["match"].get<std::string>());
      }
      EXPECT_EQ(found.count("Zo\xC3\xAB>Zoe"), fold ? 1u : 0u) << linked.out;
      EXPECT_EQ(found.count("Jose>Jos\xC3\xA9"), fold ? 1u : 0u) << linked.out;
      EXPECT_EQ(found.count("Jos\xC3\xA9>Jos\xC3\xA9"), 1u) << linked.out;
    }
  }
}

TEST_F(ListProgram, HugeCells_AreComparedWithoutHarm) {
  const std::string longName(100000, 'a');
  std::string words;
  for (int i = 0; i < 20000; ++i) words += "smith ";
  const std::string file =
      dir.Write("huge.csv", "Name\n\"" + longName + "\"\n\"" + words +
                                "\"\nSmith\n" + longName + "b\n");
  RunOptions bounded;
  bounded.bounded = true;
  for (const std::string mode : {"--whole-cell", "--accuracy=60"}) {
    const ProgramRun run =
        RunMarrowfield({"dedupe", file, "-c", "Name", mode}, bounded);
    EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1) << mode << run.err;
    EXPECT_EQ(run.err.find("marrowfield:"), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace marrowfield
