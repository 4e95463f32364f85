// Whether the tolerant alignment walk of two phone lists gives up, told
// for callers (pair finding) that ask about millions of pairs of which
// most are unrelated: the walk's steps are replayed from lists held
// inline, counting only its forced steps, and the replay stops as soon as
// they pass the walk's allowance (ForcedStepTolerance). Unrelated names
// need a forced step at almost every phone, so most replays end within the
// first few phones; the walk itself would also record every step's value
// and score them, from phone lists scattered over the heap.
//
// The replay takes the walk's own decisions (alignment_walk.h): the same
// nearest-phone search over the same tolerant distances, the same rule for
// which phone is passed over, and whether a phone may be passed over
// silently, which depends only on its list and place and so is read once
// per list. It therefore gives up exactly where the walk does. (The strict
// walk has given up there too on every list tried, but the capped vowel
// distances can lead its search elsewhere, so nothing here relies on it.)

#ifndef MARROWFIELD_ENGINE_FORCED_STEP_REPLAY_H_
#define MARROWFIELD_ENGINE_FORCED_STEP_REPLAY_H_

#include <cstddef>
#include <cstdint>

#include "alignment_walk.h"
#include "phone_tables.h"

namespace marrowfield {

class ForcedStepReplay {
 public:
  // Lists of more phones than this are never said to give up.
  static constexpr size_t kMaxPhones = 15;

  // A phone list as the replay reads it, held inline so that many can lie
  // side by side.
  struct Phones {
    uint8_t count = 0;  // 0: nothing to tell from
    PhoneId ids[kMaxPhones] = {};
    // Bit k: the k-th phone may be passed over silently (it can be blank
    // and PhoneticMatcher::CanBeSkipped allows it there).
    uint16_t silent = 0;
    size_t size() const { return count; }
    PhoneId operator[](size_t k) const { return ids[k]; }
  };
  static_assert(kMaxPhones <= 16, "a bit of |silent| per phone");

  // Takes the distances from the current tables, which must stay as they
  // are while the replay is used. Without tables it tells nothing.
  ForcedStepReplay();

  Phones Read(const PhoneIds& phones) const;

  // Whether the tolerant walk of |first| against |second| (in that order,
  // which decides who walks when the lengths tie) gives up; false for a
  // list of more than kMaxPhones phones.
  bool WalkGivesUp(const PhoneIds& first, const PhoneIds& second) const;
  // The same for lists Read made.
  bool WalkGivesUp(const Phones& first, const Phones& second) const {
    if (first.count == 0 || second.count == 0) return false;
    // The shorter list walks, the first on a tie (walk_order.h).
    return second.count < first.count ? Replay(second, first)
                                      : Replay(first, second);
  }

 private:
  // Whether the walk of |walked| against |other| runs out of forced steps.
  bool Replay(const Phones& walked, const Phones& other) const;

  // TolerantPhoneDistance of every pair of phone ids, at most
  // UNRELATED_DISTANCE (the search never chooses a phone that far): a byte
  // each, so that the table takes few of the cache lines the candidates
  // need.
  int8_t distance[kPhoneIdCount][kPhoneIdCount];
  bool ready = false;  // the tables were there
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_FORCED_STEP_REPLAY_H_
