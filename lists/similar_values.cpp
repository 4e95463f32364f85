// The list search in every scoring mode. The strict whole-cell search is
// the engine's own, whose distance threshold and averaging of equally long
// words callers of compare_words' list search rely on; the other modes have
// no distance of their own and rank by the value score.

#include "similar_values.h"

#include <algorithm>
#include <cstring>

#include "phone_tables.h"
#include "phonetic_matcher.h"
#include "value_scorer.h"

namespace marrowfield::lists {

std::vector<size_t> SimilarValues(const std::string& word,
                                  const std::vector<std::string>& values,
                                  const std::vector<const char*>& shown,
                                  const PairOptions& options) {
  struct Ranked {
    double distance;  // lower is better
    size_t index;
  };
  std::vector<Ranked> ranked;
  if (options.wholeCell && options.scoring == ScoringMode::kStrict) {
    const unsigned percent =
        static_cast<unsigned>(std::clamp(options.accuracy, 0, 100));
    const PhoneticMatcher matcher(CurrentLexicon());
    for (const Candidate& c : matcher.RankCandidates(
             word, values, DistanceThresholdOfPercent(percent))) {
      ranked.push_back({c.distance, c.index});
    }
  } else {
    ValueScorer scorer(options.wholeCell, options.scoring);
    const PreparedValue searched = scorer.Prepare(word);
    for (size_t i = 0; i < values.size(); ++i) {
      const int score = scorer.Score(searched, scorer.Prepare(values[i]));
      if (score > 0 && score >= options.accuracy) {
        ranked.push_back({100.0 - score, i});
      }
    }
  }
  // Equal entries are indistinguishable in the answer, so the sort need
  // not be stable.
  std::sort(ranked.begin(), ranked.end(),
            [&shown](const Ranked& a, const Ranked& b) {
              if (a.distance != b.distance) return a.distance < b.distance;
              return std::strcmp(shown[a.index], shown[b.index]) > 0;
            });
  std::vector<size_t> indexes;
  indexes.reserve(ranked.size());
  for (const Ranked& r : ranked) indexes.push_back(r.index);
  return indexes;
}

}  // namespace marrowfield::lists
