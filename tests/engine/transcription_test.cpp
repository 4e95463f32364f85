// Word transcription through the real Flite lexicon: cleaning, the two
// modes, stress marks, and the conversion of Flite's answers.

#include "engine_fixture.h"

extern "C" {
#include <flite/cst_val.h>
}

namespace marrowfield {
namespace {

using TranscriptionTest = EngineTest;

TEST_F(TranscriptionTest, CleanWordFoldsCaseAndMapsNonLetters) {
  const std::pair<std::string, std::string> cases[] = {
      {"O'Neil", "oneil"},     {"Jean-Luc", "jean luc"},
      {"123", ""},             {"", ""},
      {"a\tb", "a b"},         {"caf\xe9", "caf"},
      {"  x  ", "x"},          {"ABC'd", "abcd"},
      {" Smythe, ", "smythe"}, {"-a  b.", "a  b"},
  };
  for (auto [word, cleaned] : cases) {
    matcher.CleanWord(word);
    EXPECT_EQ(word, cleaned);
  }
}

// Stray spaces and punctuation at the ends of a cell must not change how a
// word sounds: the rules would read an edge space as context.
TEST_F(TranscriptionTest, EdgeSpacesAndPunctuationLeaveTheSoundAlone) {
  const std::pair<const char*, const char*> cases[] = {
      {" John", "John"},     {"John ", "John"},   {"Smythe ", "Smythe"},
      {"Smythe.", "Smythe"}, {"Smythe,", "Smythe"}, {"\t'Jon' ", "Jon"},
  };
  for (const auto& [padded, plain] : cases) {
    for (int mode : {kModeLexicon, kModeLtsOnly}) {
      EXPECT_EQ(PhoneNames(matcher.GetPhones(padded, mode)),
                PhoneNames(matcher.GetPhones(plain, mode)))
          << padded << " mode " << mode;
    }
    EXPECT_EQ(matcher.CompareWords(padded, "Smith"),
              matcher.CompareWords(plain, "Smith"))
        << padded;
    EXPECT_EQ(matcher.CompareWords("Jon", padded),
              matcher.CompareWords("Jon", plain))
        << padded;
  }
}

TEST_F(TranscriptionTest, LowerCaseWordTouchesOnlyAsciiCapitals) {
  std::string word = "AbZ-\xc9";
  matcher.LowerCaseWord(word);
  EXPECT_EQ(word, "abz-\xc9");
}

TEST_F(TranscriptionTest, GetPhonesCleansAndStripsStress) {
  const std::tuple<const char*, int, const char*> cases[] = {
      {"knight", kModeLexicon, "n ay t"},
      {"KNIGHT", kModeLexicon, "n ay t"},
      {"O'Neil", kModeLexicon, "ow n iy l"},
      {"catherine", kModeLexicon, "k ae th er ax n"},
      {"catherine", kModeLtsOnly, "k ae dh er ax n"},
      {"hello", kModeLexicon, "hh ax l ow"},
      {"hello", kModeLtsOnly, "hh eh l ow"},
      {"hello", 7, "hh ax l ow"},  // any mode but 1 is the lexicon
      {"123", kModeLexicon, ""},
      {"---", kModeLtsOnly, ""},
      {"", kModeLexicon, ""},
  };
  for (const auto& [word, mode, phones] : cases) {
    EXPECT_EQ(PhoneNames(matcher.GetPhones(word, mode)), Names(phones))
        << word << " mode " << mode;
  }
}

TEST_F(TranscriptionTest, EveryPhoneIsKnownToTheTables) {
  const char* words[] = {"computer", "Marrowfield", "Xochitl", "Nguyen",
                         "Siobhan",  "Przybylski",  "rhythm",  "yacht"};
  for (const char* word : words) {
    for (int mode : {kModeLexicon, kModeLtsOnly}) {
      for (const std::string& phone :
           PhoneNames(matcher.GetPhones(word, mode))) {
        EXPECT_NE(PhoneIdOf(phone), kUnknownPhone) << word << ": " << phone;
      }
    }
  }
}

TEST_F(TranscriptionTest, LexiconLookupUsesWordUnchanged) {
  EXPECT_EQ(matcher.GetPhonesFromLexicon("KNIGHT"), PhoneList{});
  EXPECT_EQ(matcher.GetPhonesFromLexicon("jean luc"),
            matcher.GetPhonesByRules("jean luc"));
}

TEST_F(TranscriptionTest, PairStopsAtFirstWordWithoutPhones) {
  std::string word1 = "";
  std::string word2 = "Smith";
  PhoneIds phones1;
  PhoneIds phones2 = Phones("k");
  EXPECT_EQ(matcher.GetPhonesForPair(word1, word2, phones1, phones2), -1);
  EXPECT_EQ(word2, "Smith");
  EXPECT_EQ(phones2, Phones("k"));

  word1 = "Smith!";
  EXPECT_EQ(matcher.GetPhonesForPair(word1, word2, phones1, phones2), 0);
  EXPECT_EQ(word1, "smith");  // the edge space dropped
  EXPECT_EQ(word2, "smith");
}

TEST_F(TranscriptionTest, WithoutLexiconEveryWordHasNoPhones) {
  PhoneticMatcher blank(nullptr);
  EXPECT_TRUE(blank.GetPhonesFromLexicon("smith").empty());
  EXPECT_TRUE(blank.GetPhonesByRules("smith").empty());
}

TEST(ConvertFliteAnswerTest, SkipsNonStringsWithDiagnosticLine) {
  FliteValue answer(cons_val(
      string_val("ey1"),
      cons_val(int_val(42), cons_val(string_val("ax0"),
                                     cons_val(string_val("t"), nullptr)))));
  testing::internal::CaptureStdout();
  const PhoneList phones = ConvertFliteAnswer(std::move(answer));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "CST_VAL_TYPE : 1\n");
  EXPECT_EQ(phones, Names("ey ax t"));
  EXPECT_TRUE(ConvertFliteAnswer(nullptr).empty());
}

// A Flite answer of the given phone names, in order.
FliteValue AnswerOf(const std::vector<std::string>& phones) {
  cst_val* list = nullptr;
  for (auto it = phones.rbegin(); it != phones.rend(); ++it) {
    list = cons_val(string_val(it->c_str()), list);
  }
  return FliteValue(list);
}

TEST(TranscriptionOfTest, KeepsOrderAcrossLengthsAndUnknownPhones) {
  // Lengths around the inline buffer, and an unknown phone early, late and
  // beyond it: the ids must match the names one for one, and the names
  // must come back exactly when some phone has no id.
  const std::string cycle[] = {"k", "ae1", "t", "ax0", "s"};
  for (size_t length : {0, 1, 31, 32, 33, 64, 65, 100}) {
    for (long unknownAt : {-1L, 0L, 5L, 31L, 32L, 40L}) {
      std::vector<std::string> given;
      std::vector<std::string> expected;
      for (size_t k = 0; k < length; ++k) {
        std::string phone = cycle[k % 5];
        if (static_cast<long>(k) == unknownAt) phone = "zz";
        given.push_back(phone);
        if (phone.back() == '0' || phone.back() == '1') phone.pop_back();
        expected.push_back(phone);
      }
      FliteValue answer = AnswerOf(given);
      const Transcription t = TranscriptionOf(answer.get());
      ASSERT_EQ(t.ids.size(), length) << length << " " << unknownAt;
      for (size_t k = 0; k < length; ++k) {
        EXPECT_EQ(t.ids[k], PhoneIdOf(expected[k])) << length << " " << k;
      }
      const bool hasUnknown = unknownAt >= 0 && unknownAt < long(length);
      EXPECT_EQ(t.names.empty(), !hasUnknown) << length << " " << unknownAt;
      EXPECT_EQ(PhoneNames(t), expected) << length << " " << unknownAt;
    }
  }
  EXPECT_TRUE(TranscriptionOf(nullptr).ids.empty());
}

}  // namespace
}  // namespace marrowfield
