// The worksheet functions' own logic, free of Excel's value records: each
// takes its arguments as Excel handed them over (already read into
// SheetArgument and SheetRange) and says what the cell should show. The
// Excel4 and Excel12 shells read and write the records around it, so both
// interfaces answer alike and tests can check the logic on its own.

#ifndef MARROWFIELD_ADDIN_SHEET_FUNCTION_CORE_H_
#define MARROWFIELD_ADDIN_SHEET_FUNCTION_CORE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "marrowfield/text_folding.h"
#include "sheet_scoring.h"

namespace marrowfield {

// One argument as Excel passed it. Texts are UTF-8 (from Excel12) or
// Windows-1252 (Excel4's ANSI); each function is told which, and folds the
// texts it scores to ASCII from that encoding, as the sheet search does,
// so that José sounds like Jose. Texts it gives back are never folded.
struct SheetArgument {
  enum class Kind {
    kMissing,
    kEmpty,
    kText,
    kNumber,
    kBoolean,
    kError,
    kArray
  };
  Kind kind = Kind::kMissing;
  std::string text;
  double number = 0;
  int32_t error = 0;  // an xlerr code
};

// The text cells of a range argument in reading order (rows outer); every
// other cell (number, boolean, error, empty, empty text) is left out.
// |error| is an xlerr code when the range could not be read at all.
struct SheetRange {
  std::vector<std::string> texts;
  int32_t error = -1;  // -1: read
};

// Every cell of a range argument with its shape, for a function whose
// answer has that shape: |cells| holds rows * columns texts, rows outer,
// "" for each cell that is not a text (number, boolean, error, empty).
// |error| is an xlerr code when the range could not be read at all.
struct SheetGrid {
  std::size_t rows = 0;
  std::size_t columns = 0;
  std::vector<std::string> cells;
  int32_t error = -1;  // -1: read
};

// What a function gives back to the cell.
struct SheetAnswer {
  enum class Kind { kNumber, kText, kError, kColumn, kGrid };
  Kind kind = Kind::kError;
  double number = 0;
  std::string text;
  // kColumn: a vertical array; kGrid: |columns| texts a row, rows outer.
  std::vector<std::string> column;
  std::size_t columns = 1;
  int32_t error = 0;

  static SheetAnswer Number(double number);
  static SheetAnswer Text(std::string text);
  static SheetAnswer Error(int32_t error);
  static SheetAnswer Column(std::vector<std::string> texts);
  // REQUIRES: columns > 0 and texts.size() a multiple of it.
  static SheetAnswer Grid(std::vector<std::string> texts, std::size_t columns);
};

// The accuracy BEST, MATCHES and GROUP use when none is given.
constexpr double kDefaultAccuracy = 60;

// Every |scoring| below is the optional last argument (ParseSheetScoring):
// missing, an empty cell or an empty text keeps the function's default;
// another text it cannot read, or a value of another kind, gives #VALUE!;
// an error is passed on.

// MARROWFIELD.SCORE: compare_words(text1, text2) by default, else the
// product library's score under |scoring|; #VALUE! when either text has no
// letter.
SheetAnswer SheetScore(const SheetArgument& text1, const SheetArgument& text2,
                       const SheetArgument& scoring, TextFolding folding);

// MARROWFIELD.PHONES: the phones of |text|, separated by single spaces.
SheetAnswer SheetPhones(const SheetArgument& text, TextFolding folding);

// MARROWFIELD.CODE: the consonant code of |text|.
SheetAnswer SheetCode(const SheetArgument& text, TextFolding folding);

// MARROWFIELD.BEST: the text of the best-sounding cell (the first in
// reading order among equals); #N/A when none reaches |accuracy|.
SheetAnswer SheetBest(const SheetArgument& text, const SheetRange& range,
                      const SheetArgument& accuracy,
                      const SheetArgument& scoring, TextFolding folding);

// MARROWFIELD.MATCHES: every distinct cell text reaching |accuracy|, best
// first, equals in reading order, as a column; #N/A when none.
SheetAnswer SheetMatches(const SheetArgument& text, const SheetRange& range,
                         const SheetArgument& accuracy,
                         const SheetArgument& scoring, TextFolding folding);

// MARROWFIELD.BESTSCORE: the best score in |range|; #N/A for a range
// without text cells.
SheetAnswer SheetBestScore(const SheetArgument& text, const SheetRange& range,
                           const SheetArgument& scoring, TextFolding folding);

// MARROWFIELD.GROUP: for each cell of |range|, the suggested spelling of
// the group its text falls in, from one mf_dedupe of the range's distinct
// texts (each with how often it occurs, in order of first appearance, as
// "marrowfield dedupe" gives them) at |accuracy|; a text in no group shows
// itself, every other cell "". Word by word unless |scoring| asks for
// whole cells, as the command line's dedupe scores. The answer has the
// range's shape.
SheetAnswer SheetGroup(const SheetGrid& range, const SheetArgument& accuracy,
                       const SheetArgument& scoring, TextFolding folding);

// Shared by the functions' files: the accuracy argument (the default when
// missing or empty, #NUM! outside 0-100) and the scoring argument over
// |defaults|. Each returns false with the error to show in |failure|.
bool ReadSheetAccuracy(const SheetArgument& argument, double* accuracy,
                       SheetAnswer* failure);
bool ReadSheetScoring(const SheetArgument& argument, SheetScoring defaults,
                      SheetScoring* scoring, SheetAnswer* failure);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_SHEET_FUNCTION_CORE_H_
