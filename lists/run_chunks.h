// Work spread over threads in numbered chunks. Callers write each chunk's
// results to a slot of its own, so that the answer never depends on which
// thread ran what. Nothing here knows the engine: the command line uses it
// as well, for reading and writing large lists.

#ifndef MARROWFIELD_LISTS_RUN_CHUNKS_H_
#define MARROWFIELD_LISTS_RUN_CHUNKS_H_

#include <cstddef>
#include <functional>
#include <vector>

namespace marrowfield::lists {

// The number of worker threads |requested| stands for: the hardware's
// concurrency for 0, and never more than |work| nor less than 1.
unsigned WorkerCount(unsigned requested, size_t work);

// Runs body(worker, chunk, begin, end) for every chunk [begin, end) of
// [0, count) cut in pieces of |chunkSize|, on |workers| threads (the
// calling thread among them); worker < workers identifies the thread for
// per-thread scratch. Returns once every chunk is done. The first
// exception a body throws stops the handing out of chunks and is rethrown
// here.
void RunChunks(size_t count, size_t chunkSize, unsigned workers,
               const std::function<void(unsigned worker, size_t chunk,
                                        size_t begin, size_t end)>& body);

// The counting sort's middle step, for items counted chunk by chunk into
// buckets: |counts| holds, at chunk * buckets + bucket, how many of a
// chunk's items fall in a bucket, and becomes where the first of them goes
// when all items are laid out bucket by bucket, chunk by chunk within a
// bucket (so each bucket keeps the items' order). Returns where each bucket
// begins, and the total at the end (buckets + 1 entries).
std::vector<size_t> PlaceByBucket(std::vector<size_t>& counts, size_t chunks,
                                  size_t buckets);

}  // namespace marrowfield::lists

#endif  // MARROWFIELD_LISTS_RUN_CHUNKS_H_
