// "marrowfield explain" and the --scoring option of the comparing commands,
// run as programs: the explanation ends in the score compare prints, in
// either mode; search and similar list what the tolerant compare accepts;
// the strict score stays the engine's.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "program_runner.h"
#include "test_files.h"

namespace marrowfield {
namespace {

const std::vector<std::pair<std::string, std::string>> kWordPairs = {
    {"Smith", "Smyth"},     {"Thompson", "Thomson"}, {"Philip", "Philips"},
    {"Stephen", "Stevens"}, {"Knight", "Night"},     {"Catherine", "Kathryn"},
    {"Smith", "Jones"},     {"x", "Smith"},          {"42", "Smith"},
    {"O'Neill", "ONeal"},   {"Clark", "Clerk"},      {"Isabel", "Isobel"},
};

int Compare(const std::string& a, const std::string& b,
            const std::vector<std::string>& more = {}) {
  std::vector<std::string> args = {"compare", a, b};
  args.insert(args.end(), more.begin(), more.end());
  const ProgramRun run = RunMarrowfield(args);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return std::stoi(run.out);
}

std::string LastLine(const std::string& text) {
  const size_t end = text.size() - 1;
  return text.substr(text.rfind('\n', end - 1) + 1);
}

TEST(ExplainProgram, EndsWithTheScoreCompareGives_InBothModes) {
  for (const std::string scoring : {"strict", "tolerant"}) {
    for (const auto& [a, b] : kWordPairs) {
      const ProgramRun run =
          RunMarrowfield({"explain", a, b, "--scoring", scoring});
      ASSERT_EQ(run.exitCode, 0) << run.err;
      EXPECT_EQ(LastLine(run.out),
                "percentage: " +
                    std::to_string(Compare(a, b, {"--scoring", scoring})) +
                    "\n")
          << a << " " << b << " " << scoring << "\n"
          << run.out;
    }
  }
}

// explain folds its words as compare does, and --no-fold keeps the bytes
// in either scoring mode.
TEST(ExplainProgram, FoldsAsCompareDoes_UnlessNoFold) {
  for (const std::string scoring : {"strict", "tolerant"}) {
    for (const std::vector<std::string>& fold :
         {std::vector<std::string>{}, std::vector<std::string>{"--no-fold"}}) {
      std::vector<std::string> options = {"--scoring", scoring};
      options.insert(options.end(), fold.begin(), fold.end());
      std::vector<std::string> args = {"explain", "Zo\xC3\xAB", "Zoe"};
      args.insert(args.end(), options.begin(), options.end());
      const ProgramRun run = RunMarrowfield(args);
      ASSERT_EQ(run.exitCode, 0) << run.err;
      EXPECT_EQ(LastLine(run.out),
                "percentage: " +
                    std::to_string(Compare("Zo\xC3\xAB", "Zoe", options)) + "\n")
          << scoring << " " << fold.size();
    }
  }
  EXPECT_EQ(Compare("Zo\xC3\xAB", "Zoe", {"--scoring", "tolerant"}),
            Compare("Zoe", "Zoe", {"--scoring", "tolerant"}));
}

TEST(ExplainProgram, ShowsBothPhoneListsAndTheSteps) {
  const ProgramRun run = RunMarrowfield({"explain", "Smith", "Smyth"});
  ASSERT_EQ(run.exitCode, 0);
  const ProgramRun phones = RunMarrowfield({"phones", "smith", "smyth"});
  const std::string smith = phones.out.substr(0, phones.out.find('\n'));
  const std::string smyth = phones.out.substr(phones.out.find('\n') + 1);
  EXPECT_NE(run.out.find("word 1: \"smith\"  " + smith.substr(6) + "\n"),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("word 2: \"smyth\"  " + smyth.substr(6)),
            std::string::npos)
      << run.out;
  EXPECT_NE(run.out.find("steps:\n  1. paired "), std::string::npos);
  EXPECT_NE(run.out.find("scoring: strict\n"), std::string::npos);
}

TEST(ExplainProgram, UnknownScoringIsAUsageError) {
  const ProgramRun run =
      RunMarrowfield({"explain", "a", "b", "--scoring", "loose"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "");
}

TEST(ScoringOption, StrictIsTheDefault) {
  for (const auto& [a, b] : kWordPairs) {
    EXPECT_EQ(Compare(a, b, {"--scoring", "strict"}), Compare(a, b)) << a << b;
  }
}

TEST(ScoringOption, SimilarTolerant_ListsWhatTolerantCompareAccepts) {
  std::string list;
  for (const auto& [a, b] : kWordPairs) list += b + "\n";
  const ProgramRun run = RunMarrowfield(
      {"similar", "Thompson", "--threshold", "50", "--scoring", "tolerant"},
      RunOptions{list, false});
  ASSERT_LE(run.exitCode, 1) << run.err;
  std::vector<std::pair<int, std::string>> expected;
  for (const auto& [a, b] : kWordPairs) {
    const int score = Compare("Thompson", b, {"--scoring", "tolerant"});
    if (score >= 50) expected.emplace_back(score, b);
  }
  std::stable_sort(expected.begin(), expected.end(),
                   [](const auto& x, const auto& y) {
                     if (x.first != y.first) return x.first > y.first;
                     return x.second > y.second;
                   });
  std::string out;
  for (const auto& entry : expected) out += entry.second + "\n";
  EXPECT_EQ(run.out, out);
}

TEST(ScoringOption, SearchTolerant_ScoresEachCellAsTolerantCompare) {
  const TempDir dir;
  std::string csv = "Name\n";
  for (const auto& [a, b] : kWordPairs) csv += b + "\n";
  const std::string file = dir.Write("names.csv", csv);
  const ProgramRun run =
      RunMarrowfield({"search", "Thompson", file, "--scoring", "tolerant",
                      "--accuracy", "1", "-f", "csv"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  size_t start = run.out.find("\r\n") + 2;
  int rows = 0;
  while (start < run.out.size()) {
    const size_t end = run.out.find("\r\n", start);
    const std::string row = run.out.substr(start, end - start);
    const size_t scoreAt = row.rfind(',');
    const size_t textAt = row.rfind(',', scoreAt - 1);
    EXPECT_EQ(std::stoi(row.substr(scoreAt + 1)),
              Compare("Thompson", row.substr(textAt + 1, scoreAt - textAt - 1),
                      {"--scoring", "tolerant"}))
        << row;
    ++rows;
    start = end + 2;
  }
  EXPECT_GT(rows, 0);
}

// --scoring tolerant and --no-fold work together: search and similar fold
// the cells (and lines) before the tolerant score unless told not to, and
// show them as the file holds them.
TEST(ScoringOption, TolerantSearchAndSimilarFoldUnlessNoFold) {
  const TempDir dir;
  const std::string file = dir.Write("names.csv", "Zo\xC3\xAB\n");
  for (const bool fold : {true, false}) {
    std::vector<std::string> tolerant = {"--scoring", "tolerant"};
    if (!fold) tolerant.push_back("--no-fold");
    const int score = Compare("Zoey", "Zo\xC3\xAB", tolerant);
    std::vector<std::string> search = {"search", "Zoey", file, "-a", "0",
                                       "-f", "csv"};
    search.insert(search.end(), tolerant.begin(), tolerant.end());
    const ProgramRun found = RunMarrowfield(search);
    ASSERT_EQ(found.exitCode, 0) << found.err;
    EXPECT_NE(found.out.find(",Zo\xC3\xAB," + std::to_string(score) + "\r\n"),
              std::string::npos)
        << found.out;
    std::vector<std::string> similar = {"similar", "Zoey", file, "-t",
                                        std::to_string(score)};
    similar.insert(similar.end(), tolerant.begin(), tolerant.end());
    const ProgramRun listed = RunMarrowfield(similar);
    EXPECT_EQ(listed.out, "Zo\xC3\xAB\n") << fold;
  }
  EXPECT_EQ(Compare("Zoey", "Zo\xC3\xAB", {"--scoring", "tolerant"}),
            Compare("Zoey", "Zoe", {"--scoring", "tolerant"}));
}

}  // namespace
}  // namespace marrowfield
