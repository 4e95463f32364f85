// Phrase search: where, and how well, a phrase of one or more words sounds
// like part of a longer text. Each phrase word takes its best-sounding text
// word; matches of the same text word count once; the score is the average
// of the word scores weighted by the matched words' lengths.

#include <cstdint>
#include <unordered_map>

#include "phonetic_matcher.h"

namespace marrowfield {

std::vector<std::string> SplitWords(const std::string& s) {
  std::vector<std::string> words;
  size_t pos = 0;
  while (true) {
    const size_t begin = s.find_first_not_of(' ', pos);
    if (begin == std::string::npos) break;
    size_t end = s.find(' ', begin);
    if (end == std::string::npos) end = s.size();
    words.push_back(s.substr(begin, end - begin));
    pos = end;
  }
  return words;
}

void TrimSpaces(std::string& s) {
  const size_t begin = s.find_first_not_of(' ');
  if (begin == std::string::npos) {
    s.clear();
    return;
  }
  s.erase(0, begin);
  s.erase(s.find_last_not_of(' ') + 1);
}

int PhoneticMatcher::MatchWordInText(
    const PhoneIds& phrasePhones, const std::vector<std::string>& textWords,
    const std::vector<const Transcription*>& textPhones, int& start,
    int& length) const {
  int best = -1;
  size_t bestIndex = 0;
  for (size_t k = 0; k < textWords.size(); ++k) {
    const double d = GetDistanceForPhoneLists(phrasePhones, textPhones[k]->ids);
    const int score = DistanceToPercentage(d);
    // Strictly better only: ties go to the earliest text word.
    if (score > best) {
      best = score;
      bestIndex = k;
      length = static_cast<int>(textWords[k].size());
    }
  }
  // The position in the text rebuilt from its words and single spaces.
  int position = 0;
  for (size_t k = 0; k < bestIndex; ++k) {
    position += static_cast<int>(textWords[k].size()) + 1;
  }
  start = position;
  return best;
}

int PhoneticMatcher::MatchPhrase(std::string phrase, std::string text, int mode,
                                 int* matchStart, int* matchLength) const {
  CleanWord(phrase);
  CleanWord(text);
  TrimSpaces(phrase);
  TrimSpaces(text);
  if (phrase.empty() || text.empty()) return -1;

  // Every distinct word of the phrase and the text is transcribed once.
  // The map's nodes stay put as it grows, so the pointers stay valid.
  std::unordered_map<std::string, Transcription> seen;
  auto transcribe = [&](const std::string& word) -> const Transcription* {
    auto [slot, fresh] = seen.try_emplace(word);
    if (fresh) slot->second = GetPhones(word.c_str(), mode);
    return &slot->second;
  };
  const std::vector<std::string> textWords = SplitWords(text);
  std::vector<const Transcription*> textPhones;
  textPhones.reserve(textWords.size());
  for (const std::string& word : textWords) {
    textPhones.push_back(transcribe(word));
  }

  const std::vector<std::string> phraseWords = SplitWords(phrase);
  const size_t n = phraseWords.size();
  std::vector<int> starts(n, 0);
  std::vector<int> lengths(n, 0);
  std::vector<int> scores(n, 0);
  for (size_t i = 0; i < n; ++i) {
    scores[i] = MatchWordInText(transcribe(phraseWords[i])->ids, textWords,
                                textPhones, starts[i], lengths[i]);
    if (scores[i] == 0) {
      *matchStart = -1;
      *matchLength = 0;
      return 0;
    }
  }

  // Two phrase words on the same text word count once. The test reads the
  // current values, so a removed entry takes part afterwards as the span
  // 0..0 and removes any later match that starts at position 0.
  for (size_t a = 0; a + 1 < n; ++a) {
    for (size_t b = a + 1; b < n; ++b) {
      if (starts[b] <= starts[a] + lengths[a] &&
          starts[b] + lengths[b] >= starts[a]) {
        starts[b] = 0;
        lengths[b] = 0;
        scores[b] = 0;
      }
    }
  }

  int64_t weighted = 0;
  int64_t totalLength = 0;
  for (size_t i = 0; i < n; ++i) {
    weighted += static_cast<int64_t>(lengths[i]) * scores[i];
    totalLength += lengths[i];
  }
  *matchStart = starts[0];
  *matchLength = lengths[0];
  return static_cast<int>(weighted / totalLength);
}

}  // namespace marrowfield
