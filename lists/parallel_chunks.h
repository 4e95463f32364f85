// Progress for pair finding's chunked work (run_chunks.h), which threads
// report as they finish chunks.

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

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_PARALLEL_CHUNKS_H_
