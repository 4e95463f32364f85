// A spreadsheet as users have one: a column of 10 000 names, each looked up
// with BEST in a reference list of 1 000 names read through a reference.
// Each answer must agree with compare_words over the list (the first best
// in reading order); every tenth name is also looked up with BESTSCORE and
// searched with the sheet search of the same cells (the same best score, and
// BEST's text among its best results, SCORE of the name and that text the
// same), which keeps the test's own work near that of the functions under test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addin_driver.h"
#include "fake_xlcall32.h"
#include "marrowfield.h"
#include "marrowfield/cell_scorer.h"
#include "marrowfield/sheet_search.h"
#include "sheet_function_rig.h"
#include "sheet_function_values.h"

namespace marrowfield {
namespace {

constexpr int kReferences = 1000;
constexpr int kNames = 10000;
constexpr double kAccuracy = 60;

// Name-like words from syllables, the same on every run.
class NameMaker {
 public:
  std::string Next() {
    static const char* const kSyllables[] = {
        "ka",  "mi",  "ro",   "sen", "dal",   "bur", "ton",
        "ley", "mar", "shaw", "ell", "ing",   "ham", "ford",
        "win", "ter", "gan",  "son", "field", "ber", "cot",
        "ric", "lan", "dre",  "vil", "nor",   "pet", "har"};
    const int count = 2 + static_cast<int>(Draw() % 2);
    std::string name;
    for (int i = 0; i < count; ++i) name += kSyllables[Draw() % 28];
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
  }
  // |name| with one letter changed, as a typing or hearing slip.
  std::string Slip(std::string name) {
    static const char kLetters[] = "aeiouymnrstlkcgh";
    name[1 + Draw() % (name.size() - 1)] = kLetters[Draw() % 16];
    return name;
  }
  uint32_t Draw() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }

 private:
  uint32_t state_ = 17;
};

// Natively only: under Wine the same code takes longer than a test may,
// and the threads and calls tests there already run these entries.
#ifndef _WIN32
TEST(SheetFunctionSpreadsheet, TenThousandNamesAgreeWithCompareWordsAndSearch) {
  fake_xl_reset();
  std::unique_ptr<AddinDriver> driver = MakeAddinDriver();
  fake_xl_set_addin_path(driver->AddinPath().c_str());
  driver->AutoOpen();

  NameMaker maker;
  std::vector<std::string> references;
  for (int i = 0; i < kReferences; ++i) references.push_back(maker.Next());
  FillColumn(1, references);
  CellGrid grid;
  for (int i = 0; i < kReferences; ++i) {
    grid.push_back(
        GridCell{i + 1, 2, true, references[static_cast<std::size_t>(i)]});
  }

  int found = 0;
  for (int n = 0; n < kNames; ++n) {
    const std::string name =
        n % 3 == 2 ? maker.Next()
                   : maker.Slip(references[maker.Draw() % kReferences]);
    WideArguments args;
    const std::string best =
        CallWide("fMarrowfieldBest12",
                 {args.Utf8Text(name), args.Area(0, kReferences - 1, 1, 1),
                  args.Number(kAccuracy)});
    // compare_words over the list, the first best in reading order.
    int top = -1;
    std::string topText;
    for (const std::string& reference : references) {
      const int score = compare_words(name.c_str(), reference.c_str());
      if (score > top) {
        top = score;
        topText = reference;
      }
    }
    ASSERT_EQ(best, top >= kAccuracy ? "str:" + topText : "err:42") << name;
    if (top >= kAccuracy) ++found;
    if (n % 10 != 0) continue;
    EXPECT_EQ(
        CallWide("fMarrowfieldBestScore12",
                 {args.Utf8Text(name), args.Area(0, kReferences - 1, 1, 1)}),
        "num:" + std::to_string(top))
        << name;

    // The sheet search of the same cells at the same accuracy.
    CompareWordsScorer scorer(name);
    RememberingScorer remembering(scorer);
    SheetSearch search(remembering, static_cast<int32_t>(kAccuracy));
    search.CollectMatches(grid, 1);
    search.SortResults();
    ASSERT_EQ(search.foundAny(), top >= kAccuracy) << name;
    if (!search.foundAny()) continue;
    EXPECT_EQ(search.results().front().score, top) << name;
    bool among = false;
    for (const SearchResult& result : search.results()) {
      among |= result.score == top && "str:" + result.cellText == best;
    }
    EXPECT_TRUE(among) << name << " " << best;
    EXPECT_EQ(CallWide("fMarrowfieldScore12",
                       {args.Utf8Text(name), args.Utf8Text(topText)}),
              "num:" + std::to_string(top));
  }
  // The list must exercise both answers.
  EXPECT_GT(found, kNames / 4);
  EXPECT_LT(found, kNames);

  driver->AutoClose();
  EXPECT_EQ(OutstandingSheetResults<XLOPER12>(), 0u);
  EXPECT_EQ(fake_xl_outstanding_values(), 0);
  EXPECT_EQ(fake_xl_bad_frees(), 0);
}
#endif

}  // namespace
}  // namespace marrowfield
