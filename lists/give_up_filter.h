// Candidates whose tolerant score is 0 because every walk of it gives up
// (forced_step_replay.h), told apart before they are scored. On lists of
// short single names most candidates are such unrelated names, met on the
// neighbours of short skeletons; the filter keeps their readings side by
// side in the replay's form, so that refusing one reads a few bytes instead
// of the words' phone lists scattered over the heap.

#ifndef MARROWFIELD_LISTS_GIVE_UP_FILTER_H_
#define MARROWFIELD_LISTS_GIVE_UP_FILTER_H_

#include <cstddef>
#include <vector>

#include "forced_step_replay.h"
#include "tolerant_reading.h"
#include "value_scorer.h"

namespace marrowfield::lists {

class GiveUpFilter {
 public:
  // Over |targets| (values of a tolerant ValueScorer's Prepare). Values
  // other than a single full word are never refused.
  // REQUIRES: the engine is initialized.
  explicit GiveUpFilter(const std::vector<PreparedValue>& targets);

  // One query value's walks, prepared once for all of its candidates.
  struct Query {
    ForcedStepReplay::Phones written;
    ForcedStepReplay::Phones respelled;  // the written phones without one
    bool respelling = false;
    bool readable = false;
  };
  void Prepare(const PreparedValue& value, Query& query) const;
  // Starts fetching what Walks reads of |target|.
  void Prefetch(size_t target) const { __builtin_prefetch(&targets[target]); }

  // The walks of the tolerant score of |query|'s value against target
  // |target| (in that order) that are proven to give up; the score is 0
  // when they all do (WalksGivingUp::All).
  WalksGivingUp Walks(const Query& query, size_t target) const {
    WalksGivingUp proven;
    const Target& t = targets[target];
    if (!query.readable || !t.readable) return proven;
    proven.written = replay.WalkGivesUp(query.written, t.written);
    proven.respelled = (!query.respelling && !t.respelling) ||
                       replay.WalkGivesUp(query.respelled, t.respelled);
    return proven;
  }

 private:
  // One cache line each: candidates are read in no order.
  struct alignas(64) Target {
    ForcedStepReplay::Phones written;
    ForcedStepReplay::Phones respelled;  // the written phones without one
    bool respelling = false;
    bool readable = false;
  };
  static_assert(sizeof(Target) == 64, "a target is one cache line");
  ForcedStepReplay replay;
  std::vector<Target> targets;
};

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_GIVE_UP_FILTER_H_
