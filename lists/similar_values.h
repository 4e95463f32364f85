// The list search in every scoring mode: which entries of a list sound
// like one word, best first.
#ifndef MARROWFIELD_LISTS_SIMILAR_VALUES_H_
#define MARROWFIELD_LISTS_SIMILAR_VALUES_H_

#include <cstddef>
#include <string>
#include <vector>

#include "pair_finder.h"

namespace marrowfield::lists {

// Returns the indexes of the entries of |values| that sound like |word|
// at options.accuracy or better, best first; equally good entries in
// descending byte order of |shown| (the entries as the caller gave them,
// of which |values| may be folded copies). With whole cells and kStrict
// this is the engine's list search (GetSimilarWords): the two orders of
// words with equally long phone lists are averaged, and a distance of at
// most DistanceThresholdOfPercent(accuracy) is accepted. Otherwise an entry
// is accepted when ScoreValues(word, entry) reaches the accuracy.
// REQUIRES: shown.size() == values.size(); the engine is initialized.
std::vector<size_t> SimilarValues(const std::string& word,
                                  const std::vector<std::string>& values,
                                  const std::vector<const char*>& shown,
                                  const PairOptions& options);

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_SIMILAR_VALUES_H_
