// MARROWFIELD.GROUP and the scoring argument, called as Excel calls them.
// What the answers must be comes from the product library itself
// (mf_compare under the same options) and from GROUP's contract: the most
// frequent spelling names its group, a text in no group shows itself, and
// every cell that holds no text shows "".

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "addin_driver.h"
#include "fake_xlcall32.h"
#include "marrowfield.h"
#include "marrowfield_api.h"
#include "sheet_function_rig.h"
#include "sheet_function_values.h"
#include "sheet_group_reader.h"
#include "xloper.h"

namespace marrowfield {
namespace {

std::string Num(int score) { return "num:" + std::to_string(score); }
std::string Err(int error) { return "err:" + std::to_string(error); }

// The library's score of |a| against |b| in |mode|, whole cells or word by
// word.
int LibraryScore(const std::string& a, const std::string& b, int mode,
                 bool wholeCell) {
  mf_options_t* options = mf_options_create();
  mf_options_set_scoring(options, mode);
  mf_options_set_whole_cell(options, wholeCell ? 1 : 0);
  int score = -1;
  EXPECT_EQ(mf_compare(options, a.c_str(), b.c_str(), &score, nullptr), MF_OK);
  mf_options_destroy(options);
  return score;
}

class SheetGroup : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_xl_reset();
    driver_ = MakeAddinDriver();
    fake_xl_set_addin_path(driver_->AddinPath().c_str());
    driver_->AutoOpen();
  }
  void TearDown() override {
    driver_->AutoClose();
    driver_.reset();
    EXPECT_EQ(OutstandingSheetResults<XLOPER12>(), 0u);
    EXPECT_EQ(OutstandingSheetResults<XLOPER>(), 0u);
    EXPECT_EQ(fake_xl_outstanding_values(), 0);
    EXPECT_EQ(fake_xl_bad_frees(), 0);
  }

  WideArguments args_;
  std::unique_ptr<AddinDriver> driver_;
};

TEST_F(SheetGroup, Reference_AnswerHasRangeShape_NonTextCellsEmpty) {
  ASSERT_GE(LibraryScore("Smith", "Smyth", MF_SCORING_STRICT, false), 60);
  ASSERT_LT(LibraryScore("Smith", "Jones", MF_SCORING_STRICT, false), 60);
  // Column A: Smith twice, Smyth once, so Smith names the group; column B:
  // a number, a boolean, an error, an empty text; row 4 is empty.
  fake_xl_set_cell_text(1, 0, 0, "Smyth");
  fake_xl_set_cell_text(1, 1, 0, "Smith");
  fake_xl_set_cell_text(1, 2, 0, "Smith");
  fake_xl_set_cell_text(1, 4, 0, "Jones");
  fake_xl_set_cell_number(1, 0, 1, 42);
  fake_xl_set_cell_boolean(1, 1, 1, 1);
  fake_xl_set_cell_error(1, 2, 1, xlerrNA);
  fake_xl_set_cell_text(1, 4, 1, "");

  const GroupAnswer answer =
      CallGroup(args_.Area(0, 4, 0, 1), args_.Missing(), args_.Missing());
  ASSERT_EQ(answer.error, -1);
  EXPECT_EQ(answer.rows, 5);
  EXPECT_EQ(answer.columns, 2);
  EXPECT_EQ(answer.cells,
            (std::vector<std::string>{"Smith", "", "Smith", "", "Smith", "", "",
                                      "", "Jones", ""}));
}

TEST_F(SheetGroup, Arrays_AccuracyDecidesWhoJoins) {
  const int score =
      LibraryScore("Catherine", "Kathryn", MF_SCORING_STRICT, false);
  ASSERT_GT(score, 0);
  ASSERT_LT(score, 100);
  const std::vector<std::string> names = {"Kathryn", "Catherine", "Catherine"};
  const std::vector<std::string> joined = {"Catherine", "Catherine",
                                           "Catherine"};
  // At exactly its score the pair joins; a hair above, it does not (scores
  // are whole percents, so 0.5 more means the next one up).
  EXPECT_EQ(
      CallGroup(args_.Row(names), args_.Number(score), args_.Missing()).cells,
      joined);
  EXPECT_EQ(
      CallGroup(args_.Row(names), args_.Number(score - 0.5), args_.Missing())
          .cells,
      joined);
  EXPECT_EQ(
      CallGroup(args_.Row(names), args_.Number(score + 0.5), args_.Missing())
          .cells,
      names);
}

TEST_F(SheetGroup, SeveralWordCells_WordByWordUnlessWholeCell) {
  const std::string a = "Smith, John";
  const std::string b = "John Smith";
  ASSERT_GE(LibraryScore(a, b, MF_SCORING_STRICT, false), 60);
  ASSERT_LT(LibraryScore(a, b, MF_SCORING_STRICT, true), 60);
  const std::vector<std::string> cells = {a, b, b};
  EXPECT_EQ(CallGroup(args_.Row(cells), args_.Missing(), args_.Missing()).cells,
            (std::vector<std::string>{b, b, b}));
  EXPECT_EQ(
      CallGroup(args_.Row(cells), args_.Missing(), args_.Utf8Text("strict"))
          .cells,
      (std::vector<std::string>{b, b, b}));
  EXPECT_EQ(
      CallGroup(args_.Row(cells), args_.Missing(), args_.Utf8Text("Whole-Cell"))
          .cells,
      cells);
}

