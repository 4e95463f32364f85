// Threads for chunked work: chunks are handed out from one atomic counter,
// so a thread that finishes early takes the next chunk instead of waiting
// for a fixed share (candidate counts vary a lot between values).

#include "run_chunks.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace marrowfield::lists {

unsigned WorkerCount(unsigned requested, size_t work) {
  unsigned workers = requested;
  if (workers == 0) workers = std::max(1u, std::thread::hardware_concurrency());
  if (work < workers)
    workers = static_cast<unsigned>(std::max<size_t>(work, 1));
  return workers;
}

void RunChunks(
    size_t count, size_t chunkSize, unsigned workers,
    const std::function<void(unsigned, size_t, size_t, size_t)>& body) {
  const size_t chunks = (count + chunkSize - 1) / chunkSize;
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
  std::exception_ptr failure;
  std::mutex failureMutex;

  auto work = [&](unsigned worker) {
    try {
      for (size_t chunk = next++; chunk < chunks && !failed; chunk = next++) {
        const size_t begin = chunk * chunkSize;
        body(worker, chunk, begin, std::min(count, begin + chunkSize));
      }
    } catch (...) {
      std::lock_guard<std::mutex> lock(failureMutex);
      if (!failure) failure = std::current_exception();
      failed = true;
    }
  };

  // One chunk needs no second thread.
  if (chunks < workers) workers = static_cast<unsigned>(std::max<size_t>(chunks, 1));
  std::vector<std::thread> threads;
  try {
    for (unsigned w = 1; w < workers; ++w) threads.emplace_back(work, w);
  } catch (...) {
    // Fewer threads than asked: the ones started and this one share the
    // work, which changes nothing in the results.
  }
  work(0);
  for (std::thread& t : threads) t.join();
  if (failure) std::rethrow_exception(failure);
}

std::vector<size_t> PlaceByBucket(std::vector<size_t>& counts, size_t chunks,
                                  size_t buckets) {
  std::vector<size_t> bucketBegin(buckets + 1, 0);
  size_t placed = 0;
  for (size_t b = 0; b < buckets; ++b) {
    bucketBegin[b] = placed;
    for (size_t c = 0; c < chunks; ++c) {
      const size_t count = counts[c * buckets + b];
      counts[c * buckets + b] = placed;
      placed += count;
    }
  }
  bucketBegin[buckets] = placed;
  return bucketBegin;
}

}  // namespace marrowfield::lists
