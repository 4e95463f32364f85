// The scoring a worksheet function asks for with its optional last
// argument, and the scorer that gives it. A formula written before the
// argument existed gets compare_words on the whole cell, exactly as the
// search dialog scores; any other choice is scored by the product
// library, word by word as the command line's list commands score unless
// whole cells are asked for.

#ifndef MARROWFIELD_ADDIN_SHEET_SCORING_H_
#define MARROWFIELD_ADDIN_SHEET_SCORING_H_

#include <cstdint>
#include <memory>
#include <string>

#include "marrowfield/cell_scorer.h"
#include "marrowfield/text_folding.h"
#include "marrowfield_api.h"

namespace marrowfield {

struct SheetScoring {
  int mode = MF_SCORING_STRICT;  // an MF_SCORING_ value
  bool wholeCell = true;
};

// Reads the text of a scoring argument: space-separated words, in any
// case, at most one of "strict" and "tolerant" (the mode) and at most one
// of "whole-cell" and "word-by-word"; what is not named keeps its value
// in |defaults| (an empty text names nothing). Returns false, leaving
// |scoring| alone, for any other text.
bool ParseSheetScoring(const std::string& text, SheetScoring defaults,
                       SheetScoring* scoring);

// Owns product library options; null only when memory ran out.
struct MfOptionsDeleter {
  void operator()(mf_options_t* options) const { mf_options_destroy(options); }
};
using SheetMfOptions = std::unique_ptr<mf_options_t, MfOptionsDeleter>;

// Options for |scoring| on texts already folded, scored on the calling
// thread: Excel's calculation threads are the parallelism. Throws
// std::bad_alloc when memory runs out.
SheetMfOptions MakeSheetMfOptions(const SheetScoring& scoring);

// A scorer of cell texts against |searchText| under |scoring|, both
// folded to ASCII first as |folding| says. Strict whole-cell scoring is
// CompareWordsScorer itself.
std::unique_ptr<CellScorer> MakeSheetScorer(const std::string& searchText,
                                            const SheetScoring& scoring,
                                            TextFolding folding);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_SHEET_SCORING_H_
