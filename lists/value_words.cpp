// Cutting a value into words for word-by-word scoring. Only letters carry
// sound in the engine, so every other byte separates words; an apostrophe
// joins (O'Neil is one word, as the engine reads it).

#include "value_words.h"

#include <algorithm>
#include <array>

#include "pair_finder.h"

namespace marrowfield::lists {
namespace {

bool IsLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Forms of address and generational suffixes: they say nothing about who
// the person is, and "Dr. Smith" is the same Smith as "Smith".
constexpr std::array<std::string_view, 14> kTitleWords = {
    "dr",  "ii", "iii", "iv",   "jr",  "miss", "mr",
    "mrs", "ms", "mx",  "prof", "rev", "sir",  "sr"};

}  // namespace

bool IsTitleWord(std::string_view word) {
  return std::find(kTitleWords.begin(), kTitleWords.end(), word) !=
         kTitleWords.end();
}

std::vector<ValueWord> SplitValueWords(std::string_view value) {
  std::vector<ValueWord> words;
  ValueWord current;
  bool inWord = false;
  auto finish = [&] {
    // A run of apostrophes alone carries no letter.
    if (inWord && !current.text.empty()) words.push_back(current);
    current = ValueWord();
    inWord = false;
  };
  for (char c : value) {
    if (IsLetter(c)) {
      current.text += Lower(c);
      inWord = true;
    } else if (c == '\'') {
      inWord = true;
    } else {
      finish();
    }
  }
  finish();

  const bool allTitles =
      std::all_of(words.begin(), words.end(),
                  [](const ValueWord& w) { return IsTitleWord(w.text); });
  if (!allTitles) {
    words.erase(
        std::remove_if(words.begin(), words.end(),
                       [](const ValueWord& w) { return IsTitleWord(w.text); }),
        words.end());
  }
  if (words.size() > kMaxWordsPerValue) words.resize(kMaxWordsPerValue);

  const bool hasLongWord =
      std::any_of(words.begin(), words.end(),
                  [](const ValueWord& w) { return w.text.size() > 1; });
  for (ValueWord& w : words) w.initial = hasLongWord && w.text.size() == 1;
  return words;
}

}  // namespace marrowfield::lists
