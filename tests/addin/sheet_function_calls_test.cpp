// The worksheet functions called as Excel calls them, through the entries
// the add-in registered, with texts, references into the fake host's
// sheet, arrays and bad arguments; each result is given back with
// xlAutoFree12 (or xlAutoFree) and every allocation on both sides is
// counted. Expected scores come from compare_words itself.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addin_driver.h"
#include "fake_xlcall32.h"
#include "marrowfield.h"
#include "marrowfield/text_folding.h"
#include "sheet_function_rig.h"
#include "sheet_function_values.h"
#include "xloper.h"

namespace marrowfield {
namespace {

std::string Num(int score) { return "num:" + std::to_string(score); }

class SheetFunctionCalls : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    driver_ = MakeAddinDriver();
    fake_xl_set_addin_path(driver_->AddinPath().c_str());
    driver_->AutoOpen();
    // Column A: names with repeats, a number, a boolean, an error and an
    // empty cell in between.
    fake_xl_set_cell_text(1, 0, 0, "Smyth");
    fake_xl_set_cell_number(1, 1, 0, 42);
    fake_xl_set_cell_text(1, 2, 0, "Jones");
    fake_xl_set_cell_boolean(1, 3, 0, 1);
    fake_xl_set_cell_error(1, 4, 0, xlerrNA);
    fake_xl_set_cell_text(1, 6, 0, "Smith");
    fake_xl_set_cell_text(1, 7, 0, "Smyth");
    fake_xl_set_cell_text(1, 8, 0, "");
  }
  void TearDown() override {
    driver_->AutoClose();
    driver_.reset();
    // Every result went back through xlAutoFree12/xlAutoFree, and every
    // value Excel handed out went back through xlFree.
    EXPECT_EQ(OutstandingSheetResults<XLOPER12>(), 0u);
    EXPECT_EQ(OutstandingSheetResults<XLOPER>(), 0u);
    EXPECT_EQ(fake_xl_outstanding_values(), 0);
    EXPECT_EQ(fake_xl_bad_frees(), 0);
  }

  WideArguments args_;
  std::unique_ptr<AddinDriver> driver_;
};

TEST_F(SheetFunctionCalls, Score_IsCompareWords) {
  for (const auto& [a, b] : std::vector<std::pair<const char*, const char*>>{
           {"Smith", "Smyth"}, {"Catherine", "Kathryn"}, {"Jones", "Smith"}}) {
    EXPECT_EQ(
        CallWide("fMarrowfieldScore12", {args_.Utf8Text(a), args_.Utf8Text(b)}),
        Num(compare_words(a, b)))
        << a << " " << b;
  }
}

TEST_F(SheetFunctionCalls, PhonesAndCode_AreTheEngines) {
  ResultIterator* phones = get_phonemes("Smith", MODE_LEXICON);
  std::string joined;
  for (int i = 0; i < get_result_size(phones); ++i) {
    joined += (i ? " " : "") + std::string(get_result_item(phones, i));
  }
  close_result_iterator(phones);
  char code[64] = {};
  get_codes_for_word("Smith", code, sizeof code);

  EXPECT_EQ(CallWide("fMarrowfieldPhones12", {args_.Utf8Text("Smith")}),
            "str:" + joined);
  EXPECT_EQ(CallWide("fMarrowfieldCode12", {args_.Utf8Text("Smith")}),
            std::string("str:") + code);
}

TEST_F(SheetFunctionCalls, Best_ReadsReferenceOnce_SkipsNonText_FirstOfEquals) {
  // Smyth comes before Smith in reading order; both may score alike.
  const int smyth = compare_words("Smith", "Smyth");
  const int smith = compare_words("Smith", "Smith");
  const std::string best = smith > smyth ? "Smith" : "Smyth";

  EXPECT_EQ(
      CallWide("fMarrowfieldBest12", {args_.Utf8Text("Smith"),
                                      args_.Area(0, 9, 0, 0), args_.Missing()}),
      "str:" + best);
  EXPECT_EQ(CallWide("fMarrowfieldBestScore12",
                     {args_.Utf8Text("Smith"), args_.Area(0, 9, 0, 0)}),
            Num(std::max(smith, smyth)));
}

TEST_F(SheetFunctionCalls, Best_EqualScores_FirstInReadingOrder) {
  EXPECT_EQ(CallWide("fMarrowfieldBest12",
                     {args_.Utf8Text("Jones"),
                      args_.Row({"Jonez", "Jones", "Jones"}), args_.Number(0)}),
            compare_words("Jones", "Jonez") >= 100 ? "str:Jonez" : "str:Jones");
  // Two equal texts: the earlier cell, whose text is the same.
  EXPECT_EQ(CallWide("fMarrowfieldBest12",
                     {args_.Utf8Text("Smith"), args_.Row({"Smith", "Smith"}),
                      args_.Missing()}),
            "str:Smith");
}

