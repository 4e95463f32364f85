// Each phrase word is matched on its own with match_sub_string_phonetically:
// for one word the engine returns exactly that word's best text word, the
// same one it uses inside the whole phrase.
#include "match_words.h"

#include <set>

#include "marrowfield.h"

namespace marrowfield {

std::vector<std::string> NormalisedWords(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (const char raw : text) {
    if (raw == '\'') continue;
    char c = raw;
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c >= 'a' && c <= 'z') {
      word.push_back(c);
    } else if (!word.empty()) {
      words.push_back(std::move(word));
      word.clear();
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

std::vector<std::string> MatchedTextWords(const std::string& phrase,
                                          const std::string& text, int mode) {
  const std::vector<std::string> textWords = NormalisedWords(text);
  std::set<int> taken;
  std::vector<std::string> matched;
  for (const std::string& phraseWord : NormalisedWords(phrase)) {
    int start = -1;
    int length = 0;
    const int score = match_sub_string_phonetically(
        phraseWord.c_str(), text.c_str(), &start, &length, mode);
    if (score <= 0 || !taken.insert(start).second) continue;
    // Positions count the words joined by single spaces.
    int position = 0;
    for (const std::string& textWord : textWords) {
      if (position == start) {
        matched.push_back(textWord);
        break;
      }
      position += static_cast<int>(textWord.size()) + 1;
    }
  }
  return matched;
}

}  // namespace marrowfield
