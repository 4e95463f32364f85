// "marrowfield explain": why two words score what they score, as the
// engine compares them: the phones, every step of the alignment and the
// arithmetic of the percentage.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "commands.h"
#include "list_options.h"
#include "lists_library.h"
#include "marrowfield/text_folding.h"
#include "read_flags.h"

namespace marrowfield {

namespace {

struct ExplainOptions {
  std::string word1;
  std::string word2;
  std::string scoring = "strict";
  bool noFold = false;
};

int RunExplain(const ExplainOptions& options) {
  const MfOptions mfOptions = NewMfOptions();
  mf_options_set_scoring(mfOptions.get(), ScoringCode(options.scoring));
  MfError error;
  mf_explanation_t* explained = nullptr;
  // The words are folded as compare folds them, so that the explanation
  // adds up to the percentage compare prints.
  const TextFolding folding = FoldingFor(options.noFold);
  const std::string word1 = FoldToAscii(options.word1, folding);
  const std::string word2 = FoldToAscii(options.word2, folding);
  CheckMf(mf_explain(mfOptions.get(), word1.c_str(), word2.c_str(),
                       &explained, error.out()),
           error);
  const MfExplanation owned(explained);
  WriteOutput(mf_explanation_text(owned.get()));
  return 0;
}

}  // namespace

Subcommand AddExplainCommand(CLI::App& parent) {
  auto options = std::make_shared<ExplainOptions>();
  CLI::App* app = parent.add_subcommand(
      "explain",
      "Show how two words are compared: their phones, each step of the "
      "alignment with its values, and how those add up to the percentage "
      "that compare prints.");
  app->add_option("WORD1", options->word1, "First word")->required();
  app->add_option("WORD2", options->word2, "Second word")->required();
  AddScoringOption(*app, options->scoring);
  AddNoFoldOption(*app, options->noFold);
  return Subcommand{app, [options] { return RunExplain(*options); }};
}

}  // namespace marrowfield
