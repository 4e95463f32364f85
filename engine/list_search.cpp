// The list search: which candidate words sound like a search word within
// a distance threshold, best first.

#include <algorithm>

#include "phonetic_matcher.h"

namespace marrowfield {

double DistanceThresholdOfPercent(unsigned percent) {
  return 1.0 - percent / 100.0;
}

bool CandidateBefore(const Candidate& a, const Candidate& b) {
  if (a.distance != b.distance) return a.distance < b.distance;
  // std::string compares bytes as unsigned values, and a word is greater
  // than its own prefix: equally good words come in descending byte order.
  return a.word > b.word;
}

void SortCandidates(std::vector<Candidate>& candidates) {
  std::sort(candidates.begin(), candidates.end(), CandidateBefore);
}

std::vector<Candidate> PhoneticMatcher::RankCandidates(
    std::string searchWord, std::vector<std::string> candidateList,
    double threshold) const {
  std::vector<Candidate> accepted;
  // The search word is transcribed once for all candidates; a search word
  // without phones matches nothing.
  CleanWord(searchWord);
  const PhoneIds searchPhones = TranscribeFromLexicon(searchWord).ids;
  if (searchPhones.empty()) return accepted;
  PhoneListPair pair;
  for (size_t index = 0; index < candidateList.size(); ++index) {
    const std::string& candidate = candidateList[index];
    // The candidate is cleaned for transcription, but returned as given.
    std::string word = candidate;
    CleanWord(word);
    pair.first = searchPhones;
    pair.second = TranscribeFromLexicon(word).ids;
    if (pair.second.empty()) continue;
    double d = GetDistanceForWords(pair);
    if (d == kFailureDistance) continue;
    // Equally long lists align differently in the two orders; the average
    // makes the search symmetric in the search word and the candidate.
    if (pair.first.size() == pair.second.size()) {
      std::swap(pair.first, pair.second);
      const double d2 = GetDistanceForWords(pair);
      d = d2 < 0.0 ? kFailureDistance : (d + d2) / 2.0;
    }
    if (d >= 0.0 && d <= threshold) {
      accepted.push_back(Candidate{candidate, d, index});
    }
  }
  SortCandidates(accepted);
  return accepted;
}

std::vector<std::string> PhoneticMatcher::GetSimilarWords(
    const char* searchWord, const char* const* candidates, unsigned int count,
    double threshold) const {
  std::vector<std::string> result;
  std::vector<std::string> candidateList;
  candidateList.reserve(count);
  for (unsigned int k = 0; k < count; ++k) {
    // A null entry has no word to offer; it is passed over.
    if (candidates[k] != nullptr) candidateList.emplace_back(candidates[k]);
  }
  for (Candidate& c : RankCandidates(searchWord, std::move(candidateList),
                                              threshold)) {
    result.push_back(std::move(c.word));
  }
  return result;
}

}  // namespace marrowfield
