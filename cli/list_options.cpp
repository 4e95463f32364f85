// The shared options of the list commands. The library reports progress in
// units of its own; the bar shows them as the same share of the cells read,
// so the user sees one familiar bar for every long command.
#include "list_options.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "commands.h"
#include "read_flags.h"

namespace marrowfield {

// More threads than this are surely a typing error.
constexpr unsigned kMaxThreads = 1024;

void AddScoringOption(CLI::App& app, std::string& scoring) {
  app.add_option("--scoring", scoring,
                 "strict (the engine's score) or tolerant (one extra or "
                 "missing phone lowers the score instead of zeroing it)")
      ->default_val("strict")
      ->check(CLI::IsMember({"strict", "tolerant"}));
}

int ScoringCode(const std::string& scoring) {
  return scoring == "tolerant" ? MF_SCORING_TOLERANT : MF_SCORING_STRICT;
}

void AddListOptions(CLI::App& app, ListOptions& options) {
  app.add_option("-a,--accuracy", options.accuracy,
                 "Lowest score of a match, 0-100")
      ->default_val(kDefaultListAccuracy)
      ->check(PercentCheck("accuracy"));
  app.add_option("-j,--threads", options.threads,
                 "Threads to use (default 0: every core); results are the "
                 "same for any number")
      ->default_val(0)
      ->check(CLI::Range(0u, kMaxThreads));
  app.add_flag("--whole-cell", options.wholeCell,
               "Compare each cell as one word instead of word by word");
  AddScoringOption(app, options.scoring);
  app.add_option("-f,--format", options.format,
                 "Output: text, json (an array of objects) or csv")
      ->default_val("text")
      ->check(CLI::IsMember({"text", "json", "csv"}));
  AddNoFoldOption(app, options.noFold);
  AddReadOptions(app, options.read);
}

void AddRecordRoleOptions(CLI::App& app, std::vector<std::string>& same,
                          std::vector<std::string>& also) {
  app.add_option("--same", same,
                 "Columns that must be equal (ignoring case, accents and "
                 "spacing; telephone numbers by their digits) for two rows "
                 "to be compared, such as City")
      ->type_name("COL[,COL...]")
      ->allow_extra_args(false);
  app.add_option("--also", also,
                 "Columns also scored by sound; a pair scores the least of "
                 "its name's and these columns' scores")
      ->type_name("COL[,COL...]")
      ->allow_extra_args(false);
}

MfOptions MakeMfOptions(const ListOptions& options) {
  MfOptions mfOptions = NewMfOptions();
  mf_options_set_accuracy(mfOptions.get(), options.accuracy);
  mf_options_set_threads(mfOptions.get(), static_cast<int>(options.threads));
  mf_options_set_whole_cell(mfOptions.get(), options.wholeCell ? 1 : 0);
  mf_options_set_scoring(mfOptions.get(), ScoringCode(options.scoring));
  return mfOptions;
}

int ReportNothingFound(const char* notice, const std::string& format) {
  const std::string line = std::string(notice) + "\n";
  if (format == "text") {
    WriteOutput(line);
  } else {
    std::fputs(line.c_str(), stderr);
  }
  return 1;
}

ListProgress::ListProgress(mf_options_t* mfOptions, std::size_t cells)
    : cells_(cells), bar_(stderr, cells, ShouldShowProgress(cells)) {
  mf_options_set_progress(mfOptions, &ListProgress::Report, this);
}

void ListProgress::Report(void* state, uint64_t done, uint64_t total) {
  auto* self = static_cast<ListProgress*>(state);
  if (total == 0) return;
  const double share = static_cast<double>(done) / static_cast<double>(total);
  self->bar_.Update(
      static_cast<std::size_t>(share * static_cast<double>(self->cells_)));
}

}  // namespace marrowfield
