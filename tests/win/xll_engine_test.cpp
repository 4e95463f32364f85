// The engine inside MarrowfieldExcel.xll, called through the XLL's own
// exports under Wine, must answer exactly as the native library did for
// every word pair of the list: the same percentages both ways round, the
// same phones and the same codes.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "engine_scores.h"
#include "win32/xll_module.h"

namespace marrowfield {
namespace {

class XllEngine : public ::testing::Test {
 protected:
  XllEngine() : xll_(ProgramDirectory() + kXllFileName) {
    engine_ = EngineApi{
        xll_.Get<decltype(EngineApi::compareWords)>("compare_words"),
        xll_.Get<decltype(EngineApi::getPhonemes)>("get_phonemes"),
        xll_.Get<decltype(EngineApi::getResultSize)>("get_result_size"),
        xll_.Get<decltype(EngineApi::getResultItem)>("get_result_item"),
        xll_.Get<decltype(EngineApi::closeResultIterator)>(
            "close_result_iterator"),
        xll_.Get<decltype(EngineApi::getCodesForWord)>("get_codes_for_word")};
  }
  void SetUp() override { ASSERT_EQ(xll_.Get<int (*)()>("initialize")(), 0); }
  void TearDown() override { xll_.Get<void (*)()>("un_initialize")(); }

  // The native library's lines, written by write_engine_scores.
  static std::vector<std::string> NativeLines() {
    std::ifstream in(ProgramDirectory() + "engine_word_pair_scores.txt");
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty()) lines.push_back(line);
    }
    return lines;
  }

  static WordPair PairOf(const std::string& line) {
    std::istringstream fields(line);
    WordPair pair;
    fields >> pair.first >> pair.second;
    return pair;
  }

  XllModule xll_;
  EngineApi engine_{};
};

TEST_F(XllEngine, MatchesNativeLibraryOnEveryWordPair) {
  const std::vector<std::string> native = NativeLines();
  ASSERT_GE(native.size(), 300u)
      << "engine_word_pair_scores.txt is missing beside the test; configure "
         "with -DMARROWFIELD_NATIVE_ENGINE_SCORES=<file written by "
         "write_engine_scores>";
  int mismatches = 0;
  for (const std::string& line : native) {
    const std::string windows = ScoreLine(engine_, PairOf(line));
    if (windows != line) ++mismatches;
    EXPECT_EQ(windows, line);
  }
  EXPECT_EQ(mismatches, 0);
}

TEST_F(XllEngine, SmithAndSmythCompareAsNatively) {
  for (const std::string& line : NativeLines()) {
    const WordPair pair = PairOf(line);
    if (pair.first != "smith" || pair.second != "smyth") continue;
    std::istringstream fields(line);
    std::string first, second;
    int nativePercent = -1;
    fields >> first >> second >> nativePercent;
    EXPECT_EQ(engine_.compareWords("smith", "smyth"), nativePercent);
    return;
  }
  FAIL() << "the word pair list lacks smith smyth";
}

}  // namespace
}  // namespace marrowfield
