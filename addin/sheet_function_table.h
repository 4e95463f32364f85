// The worksheet functions the add-in registers beside its commands, in the
// column order of Excel's REGISTER: the exported procedure for each of the
// two interfaces, the type texts, the name in formulas, the argument names,
// and the texts the Insert Function dialog shows.
//
// Type texts: Q (XLOPER12 value) and U (XLOPER12, references allowed) with
// '$', the thread-safe mark, for Excel12; P and R, their XLOPER forms, for
// Excel4, which cannot register thread-safe functions. The range argument
// takes references so that the add-in reads a range once, as values, with
// xlCoerce.

#ifndef MARROWFIELD_ADDIN_SHEET_FUNCTION_TABLE_H_
#define MARROWFIELD_ADDIN_SHEET_FUNCTION_TABLE_H_

#include <array>

namespace marrowfield {

enum class SheetFunctionId {
  kScore,
  kPhones,
  kCode,
  kBest,
  kMatches,
  kBestScore,
  kGroup
};

constexpr int kMaxSheetFunctionArguments = 4;

struct SheetFunctionRow {
  SheetFunctionId id;
  const char* procedure;    // exported, Excel4 form
  const char* procedure12;  // exported, Excel12 form
  const char* typeText;     // for Excel4
  const char* typeText12;   // for Excel12
  const char* functionText;
  const char* argumentText;
  const char* description;
  int argumentCount;
  int rangeArgument;  // 0-based index of the range argument; -1: none
  std::array<const char*, kMaxSheetFunctionArguments> argumentHelp;
};

// The category the functions appear under in the Insert Function dialog.
constexpr const char* kSheetFunctionCategory = "Marrowfield";
// REGISTER's macro type for a worksheet function shown to users.
constexpr double kWorksheetFunctionMacroType = 1;

// The help text of the optional scoring argument, the same for every
// function that takes it.
#define MARROWFIELD_SCORING_HELP(cells)                                        \
  "is \"strict\" (the default) or \"tolerant\", optionally followed by " cells \
  "; anything else is an error."

// inline: one table in the whole program, so that a row found in one file
// can be numbered by its distance from the table's start in another.
inline constexpr std::array<SheetFunctionRow, 7> SheetFunctionTable = {{
    {SheetFunctionId::kScore,
     "fMarrowfieldScore",
     "fMarrowfieldScore12",
     "PPPP",
     "QQQQ$",
     "MARROWFIELD.SCORE",
     "text1,text2,scoring",
     "How alike two texts sound, in percent (0-100).",
     3,
     -1,
     {"is the first name or word.", "is the second name or word.",
      MARROWFIELD_SCORING_HELP(
          "\"word-by-word\" to compare several-word texts word by word"),
      nullptr}},
    {SheetFunctionId::kPhones,
     "fMarrowfieldPhones",
     "fMarrowfieldPhones12",
     "PP",
     "QQ$",
     "MARROWFIELD.PHONES",
     "text",
     "The phones of a text, separated by spaces.",
     1,
     -1,
     {"is the name or word to transcribe.", nullptr, nullptr, nullptr}},
    {SheetFunctionId::kCode,
     "fMarrowfieldCode",
     "fMarrowfieldCode12",
     "PP",
     "QQ$",
     "MARROWFIELD.CODE",
     "text",
     "The consonant code of a text.",
     1,
     -1,
     {"is the name or word to code.", nullptr, nullptr, nullptr}},
    {SheetFunctionId::kBest,
     "fMarrowfieldBest",
     "fMarrowfieldBest12",
     "PPRPP",
     "QQUQQ$",
     "MARROWFIELD.BEST",
     "text,range,accuracy,scoring",
     "The text of the cell in a range that sounds most like a text.",
     4,
     1,
     {"is the name or word to look for.",
      "is the range of cells to look in; only text cells count.",
      "is the lowest score in percent that counts as a match (60 when "
      "left out).",
      MARROWFIELD_SCORING_HELP(
          "\"word-by-word\" to compare several-word cells word by word")}},
    {SheetFunctionId::kMatches,
     "fMarrowfieldMatches",
     "fMarrowfieldMatches12",
     "PPRPP",
     "QQUQQ$",
     "MARROWFIELD.MATCHES",
     "text,range,accuracy,scoring",
     "The texts of a range that sound like a text, best first, as a column.",
     4,
     1,
     {"is the name or word to look for.",
      "is the range of cells to look in; only text cells count.",
      "is the lowest score in percent that counts as a match (60 when "
      "left out).",
      MARROWFIELD_SCORING_HELP(
          "\"word-by-word\" to compare several-word cells word by word")}},
    {SheetFunctionId::kBestScore,
     "fMarrowfieldBestScore",
     "fMarrowfieldBestScore12",
     "PPRP",
     "QQUQ$",
     "MARROWFIELD.BESTSCORE",
     "text,range,scoring",
     "The best score in percent of any cell of a range against a text.",
     3,
     1,
     {"is the name or word to look for.",
      "is the range of cells to look in; only text cells count.",
      MARROWFIELD_SCORING_HELP(
          "\"word-by-word\" to compare several-word cells word by word"),
      nullptr}},
    {SheetFunctionId::kGroup,
     "fMarrowfieldGroup",
     "fMarrowfieldGroup12",
     "PRPP",
     "QUQQ$",
     "MARROWFIELD.GROUP",
     "range,accuracy,scoring",
     "For each cell of a range, the suggested spelling of the group of "
     "alike-sounding texts it belongs to, as an array of the range's shape.",
     3,
     0,
     {"is the range of cells to group; only text cells count.",
      "is the lowest score in percent that joins two texts (60 when left "
      "out).",
      MARROWFIELD_SCORING_HELP(
          "\"whole-cell\" to compare each cell as one word"),
      nullptr}},
}};

#undef MARROWFIELD_SCORING_HELP

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_SHEET_FUNCTION_TABLE_H_
