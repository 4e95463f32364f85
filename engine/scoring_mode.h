// The ways two words can be scored. kStrict is the engine's score as
// compare_words gives it; kTolerant lets the alignment pass over a phone
// that cannot be silent, at a cost, where the strict score gives up. Every
// caller that does not ask for a mode gets kStrict.

#ifndef MARROWFIELD_ENGINE_SCORING_MODE_H_
#define MARROWFIELD_ENGINE_SCORING_MODE_H_

namespace marrowfield {
enum class ScoringMode { kStrict = 0, kTolerant = 1 };
}  // namespace marrowfield

#endif  // MARROWFIELD_ENGINE_SCORING_MODE_H_
