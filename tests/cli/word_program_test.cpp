// The word commands run as a program (compare, phones, code, similar,
// match), --help on every command, and the progress bar of long searches.
// Expected values come from the engine itself, called directly.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_environment.h"
#include "marrowfield.h"
#include "program_runner.h"
#include "test_files.h"

namespace marrowfield {
namespace {

std::string PhonesOf(const std::string& word, int mode) {
  ResultIterator* list = get_phonemes(word.c_str(), mode);
  std::string joined;
  for (int i = 0; i < get_result_size(list); ++i) {
    if (i > 0) joined += " ";
    joined += get_result_item(list, i);
  }
  close_result_iterator(list);
  return joined;
}

TEST(CompareProgram, PrintsCompareWordsPercentage) {
  for (const auto& [a, b] : std::vector<std::pair<std::string, std::string>>{
           {"Smith", "Smyth"}, {"Catherine", "Katherine"}, {"Smith", "123"}}) {
    const ProgramRun run = RunMarrowfield({"compare", a, b});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              std::to_string(compare_words(a.c_str(), b.c_str())) + "\n");
  }
}

TEST(PhonesProgram, OneLinePerWordInEitherMode) {
  const ProgramRun lexicon = RunMarrowfield({"phones", "knight", "Jean-Luc"});
  EXPECT_EQ(lexicon.exitCode, 0);
  EXPECT_EQ(lexicon.out, "knight\t" + PhonesOf("knight", MODE_LEXICON) +
                             "\nJean-Luc\t" +
                             PhonesOf("Jean-Luc", MODE_LEXICON) + "\n");
  const ProgramRun rules = RunMarrowfield({"phones", "--rules", "colonel"});
  EXPECT_EQ(rules.out, "colonel\t" + PhonesOf("colonel", MODE_LTS_ONLY) + "\n");
}

TEST(CodeProgram, PrintsCodesOfAnyLength) {
  const std::string longWord = "bcdfghjklmnpqrstvwxz";
  std::vector<char> buffer(256);
  get_codes_for_word(longWord.c_str(), buffer.data(), 256);
  const ProgramRun run = RunMarrowfield({"code", "knight", longWord});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "knight\t43\n" + longWord + "\t" +
                         std::string(buffer.data()) + "\n");
  EXPECT_GT(std::string(buffer.data()).size(), 16u);
}

TEST(SimilarProgram, ReadsTheListFromStandardInputOrAFile) {
  const std::string list = "Smyth\r\nJones\n\nSmithe\nSmith\n";
  const ProgramRun fromInput =
      RunMarrowfield({"similar", "Smith"}, RunOptions{list, false});
  EXPECT_EQ(fromInput.exitCode, 0);
  const TempDir dir;
  const ProgramRun fromFile =
      RunMarrowfield({"similar", "Smith", dir.Write("list.txt", list)});
  EXPECT_EQ(fromFile.out, fromInput.out);
  const char* words[] = {"Smyth", "Jones", "Smithe", "Smith"};
  ResultIterator* expected = get_similar_words_from_list("Smith", words, 4);
  std::string lines;
  for (int i = 0; i < get_result_size(expected); ++i) {
    lines += std::string(get_result_item(expected, i)) + "\n";
  }
  close_result_iterator(expected);
  EXPECT_EQ(fromInput.out, lines);
}

TEST(SimilarProgram, NothingSimilarExitsOne) {
  const ProgramRun run =
      RunMarrowfield({"similar", "Smith", "--threshold", "100", "-"},
                     RunOptions{"Jones\nBrown\n", false});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
}

TEST(MatchProgram, PrintsScorePlaceAndMatchedWords) {
  const ProgramRun run = RunMarrowfield({"match", "fox", "The  quick, fox!"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "score: 100\nstart: 10\nlength: 3\nmatched: fox\n");
}

TEST(MatchProgram, PhraseWithoutLettersExitsOne) {
  const ProgramRun run = RunMarrowfield({"match", "123", "the quick fox"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "score: -1\n");
  EXPECT_NE(run.err.find("no letter"), std::string::npos);
}

TEST(WordProgramErrors, BadArgumentsExitTwoWithOneLine) {
  const std::vector<std::vector<std::string>> cases = {
      {"compare", "Smith"},
      {"compare", "a", "b", "c"},
      {"phones"},
      {"code"},
      {"similar"},
      {"similar", "Smith", "/nonexistent/list.txt"},
      {"similar", "Smith", "-t", "101"},
      {"match", "fox"},
      {"phones", "--nope", "x"},
  };
  for (const std::vector<std::string>& args : cases) {
    const ProgramRun run = RunMarrowfield(args);
    EXPECT_EQ(run.exitCode, 2) << args[0];
    EXPECT_EQ(run.out, "") << args[0];
    EXPECT_EQ(run.err.rfind("marrowfield: ", 0), 0u) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
  }
}

TEST(HelpProgram, EveryCommandHasHelp) {
  for (const char* command :
       {"search", "compare", "phones", "code", "similar", "match"}) {
    const ProgramRun run = RunMarrowfield({command, "--help"});
    EXPECT_EQ(run.exitCode, 0) << command;
    EXPECT_NE(run.out.find(std::string("Usage: marrowfield ") + command),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.err, "") << command;
  }
  const ProgramRun top = RunMarrowfield({"--help"});
  EXPECT_EQ(top.exitCode, 0);
  EXPECT_NE(top.out.find("similar"), std::string::npos);
}

// |cells| numbers and one "Smith" at the end, in rows of ten.
std::string ManyCells(std::size_t cells) {
  std::string csv;
  for (std::size_t i = 1; i < cells; ++i) {
    csv += std::to_string(i) + (i % 10 == 0 ? "\n" : ",");
  }
  return csv + "Smith\n";
}

TEST(SearchProgress, BarOnTerminalOnlyAndNeverOnStandardOutput) {
  const TempDir dir;
  const std::string big = dir.Write("big.csv", ManyCells(60000));
  const ProgramRun piped = RunMarrowfield({"search", "Smith", big});
  const ProgramRun onTerminal =
      RunMarrowfield({"search", "Smith", big}, RunOptions{"", true});
  EXPECT_EQ(piped.exitCode, 0);
  EXPECT_EQ(piped.err, "");
  EXPECT_EQ(onTerminal.exitCode, 0);
  EXPECT_EQ(onTerminal.out, piped.out);
  EXPECT_NE(onTerminal.err.find("100%  60000/60000 cells"), std::string::npos);
}

TEST(SearchProgress, NoBarUpToFiftyThousandCells) {
  const TempDir dir;
  const std::string file = dir.Write("small.csv", ManyCells(50000));
  const ProgramRun run =
      RunMarrowfield({"search", "Smith", file}, RunOptions{"", true});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.err, "");
}

}  // namespace
}  // namespace marrowfield