TEST_F(SheetFunctionCalls, Matches_DistinctTextsBestFirst_AsColumn) {
  const std::string result = CallWide(
      "fMarrowfieldMatches12",
      {args_.Utf8Text("Smith"), args_.Area(0, 9, 0, 0), args_.Number(0)});
  // Three distinct texts in the column: Smyth, Jones, Smith.
  std::vector<std::pair<int, std::string>> scored = {
      {compare_words("Smith", "Smyth"), "Smyth"},
      {compare_words("Smith", "Jones"), "Jones"},
      {compare_words("Smith", "Smith"), "Smith"}};
  std::stable_sort(
      scored.begin(), scored.end(),
      [](const auto& a, const auto& b) { return a.first > b.first; });
  std::string expected = "multi:3x1[";
  for (std::size_t i = 0; i < scored.size(); ++i) {
    expected += (i ? "|str:" : "str:") + scored[i].second;
  }
  EXPECT_EQ(result, expected + "]");
}

struct BadCase {
  const char* label;
  const char* procedure;
  int argument;  // which argument is replaced
  enum Kind {
    kMissing,
    kNil,
    kNumber,
    kNoLetters,
    kError,
    kAccuracy,
    kClosedSheet,
    kBoolean,
    kUnlike
  } kind;
  double number;
  std::string expected;
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.label; }

class SheetFunctionBadArguments
    : public SheetFunctionCalls,
      public ::testing::WithParamInterface<BadCase> {};

TEST_P(SheetFunctionBadArguments, GiveTheErrorAUserExpects) {
  const BadCase& c = GetParam();
  fake_xl_set_cell_text(2, 0, 0, "Smith");
  fake_xl_set_sheet_closed(2, 1);
  std::vector<XLOPER12*> args = {args_.Utf8Text("Smith"),
                                 args_.Area(0, 9, 0, 0), args_.Number(50)};
  if (std::string(c.procedure) == "fMarrowfieldScore12") {
    args[1] = args_.Utf8Text("Smyth");
  }
  XLOPER12* replacement = nullptr;
  switch (c.kind) {
    case BadCase::kMissing:
      replacement = args_.Missing();
      break;
    case BadCase::kNil:
      replacement = args_.Nil();
      break;
    case BadCase::kNumber:
      replacement = args_.Number(c.number);
      break;
    case BadCase::kNoLetters:
      replacement = args_.Utf8Text("12-34 !");
      break;
    case BadCase::kError:
      replacement = args_.Error(static_cast<int32_t>(c.number));
      break;
    case BadCase::kAccuracy:
      replacement = args_.Number(c.number);
      break;
    case BadCase::kClosedSheet:
      replacement = args_.SheetArea(2, 0, 0, 0, 0);
      break;
    case BadCase::kBoolean:
      replacement = args_.Boolean(true);
      break;
    case BadCase::kUnlike:
      replacement = args_.Utf8Text("Xylophone");
      break;
  }
  args[static_cast<std::size_t>(c.argument)] = replacement;
  const std::string procedure = c.procedure;
  std::size_t taken = 3;
  if (procedure == "fMarrowfieldScore12" ||
      procedure == "fMarrowfieldBestScore12") {
    taken = 2;
  } else if (procedure == "fMarrowfieldPhones12" ||
             procedure == "fMarrowfieldCode12") {
    taken = 1;
  }
  args.resize(taken);

  EXPECT_EQ(CallWide(c.procedure, args), c.expected);
}

const std::string kValue = "err:15";
const std::string kNA = "err:42";
const std::string kNum = "err:36";

INSTANTIATE_TEST_SUITE_P(
    Cases, SheetFunctionBadArguments,
    ::testing::Values(BadCase{"ScoreMissingText", "fMarrowfieldScore12", 0,
                              BadCase::kMissing, 0, kValue},
                      BadCase{"ScoreEmptyCell", "fMarrowfieldScore12", 1,
                              BadCase::kNil, 0, kValue},
                      BadCase{"ScoreNumber", "fMarrowfieldScore12", 1,
                              BadCase::kNumber, 7, kValue},
                      BadCase{"ScoreNoLetters", "fMarrowfieldScore12", 0,
                              BadCase::kNoLetters, 0, kValue},
                      BadCase{"ScoreErrorPassedOn", "fMarrowfieldScore12", 1,
                              BadCase::kError, 42, kNA},
                      BadCase{"BestNoLetters", "fMarrowfieldBest12", 0,
                              BadCase::kNoLetters, 0, kValue},
                      BadCase{"BestErrorText", "fMarrowfieldBest12", 0,
                              BadCase::kError, 7, "err:7"},
                      BadCase{"BestAccuracyAbove100", "fMarrowfieldBest12", 2,
                              BadCase::kAccuracy, 100.5, kNum},
                      BadCase{"BestAccuracyNegative", "fMarrowfieldBest12", 2,
                              BadCase::kAccuracy, -1, kNum},
                      BadCase{"BestAccuracyBoolean", "fMarrowfieldBest12", 2,
                              BadCase::kBoolean, 0, kValue},
                      BadCase{"BestAccuracyError", "fMarrowfieldBest12", 2,
                              BadCase::kError, 23, "err:23"},
                      BadCase{"BestClosedWorkbook", "fMarrowfieldBest12", 1,
                              BadCase::kClosedSheet, 0, kValue},
                      BadCase{"BestRangeError", "fMarrowfieldBest12", 1,
                              BadCase::kError, 23, "err:23"},
                      BadCase{"BestRangeMissing", "fMarrowfieldBest12", 1,
                              BadCase::kMissing, 0, kValue},
                      BadCase{"BestNumberRange", "fMarrowfieldBest12", 1,
                              BadCase::kNumber, 3, kNA},
                      BadCase{"BestNoneReachesAccuracy", "fMarrowfieldBest12",
                              0, BadCase::kUnlike, 0, kNA},
                      BadCase{"MatchesClosedWorkbook", "fMarrowfieldMatches12",
                              1, BadCase::kClosedSheet, 0, kValue},
                      BadCase{"MatchesAccuracy101", "fMarrowfieldMatches12", 2,
                              BadCase::kAccuracy, 101, kNum},
                      BadCase{"BestScoreEmptyRange", "fMarrowfieldBestScore12",
                              1, BadCase::kNil, 0, kNA},
                      BadCase{"PhonesMissing", "fMarrowfieldPhones12", 0,
                              BadCase::kMissing, 0, kValue},
                      BadCase{"CodeError", "fMarrowfieldCode12", 0,
                              BadCase::kError, 7, "err:7"}));

