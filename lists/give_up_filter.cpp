// The give-up filter's readings. A single full word's tolerant score walks
// its written phones against the other's, and, when either word has a
// respelling, the two respellings (a word without one standing in as
// written): TolerantDistanceOfReadings. Without a shared key it walks the
// written phones strictly, which scores 0 for words whose skeletons
// differ (skeleton_keys.h), as they do where no key is shared: such a
// candidate scores 0 too.

#include "give_up_filter.h"

namespace marrowfield::lists {
namespace {

// The word of a value the filter can judge: a single full word with phones
// and the tolerant readings' skeletons (which the score needs to take the
// tolerant walk at all).
const PreparedWord* SingleWord(const PreparedValue& value) {
  if (value.words.size() != 1) return nullptr;
  const PreparedWord& word = value.words[0];
  if (word.initial || word.phones.empty() || !word.skeletons) return nullptr;
  return &word;
}

}  // namespace

GiveUpFilter::GiveUpFilter(const std::vector<PreparedValue>& values)
    : targets(values.size()) {
  for (size_t v = 0; v < values.size(); ++v) {
    const PreparedWord* word = SingleWord(values[v]);
    if (word == nullptr) continue;
    Target& t = targets[v];
    t.written = replay.Read(word->phones);
    t.respelling = !word->respelled.empty();
    t.respelled = t.respelling ? replay.Read(word->respelled) : t.written;
    t.readable = true;
  }
}

void GiveUpFilter::Prepare(const PreparedValue& value, Query& query) const {
  query.readable = false;
  const PreparedWord* word = SingleWord(value);
  if (word == nullptr) return;
  query.written = replay.Read(word->phones);
  query.respelling = !word->respelled.empty();
  query.respelled =
      query.respelling ? replay.Read(word->respelled) : query.written;
  query.readable = true;
}

}  // namespace marrowfield::lists
