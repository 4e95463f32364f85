// "marrowfield match": where and how well a phrase sounds like part of a
// text. The engine reports the place of the first phrase word's match in
// the text as it normalises it; this command rebuilds that normalised text
// to show which words of it the phrase matched.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "engine_session.h"
#include "match_words.h"
#include "read_flags.h"

namespace marrowfield {

namespace {

struct MatchOptions {
  std::string phrase;
  std::string text;
  bool rules = false;
  bool noFold = false;
};

int RunMatch(const MatchOptions& options) {
  const EngineSession engine;
  const int mode = options.rules ? MODE_LTS_ONLY : MODE_LEXICON;
  const std::string phrase =
      FoldToAscii(options.phrase, FoldingFor(options.noFold));
  const std::string text =
      FoldToAscii(options.text, FoldingFor(options.noFold));
  int start = -1;
  int length = 0;
  const int score = match_sub_string_phonetically(phrase.c_str(), text.c_str(),
                                                  &start, &length, mode);
  if (score < 0) {
    WriteOutput("score: -1\n");
    std::fputs("marrowfield: match: the phrase or the text holds no letter\n",
               stderr);
    return 1;
  }
  std::string out = "score: " + std::to_string(score) +
                    "\nstart: " + std::to_string(start) +
                    "\nlength: " + std::to_string(length) + "\n";
  if (score > 0) {
    out += "matched: " + JoinWithSpaces(MatchedTextWords(phrase, text, mode)) +
           "\n";
  }
  WriteOutput(out);
  return score > 0 ? 0 : 1;
}

}  // namespace

Subcommand AddMatchCommand(CLI::App& parent) {
  auto options = std::make_shared<MatchOptions>();
  CLI::App* app = parent.add_subcommand(
      "match",
      "Find where PHRASE sounds like part of TEXT: prints the score, the start "
      "and length of the first phrase word's match (in TEXT folded to ASCII "
      "and lower case, non-letters as single spaces) and the text words "
      "matched.");
  app->add_option("PHRASE", options->phrase, "Phrase of one or more words")
      ->required();
  app->add_option("TEXT", options->text, "Text to search in")->required();
  app->add_flag("-r,--rules", options->rules,
                "Use the letter-to-sound rules alone, not the lexicon");
  AddNoFoldOption(*app, options->noFold);
  return Subcommand{app, [options] { return RunMatch(*options); }};
}

}  // namespace marrowfield
