// Progress and cancelling for pair finding's chunked work (run_chunks.h):
// threads report progress as they finish chunks, and ask whether to stop
// between values.

#ifndef MARROWFIELD_LISTS_PARALLEL_CHUNKS_H_
#define MARROWFIELD_LISTS_PARALLEL_CHUNKS_H_

#include <cstddef>
#include <mutex>

#include "pair_finder.h"
#include "run_chunks.h"

namespace marrowfield::lists {

// Reports progress through an optional callback, one call at a time.
class Progress {
 public:
  Progress(const ProgressCallback& callback, size_t total);
  // Counts |units| more done and reports.
  void Advance(size_t units);

 private:
  const ProgressCallback& callback;
  std::mutex mutex;
  size_t total;
  size_t done = 0;
};

// Asks the caller's cancel callback whether to stop, and throws Cancelled
// if so, which ends RunChunks on every thread.
inline void StopIfCancelled(const CancelCallback& cancel) {
  if (cancel && cancel()) throw Cancelled();
}

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_PARALLEL_CHUNKS_H_
