// Scoring choices of the worksheet functions. The product library scores
// every choice but the old one, so that a formula and the command line
// give a pair the same score in the same mode.

#include "sheet_scoring.h"

#include <new>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace marrowfield {
namespace {

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// mf_compare under options fixed when the scorer is made.
class LibraryScorer final : public CellScorer {
 public:
  LibraryScorer(std::string searchText, const SheetScoring& scoring,
                TextFolding folding)
      : folding_(folding),
        searchText_(FoldToAscii(searchText, folding)),
        options_(MakeSheetMfOptions(scoring)) {}

  int32_t Score(const std::string& cellText) override {
    int score = 0;
    const std::string cell = FoldToAscii(cellText, folding_);
    const int status = mf_compare(options_.get(), searchText_.c_str(),
                                  cell.c_str(), &score, nullptr);
    if (status == MF_OUT_OF_MEMORY) throw std::bad_alloc();
    // The entries turn this into #VALUE! rather than a wrong score.
    if (status != MF_OK) throw std::runtime_error("mf_compare failed");
    return score;
  }

 private:
  TextFolding folding_;
  std::string searchText_;  // folded
  SheetMfOptions options_;
};

}  // namespace

bool ParseSheetScoring(const std::string& text, SheetScoring defaults,
                       SheetScoring* scoring) {
  std::istringstream words(AsciiLower(text));
  bool modeNamed = false;
  bool cellsNamed = false;
  SheetScoring read = defaults;
  std::string word;
  while (words >> word) {
    if (word == "strict" || word == "tolerant") {
      if (modeNamed) return false;
      modeNamed = true;
      read.mode = word == "strict" ? MF_SCORING_STRICT : MF_SCORING_TOLERANT;
    } else if (word == "whole-cell" || word == "word-by-word") {
      if (cellsNamed) return false;
      cellsNamed = true;
      read.wholeCell = word == "whole-cell";
    } else {
      return false;
    }
  }
  *scoring = read;
  return true;
}

SheetMfOptions MakeSheetMfOptions(const SheetScoring& scoring) {
  SheetMfOptions options(mf_options_create());
  if (!options) throw std::bad_alloc();
  mf_options_set_scoring(options.get(), scoring.mode);
  mf_options_set_whole_cell(options.get(), scoring.wholeCell ? 1 : 0);
  mf_options_set_threads(options.get(), 1);
  return options;
}

std::unique_ptr<CellScorer> MakeSheetScorer(const std::string& searchText,
                                            const SheetScoring& scoring,
                                            TextFolding folding) {
  if (scoring.mode == MF_SCORING_STRICT && scoring.wholeCell) {
    return std::make_unique<CompareWordsScorer>(searchText, folding);
  }
  return std::make_unique<LibraryScorer>(searchText, scoring, folding);
}

}  // namespace marrowfield
