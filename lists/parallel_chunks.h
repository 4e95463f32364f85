// Work spread over threads in chunks, with progress. Pair finding cuts its
// work into numbered chunks and writes each chunk's results to its own
// slot, so that the answer never depends on which thread ran what.

#ifndef MARROWFIELD_LISTS_PARALLEL_CHUNKS_H_
#define MARROWFIELD_LISTS_PARALLEL_CHUNKS_H_

#include <cstddef>
#include <functional>
#include <mutex>

#include "pair_finder.h"

namespace marrowfield::lists {

// The number of worker threads |requested| stands for: the hardware's
// concurrency for 0, and never more than |work| nor less than 1.
unsigned WorkerCount(unsigned requested, size_t work);

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

// Runs body(worker, chunk, begin, end) for every chunk [begin, end) of
// [0, count) cut in pieces of |chunkSize|, on |workers| threads (the
// calling thread among them); worker < workers identifies the thread for
// per-thread scratch. Returns once every chunk is done. The first
// exception a body throws stops the handing out of chunks and is rethrown
// here.
void RunChunks(size_t count, size_t chunkSize, unsigned workers,
               const std::function<void(unsigned worker, size_t chunk,
                                        size_t begin, size_t end)>& body);

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_PARALLEL_CHUNKS_H_