TEST_F(SheetGroup, SingleValues_AreGridsOfOneCell) {
  const GroupAnswer text =
      CallGroup(args_.Utf8Text("José"), args_.Missing(), args_.Missing());
  EXPECT_EQ(text.rows, 1);
  EXPECT_EQ(text.columns, 1);
  EXPECT_EQ(text.cells, std::vector<std::string>{"José"});
  EXPECT_EQ(CallGroup(args_.Number(7), args_.Missing(), args_.Missing()).cells,
            std::vector<std::string>{""});
}

TEST_F(SheetGroup, FoldedForScoring_AnswersUnfolded) {
  // José folds to Jose for scoring, so the two group; the answer is the
  // more frequent spelling exactly as the cells hold it.
  EXPECT_EQ(CallGroup(args_.Row({"Jose", "José", "José"}), args_.Missing(),
                      args_.Missing())
                .cells,
            (std::vector<std::string>{"José", "José", "José"}));
}

struct GroupBadCase {
  const char* label;
  int argument;  // 0 range, 1 accuracy, 2 scoring
  enum Kind { kMissing, kNumber, kText, kBoolean, kError } kind;
  double number;
  const char* text;
  int error;  // the error shown
};

TEST_F(SheetGroup, BadArguments_ShowOneError) {
  const std::vector<GroupBadCase> cases = {
      {"range left out", 0, GroupBadCase::kMissing, 0, "", xlerrValue},
      {"range an error", 0, GroupBadCase::kError, 0, "", xlerrNA},
      {"accuracy above 100", 1, GroupBadCase::kNumber, 101, "", xlerrNum},
      {"accuracy below 0", 1, GroupBadCase::kNumber, -1, "", xlerrNum},
      {"accuracy a text", 1, GroupBadCase::kText, 0, "high", xlerrValue},
      {"accuracy an error", 1, GroupBadCase::kError, 0, "", xlerrNA},
      {"scoring unknown", 2, GroupBadCase::kText, 0, "fuzzy", xlerrValue},
      {"scoring twice", 2, GroupBadCase::kText, 0, "strict tolerant",
       xlerrValue},
      {"cells twice", 2, GroupBadCase::kText, 0, "whole-cell word-by-word",
       xlerrValue},
      {"scoring a number", 2, GroupBadCase::kNumber, 1, "", xlerrValue},
      {"scoring a boolean", 2, GroupBadCase::kBoolean, 0, "", xlerrValue},
      {"scoring an error", 2, GroupBadCase::kError, 0, "", xlerrNA},
  };
  for (const GroupBadCase& c : cases) {
    std::vector<XLOPER12*> call = {args_.Row({"Smith", "Smyth"}),
                                   args_.Missing(), args_.Missing()};
    XLOPER12*& replaced = call[static_cast<std::size_t>(c.argument)];
    switch (c.kind) {
      case GroupBadCase::kMissing:
        replaced = args_.Missing();
        break;
      case GroupBadCase::kNumber:
        replaced = args_.Number(c.number);
        break;
      case GroupBadCase::kText:
        replaced = args_.Utf8Text(c.text);
        break;
      case GroupBadCase::kBoolean:
        replaced = args_.Boolean(true);
        break;
      case GroupBadCase::kError:
        replaced = args_.Error(xlerrNA);
        break;
    }
    EXPECT_EQ(CallWide("fMarrowfieldGroup12", call), Err(c.error)) << c.label;
  }
}

TEST_F(SheetGroup, Excel4EntryAgreesWithExcel12) {
  const std::vector<std::string> names = {"Smyth", "Jones",  "Smith", "Johns",
                                          "Smith", "Miller", "Muller"};
  FillColumn(0, names);
  NarrowArguments narrow;
  for (const char* scoring : {"strict", "tolerant", "whole-cell"}) {
    EXPECT_EQ(CallNarrow("fMarrowfieldGroup",
                         {narrow.Area(0, 6, 0, 0), narrow.Number(70),
                          narrow.Text(scoring)}),
              CallWide("fMarrowfieldGroup12",
                       {args_.Area(0, 6, 0, 0), args_.Number(70),
                        args_.Utf8Text(scoring)}))
        << scoring;
  }
}

// The scoring argument of the other functions.

struct ScoringCase {
  const char* scoring;  // null: left out
  int mode;
  bool wholeCell;
};