TEST_F(SheetFunctionCalls, MillionCellColumn_ReadOnceAndGivenBack) {
  // A whole column of the grid, mostly empty, with the names far down.
  fake_xl_set_cell_text(1, 999998, 3, "Smyth");
  fake_xl_set_cell_text(1, 1048575, 3, "Smith");
  const int before = fake_xl_call12_count();

  EXPECT_EQ(CallWide("fMarrowfieldMatches12",
                     {args_.Utf8Text("Smith"), args_.Area(0, 1048575, 3, 3),
                      args_.Number(0)}),
            compare_words("Smith", "Smith") >= compare_words("Smith", "Smyth")
                ? "multi:2x1[str:Smith|str:Smyth]"
                : "multi:2x1[str:Smyth|str:Smith]");
  // One xlCoerce for the range and one xlFree of what it handed out.
  EXPECT_EQ(fake_xl_call12_count() - before, 2);
}

TEST_F(SheetFunctionCalls, LongWideText_ReachesTheEngineWhole) {
  // Letters only at the very end of a 32 767-character text: cut anywhere,
  // the text would have no letter left and the answer would be #VALUE!.
  std::u16string text(32767 - 5, u'-');
  text += u"Smith";
  const std::string utf8(text.begin(), text.end());

  EXPECT_EQ(CallWide("fMarrowfieldScore12",
                     {args_.Text(text), args_.Utf8Text("Smith")}),
            Num(compare_words(utf8.c_str(), "Smith")));
}

TEST_F(SheetFunctionCalls, NonAsciiText_FoldedForScoring_GivenBackUnchanged) {
  const std::u16string mueller = u"M\u00fcller \U0001F600";
  // Scored as the sheet search scores it: the UTF-8 folded to ASCII, the
  // umlaut's base letter kept.
  const std::string utf8 = "M\xc3\xbcller \xf0\x9f\x98\x80";
  const std::string folded = FoldToAscii(utf8, TextFolding::kUtf8);
  ASSERT_EQ(folded.substr(0, 6), "Muller");

  EXPECT_EQ(CallWide("fMarrowfieldScore12",
                     {args_.Text(mueller), args_.Utf8Text("Miller")}),
            Num(compare_words(folded.c_str(), "Miller")));
  EXPECT_EQ(
      CallWide("fMarrowfieldBest12",
               {args_.Utf8Text("Muller"), args_.Row({utf8}), args_.Number(0)}),
      "str:" + utf8);
}

#ifndef _WIN32
TEST_F(SheetFunctionCalls, Excel4Entries_ReadReferencesAndAnswerAlike) {
  NarrowArguments narrow;
  // Excel4 texts are ANSI: "Jos\xe9" is José in Windows-1252.
  EXPECT_EQ(CallNarrow("fMarrowfieldScore",
                       {narrow.Text("Jos\xe9"), narrow.Text("Jose")}),
            Num(compare_words("Jose", "Jose")));
  EXPECT_EQ(CallNarrow("fMarrowfieldScore",
                       {narrow.Text("Smith"), narrow.Text("Smyth")}),
            Num(compare_words("Smith", "Smyth")));
  const std::string wide = CallWide(
      "fMarrowfieldMatches12",
      {args_.Utf8Text("Smith"), args_.Area(0, 9, 0, 0), args_.Number(0)});
  fake_xl_offer_excel12(0);
  EXPECT_EQ(CallNarrow("fMarrowfieldMatches",
                       {narrow.Text("Smith"), narrow.Area(0, 9, 0, 0),
                        narrow.Number(0)}),
            wide);
  EXPECT_EQ(CallNarrow("fMarrowfieldBest",
                       {narrow.Text("Smith"), narrow.Area(0, 9, 0, 0),
                        narrow.Number(101)}),
            kNum);
}
#endif

}  // namespace
}  // namespace marrowfield
