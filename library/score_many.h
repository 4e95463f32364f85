// Many pairs scored in one call: the work of a caller that already knows
// which pairs it wants scored (a reviewed candidate list, a join in a
// database), spread over threads. Each score is exactly ScoreValues of its
// pair under the same options.

#ifndef MARROWFIELD_LIBRARY_SCORE_MANY_H_
#define MARROWFIELD_LIBRARY_SCORE_MANY_H_

#include <cstddef>
#include <vector>

#include "pair_finder.h"

namespace marrowfield::lists {

// Writes ScoreValues(first[i], second[i], options) to scores[i] for every
// i < count, on options.threads threads; the accuracy and the progress
// callback are not used. REQUIRES: the arrays hold |count| entries, none
// null; the engine is initialized.
void ScoreMany(const char* const* first, const char* const* second,
               size_t count, const PairOptions& options, int* scores);

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LIBRARY_SCORE_MANY_H_
