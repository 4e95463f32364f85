// How a value of several words is cut into the words that word-by-word
// scoring pairs: the splitting, the titles and suffixes that are dropped,
// and which words count as initials (see pair_finder.h for the rule).

#ifndef MARROWFIELD_LISTS_VALUE_WORDS_H_
#define MARROWFIELD_LISTS_VALUE_WORDS_H_

#include <string>
#include <string_view>
#include <vector>

namespace marrowfield::lists {

struct ValueWord {
  // The word in lower case, apostrophes dropped: what gets transcribed.
  std::string text;
  // A one-letter word in a value that also has a longer word.
  bool initial = false;
};

// The words of |value|, in order: runs of ASCII letters and apostrophes,
// titles and suffixes dropped while another word remains, at most
// kMaxWordsPerValue of them. A value without letters has no words.
std::vector<ValueWord> SplitValueWords(std::string_view value);

// True for the titles and suffixes that word-by-word scoring drops.
// REQUIRES: |word| is lower case.
bool IsTitleWord(std::string_view word);

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_VALUE_WORDS_H_
