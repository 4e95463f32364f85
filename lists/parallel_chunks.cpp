// Progress reports, serialised so that a callback never runs twice at once
// and never sees the count go back.

#include "parallel_chunks.h"

#include <algorithm>

namespace marrowfield::lists {

Progress::Progress(const ProgressCallback& callback, size_t total)
    : callback(callback), total(total) {}

void Progress::Advance(size_t units) {
  if (!callback) return;
  std::lock_guard<std::mutex> lock(mutex);
  done = std::min(total, done + units);
  callback(done, total);
}

}  // namespace marrowfield::lists
