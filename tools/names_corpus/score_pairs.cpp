// Scores pairs of words in both scoring modes, for the quality measurement
// (quality.py): reads lines "word1<TAB>word2" from standard input and
// writes "strict<TAB>tolerant" percentages, one line per pair, in order.
// It links the engine directly, since the tolerant mode is not part of the
// engine's exported C interface.

#include <cstdio>
#include <iostream>
#include <string>

#include "flite_lexicon.h"
#include "mode_comparison.h"
#include "phone_tables.h"

int main() {
  std::ios::sync_with_stdio(false);
  marrowfield::SetUpLexicon();
  if (marrowfield::BuildPhoneTables() != 0) return 2;
  const marrowfield::PhoneticMatcher matcher(marrowfield::CurrentLexicon());
  std::string line;
  std::string out;
  while (std::getline(std::cin, line)) {
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) {
      std::cerr << "score_pairs: a line without a tab\n";
      return 2;
    }
    const std::string word1 = line.substr(0, tab);
    const std::string word2 = line.substr(tab + 1);
    for (auto mode : {marrowfield::ScoringMode::kStrict,
                      marrowfield::ScoringMode::kTolerant}) {
      out += std::to_string(marrowfield::DistanceToPercentage(
          marrowfield::CompareWordsInMode(matcher, word1, word2, mode)));
      out += mode == marrowfield::ScoringMode::kStrict ? '\t' : '\n';
    }
    if (out.size() > (1u << 16)) {
      std::cout << out;
      out.clear();
    }
  }
  std::cout << out;
  marrowfield::FreePhoneTables();
  return std::cout.good() ? 0 : 1;
}
