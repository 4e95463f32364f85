// Each worker keeps one scorer (its scratch buffers are reused from pair to
// pair) and writes only the slots of its own chunks, so the scores do not
// depend on the thread count.

#include "score_many.h"

#include <memory>

#include "parallel_chunks.h"
#include "value_scorer.h"

namespace marrowfield::lists {

namespace {

// Big enough that handing out chunks costs nothing next to scoring them,
// small enough that two threads share a few thousand pairs.
constexpr size_t kPairsPerChunk = 256;

}  // namespace

void ScoreMany(const char* const* first, const char* const* second,
               size_t count, const PairOptions& options, int* scores) {
  const unsigned workers = WorkerCount(
      options.threads, (count + kPairsPerChunk - 1) / kPairsPerChunk);
  std::vector<std::unique_ptr<ValueScorer>> scorers;
  for (unsigned w = 0; w < workers; ++w) {
    scorers.push_back(
        std::make_unique<ValueScorer>(options.wholeCell, options.scoring));
  }
  RunChunks(count, kPairsPerChunk, workers,
            [&](unsigned worker, size_t, size_t begin, size_t end) {
              ValueScorer& scorer = *scorers[worker];
              for (size_t i = begin; i < end; ++i) {
                scores[i] = scorer.Score(scorer.Prepare(first[i]),
                                         scorer.Prepare(second[i]));
              }
            });
}

}  // namespace marrowfield::lists