const std::vector<ScoringCase> kScorings = {
    {nullptr, MF_SCORING_STRICT, true},
    {"strict", MF_SCORING_STRICT, true},
    {"  STRICT ", MF_SCORING_STRICT, true},
    {"", MF_SCORING_STRICT, true},
    {"tolerant", MF_SCORING_TOLERANT, true},
    {"Tolerant whole-cell", MF_SCORING_TOLERANT, true},
    {"word-by-word", MF_SCORING_STRICT, false},
    {"word-by-word tolerant", MF_SCORING_TOLERANT, false},
};

const std::vector<std::pair<std::string, std::string>> kPairs = {
    {"Smith", "Smyth"},
    {"Catherine", "Kathryn"},
    {"Smith, John", "John Smith"},
    {"Dr. Jon Smyth", "John Smith"},
    {"Jones", "Smith"},
    {"Thompson", "Thomson"},
};

TEST_F(SheetGroup, ScoreScoring_OldAnswerByDefault_LibrarysOtherwise) {
  for (const ScoringCase& s : kScorings) {
    for (const auto& [a, b] : kPairs) {
      XLOPER12* scoring =
          s.scoring != nullptr ? args_.Utf8Text(s.scoring) : args_.Missing();
      const int expected = s.mode == MF_SCORING_STRICT && s.wholeCell
                               ? compare_words(a.c_str(), b.c_str())
                               : LibraryScore(a, b, s.mode, s.wholeCell);
      EXPECT_EQ(CallWide("fMarrowfieldScore12",
                         {args_.Utf8Text(a), args_.Utf8Text(b), scoring}),
                Num(expected))
          << a << " / " << b << " scoring " << (s.scoring ? s.scoring : "-");
    }
  }
}

TEST_F(SheetGroup, RangeFunctionsScoring_AgreeWithScoreOverTheRange) {
  std::vector<std::string> cells;
  for (const auto& pair : kPairs) cells.push_back(pair.second);
  const std::string search = "Jon Smith";
  for (const ScoringCase& s : kScorings) {
    const auto scoring = [&] {
      return s.scoring != nullptr ? args_.Utf8Text(s.scoring) : args_.Missing();
    };
    // The first best cell and its score, as SCORE gives each one.
    int top = -1;
    std::string best;
    for (const std::string& cell : cells) {
      const std::string answer =
          CallWide("fMarrowfieldScore12",
                   {args_.Utf8Text(search), args_.Utf8Text(cell), scoring()});
      const int score = std::stoi(answer.substr(4));
      if (score > top) {
        top = score;
        best = cell;
      }
    }
    const std::string label = s.scoring ? s.scoring : "-";
    EXPECT_EQ(CallWide("fMarrowfieldBestScore12",
                       {args_.Utf8Text(search), args_.Row(cells), scoring()}),
              Num(top))
        << label;
    EXPECT_EQ(CallWide("fMarrowfieldBest12",
                       {args_.Utf8Text(search), args_.Row(cells),
                        args_.Number(0), scoring()}),
              "str:" + best)
        << label;
    const std::string matches = CallWide(
        "fMarrowfieldMatches12", {args_.Utf8Text(search), args_.Row(cells),
                                  args_.Number(top), scoring()});
    EXPECT_EQ(matches.rfind("multi:", 0), 0u) << label << " " << matches;
    EXPECT_NE(matches.find("[str:" + best), std::string::npos)
        << label << " " << matches;
  }
}

TEST_F(SheetGroup, RangeFunctionsScoring_UnreadableIsValueError) {
  for (const char* bad :
       {"fuzzy", "strict strict", "tolerant,strict", "whole cell"}) {
    EXPECT_EQ(CallWide("fMarrowfieldScore12",
                       {args_.Utf8Text("Smith"), args_.Utf8Text("Smyth"),
                        args_.Utf8Text(bad)}),
              Err(xlerrValue))
        << bad;
    EXPECT_EQ(CallWide("fMarrowfieldBest12",
                       {args_.Utf8Text("Smith"), args_.Row({"Smyth"}),
                        args_.Missing(), args_.Utf8Text(bad)}),
              Err(xlerrValue))
        << bad;
    EXPECT_EQ(CallWide("fMarrowfieldMatches12",
                       {args_.Utf8Text("Smith"), args_.Row({"Smyth"}),
                        args_.Missing(), args_.Utf8Text(bad)}),
              Err(xlerrValue))
        << bad;
    EXPECT_EQ(CallWide("fMarrowfieldBestScore12",
                       {args_.Utf8Text("Smith"), args_.Row({"Smyth"}),
                        args_.Utf8Text(bad)}),
              Err(xlerrValue))
        << bad;
  }
  EXPECT_EQ(CallWide("fMarrowfieldBestScore12",
                     {args_.Utf8Text("Smith"), args_.Row({"Smyth"}),
                      args_.Number(1)}),
            Err(xlerrValue));
  EXPECT_EQ(CallWide("fMarrowfieldScore12",
                     {args_.Utf8Text("Smith"), args_.Utf8Text("Smyth"),
                      args_.Error(xlerrNA)}),
            Err(xlerrNA));
}

}  // namespace
}  // namespace marrowfield
