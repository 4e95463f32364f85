// Tolerant scores through the pair finding library: options for whole
// cells in the tolerant mode, and the candidates of "similar" scored in one
// call on every core.
#include "scoring_choice.h"

#include <algorithm>
#include <utility>

namespace marrowfield {

namespace {

MfOptions TolerantOptions() {
  MfOptions options = NewMfOptions();
  mf_options_set_whole_cell(options.get(), 1);
  mf_options_set_scoring(options.get(), MF_SCORING_TOLERANT);
  return options;
}

int Compare(const mf_options_t* options, const std::string& word1,
            const std::string& word2) {
  int score = 0;
  MfError error;
  CheckMf(
      mf_compare(options, word1.c_str(), word2.c_str(), &score, error.out()),
      error);
  return score;
}

bool BytesAfter(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(
      b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
      });
}

}  // namespace

int CompareTolerant(const std::string& word1, const std::string& word2) {
  return Compare(TolerantOptions().get(), word1, word2);
}

TolerantScorer::TolerantScorer(std::string searchText, TextFolding folding)
    : folding_(folding),
      searchText_(FoldToAscii(searchText, folding)),
      options_(TolerantOptions()) {}

int32_t TolerantScorer::Score(const std::string& cellText) {
  return Compare(options_.get(), searchText_, FoldToAscii(cellText, folding_));
}

std::vector<std::string> SimilarTolerant(
    const std::string& word, const std::vector<std::string>& candidates,
    unsigned int threshold) {
  const std::vector<const char*> words(candidates.size(), word.c_str());
  std::vector<const char*> others;
  others.reserve(candidates.size());
  for (const std::string& candidate : candidates) {
    others.push_back(candidate.c_str());
  }
  std::vector<int> scores(candidates.size());
  MfError error;
  CheckMf(
      mf_compare_many(TolerantOptions().get(), words.data(), others.data(),
                       candidates.size(), scores.data(), error.out()),
      error);
  std::vector<std::pair<int, const std::string*>> kept;
  for (size_t i = 0; i < candidates.size(); ++i) {
    if (scores[i] >= static_cast<int>(threshold)) {
      kept.emplace_back(scores[i], &candidates[i]);
    }
  }
  std::stable_sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
    if (a.first != b.first) return a.first > b.first;
    return BytesAfter(*a.second, *b.second);
  });
  std::vector<std::string> similar;
  for (const auto& entry : kept) similar.push_back(*entry.second);
  return similar;
}

}  // namespace marrowfield
