// The options that "dedupe" and "link" share, the --scoring option that
// every comparing command offers, and the progress bar of a pair finding.
#ifndef MARROWFIELD_CLI_LIST_OPTIONS_H_
#define MARROWFIELD_CLI_LIST_OPTIONS_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lists_library.h"
#include "progress_bar.h"
#include "spreadsheet_file.h"

namespace CLI {
class App;
}

namespace marrowfield {

// The lowest score reported unless --accuracy says otherwise: the level the
// search starts at, and the lowest the pair finding serves without
// comparing every pair.
constexpr int kDefaultListAccuracy = 60;

struct ListOptions {
  int accuracy = kDefaultListAccuracy;
  unsigned threads = 0;  // 0: every core
  bool wholeCell = false;
  std::string scoring = "strict";
  std::string format = "text";
  bool noFold = false;
  ReadOptions read;
};

// Adds "--scoring strict|tolerant" (default strict) to |app|.
void AddScoringOption(CLI::App& app, std::string& scoring);

// MF_SCORING_TOLERANT for "tolerant", MF_SCORING_STRICT otherwise.
int ScoringCode(const std::string& scoring);

// Adds --accuracy, --threads, --whole-cell, --scoring, --format, --no-fold
// and the options of reading files (--sheet, --all-sheets, --delimiter,
// --strict, --input-format).
void AddListOptions(CLI::App& app, ListOptions& options);

// Adds --same and --also, the roles a column can have beside the name's
// when "dedupe" or "link" compares rows.
void AddRecordRoleOptions(CLI::App& app, std::vector<std::string>& same,
                          std::vector<std::string>& also);

// Returns library options holding |options|.
MfOptions MakeMfOptions(const ListOptions& options);

// Ends a list command that found nothing: the notice goes to standard
// output in text format and to standard error in the machine formats,
// which keep their output parseable. Returns exit status 1.
int ReportNothingFound(const char* notice, const std::string& format);

// Draws the library's progress reports on the search's bar, scaled to the
// |cells| read, when the run is long and standard error is a terminal.
class ListProgress {
 public:
  // Reports of |mfOptions| go to this object, which must outlive their use.
  ListProgress(mf_options_t* mfOptions, std::size_t cells);
  ListProgress(const ListProgress&) = delete;
  ListProgress& operator=(const ListProgress&) = delete;

 private:
  static void Report(void* state, uint64_t done, uint64_t total);

  std::size_t cells_;
  ProgressBar bar_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_LIST_OPTIONS_H_
