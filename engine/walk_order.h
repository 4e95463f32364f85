// Who walks in an alignment. The greedy pass walks one phone list and
// looks for each phone's partner in the other; the engine always walks the
// shorter list, and the first of two equally long ones. Scores, the
// tolerant mode, pair finding and the explanation all ask here, so that
// they cannot come to disagree on the order (which changes the score of
// equally long lists, see compare_words).

#ifndef MARROWFIELD_ENGINE_WALK_ORDER_H_
#define MARROWFIELD_ENGINE_WALK_ORDER_H_

#include "phone_tables.h"

namespace marrowfield {

struct WalkOrder {
  const PhoneIds& walked;  // string1 of the alignment
  const PhoneIds& other;   // string2
  bool secondWalks;        // whether |walked| is the second list
};

// REQUIRES: both lists outlive the answer.
inline WalkOrder OrderOfWalk(const PhoneIds& first, const PhoneIds& second) {
  const bool secondWalks = second.size() < first.size();
  return WalkOrder{secondWalks ? second : first, secondWalks ? first : second,
                   secondWalks};
}

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_WALK_ORDER_H_
