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

// What a function gives back to the cell.
struct SheetAnswer {
  enum class Kind { kNumber, kText, kError, kColumn };
  Kind kind = Kind::kError;
  double number = 0;
  std::string text;
  std::vector<std::string> column;  // kColumn: a vertical array
  int32_t error = 0;

  static SheetAnswer Number(double number);
  static SheetAnswer Text(std::string text);
  static SheetAnswer Error(int32_t error);
  static SheetAnswer Column(std::vector<std::string> texts);
};

// The accuracy BEST and MATCHES use when none is given.
constexpr double kDefaultAccuracy = 60;

// MARROWFIELD.SCORE: compare_words(text1, text2); #VALUE! when either
// text has no letter.
SheetAnswer SheetScore(const SheetArgument& text1, const SheetArgument& text2,
                       TextFolding folding);

// MARROWFIELD.PHONES: the phones of |text|, separated by single spaces.
SheetAnswer SheetPhones(const SheetArgument& text, TextFolding folding);

// MARROWFIELD.CODE: the consonant code of |text|.
SheetAnswer SheetCode(const SheetArgument& text, TextFolding folding);

// MARROWFIELD.BEST: the text of the best-sounding cell (the first in
// reading order among equals); #N/A when none reaches |accuracy|.
SheetAnswer SheetBest(const SheetArgument& text, const SheetRange& range,
                      const SheetArgument& accuracy, TextFolding folding);

// MARROWFIELD.MATCHES: every distinct cell text reaching |accuracy|, best
// first, equals in reading order, as a column; #N/A when none.
SheetAnswer SheetMatches(const SheetArgument& text, const SheetRange& range,
                         const SheetArgument& accuracy, TextFolding folding);

// MARROWFIELD.BESTSCORE: the best score in |range|; #N/A for a range
// without text cells.
SheetAnswer SheetBestScore(const SheetArgument& text, const SheetRange& range,
                           TextFolding folding);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_SHEET_FUNCTION_CORE_H_
