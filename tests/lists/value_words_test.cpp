// The word-by-word rule: how values are cut into words (titles, initials,
// apostrophes, hyphens) and how the words of two values are paired.

#include "value_words.h"

#include <string>
#include <vector>

#include "lists_fixture.h"

namespace marrowfield::lists::testing {
namespace {

struct SplitCase {
  const char* value;
  std::vector<std::string> words;  // an initial written with a trailing '.'
};

std::vector<std::string> Written(const std::vector<ValueWord>& words) {
  std::vector<std::string> out;
  for (const ValueWord& w : words)
    out.push_back(w.initial ? w.text + "." : w.text);
  return out;
}

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, CutsAsTheRuleSays) {
  EXPECT_EQ(Written(SplitValueWords(GetParam().value)), GetParam().words)
      << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, SplitTest,
    ::testing::Values(SplitCase{"John Smith", {"john", "smith"}},
                      SplitCase{"Smith, John", {"smith", "john"}},
                      SplitCase{"Dr. J. Smith-Jones", {"j.", "smith", "jones"}},
                      SplitCase{"O'Neil", {"oneil"}},
                      SplitCase{"MR SMITH JR", {"smith"}},
                      SplitCase{"Mr", {"mr"}}, SplitCase{"J", {"j"}},
                      SplitCase{"J. K.", {"j", "k"}}, SplitCase{"123 -- !", {}},
                      SplitCase{"", {}},
                      SplitCase{"a b c d e f g h i j k l m n o p q r s",
                                {"a", "b", "c", "d", "e", "f", "g", "h", "i",
                                 "j", "k", "l", "m", "n", "o", "p"}}));

class WordByWordTest : public ListsTest {};

TEST_F(WordByWordTest, OrderOfWordsDoesNotMatter) {
  EXPECT_EQ(ScoreValues("John Smith", "Smith, John", Options(60)), 100);
  EXPECT_EQ(ScoreValues("Jon Smyth", "Smith, John", Options(60)),
            ScoreValues("Jon Smyth", "John Smith", Options(60)));
}

TEST_F(WordByWordTest, InitialsMatchTheirLetterButNeverAlone) {
  EXPECT_EQ(ScoreValues("J. Smith", "John Smith", Options(60)), 100);
  EXPECT_EQ(ScoreValues("Dr. J. Smith", "John Smith", Options(60)), 100);
  // The surnames are unlike: the initial alone makes no match.
  EXPECT_EQ(ScoreValues("J. Brown", "John Smith", Options(60)), 0);
  EXPECT_EQ(ScoreValues("K. Smith", "John Smith", Options(60)), 50);
}

TEST_F(WordByWordTest, MissingWordCountsZero) {
  EXPECT_EQ(ScoreValues("John Smith", "John Paul Smith", Options(60)), 200 / 3);
  EXPECT_EQ(ScoreValues("Smith", "John Smith", Options(60)), 50);
}

TEST_F(WordByWordTest, WordsScoreAsCompareWordsAndAverage) {
  const int first = compare_words("john", "jon");
  const int last = compare_words("smith", "smyth");
  ASSERT_GE(first, 60);
  EXPECT_EQ(ScoreValues("John Smith", "Jon Smyth", Options(60)),
            (first + last) / 2);
}

TEST_F(WordByWordTest, TolerantCreditOfUnrelatedWordsDoesNotCount) {
  PairOptions tolerant = Options(60);
  tolerant.scoring = ScoringMode::kTolerant;
  // The surnames are unrelated and share no skeleton key: the tolerant
  // score gives them no credit, and one shared first name does not make
  // the two names match.
  ASSERT_EQ(ScoreValues("Michels", "Gonsales", tolerant), 0);
  ASSERT_EQ(ScoreValues("Michels", "Gonsales", Options(60)), 0);
  // Martin and Marvin share a key (a neighbour): tolerant credit below 60
  // that the strict score does not back still counts for nothing.
  ASSERT_GT(ScoreValues("Martin", "Marvin", tolerant), 0);
  ASSERT_LT(ScoreValues("Martin", "Marvin", tolerant), 60);
  EXPECT_EQ(ScoreValues("Terrie Martin", "Marvin, Terry", tolerant),
            ScoreValues("Terrie", "Terry", tolerant) / 2);
  const int first = ScoreValues("Terrie", "Terry", tolerant);
  EXPECT_EQ(ScoreValues("Terrie Michels", "Gonsales, Terry", tolerant),
            first / 2);
  // Words the strict score relates keep their tolerant score.
  const int last = ScoreValues("Kathryn", "Catherine", tolerant);
  ASSERT_GT(ScoreValues("Kathryn", "Catherine", Options(60)), 0);
  EXPECT_EQ(ScoreValues("Tim Kathryn", "Tom Catherine", tolerant),
            (ScoreValues("Tim", "Tom", tolerant) + last) / 2);
}

TEST_F(WordByWordTest, WholeCellKeepsTodaysScore) {
  EXPECT_EQ(ScoreValues("John Smith", "Smith, John", Options(60, 1, true)),
            compare_words("John Smith", "Smith, John"));
}

}  // namespace
}  // namespace marrowfield::lists::testing
