// Whole-list pair finding at scale: the dedupe of a large generated column
// (200 000 distinct full names in 1 000 000 cells; fewer with
// MARROWFIELD_LISTS_BENCH_DISTINCT) end to end, through the library and
// through the command line when it is built, with 1 and 2 threads; the
// cost of scoring every pair, measured on a sample in the same run so that
// the exhaustive dedupe can be extrapolated; and the recall on the large
// corpus, against every value scored for a sample of values.
// bench/ratios.py turns the times and counters into the table.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "bench_corpus.h"
#include "distinct_texts.h"
#include "marrowfield.h"
#include "name_variants.h"
#include "pair_finder.h"
#include "transcription_cache.h"
#include "value_scorer.h"

namespace marrowfield::lists {
namespace {

using testing::NameRandom;

constexpr int kAccuracy = 60;
constexpr size_t kCellsPerDistinct = 5;
constexpr size_t kExhaustiveSample = 1500;
constexpr size_t kRecallQueries = 200;
// A prime that divides no count of names the benchmark is run with.
constexpr size_t kSpreadPrime = 2654435761u;

size_t DistinctCount() {
  return SizeFromEnvironment("MARROWFIELD_LISTS_BENCH_DISTINCT", 200000);
}

// The column as a user would have it: every distinct name at least once,
// a few names very often and most rarely, in no order.
struct Corpus {
  std::vector<std::string> distinct;
  std::vector<std::string> cells;
};

const Corpus& LargeCorpus() {
  static const Corpus corpus = [] {
    initialize();
    const std::vector<std::string> base = BaseNames();
    Corpus c;
    c.distinct = testing::FullNames(base, DistinctCount(), 1);
    c.cells = SkewedColumn(c.distinct, kCellsPerDistinct, 2);
    return c;
  }();
  return corpus;
}

double ProcessCpuSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

PairOptions Options(unsigned threads) {
  PairOptions options;
  options.accuracy = kAccuracy;
  options.threads = threads;
  return options;
}

// The dedupe as a user runs it: count the distinct cells, find the pairs,
// group them.
void BM_DedupeCells(benchmark::State& state) {
  const Corpus& corpus = LargeCorpus();
  const unsigned threads = static_cast<unsigned>(state.range(0));
  size_t pairCount = 0;
  size_t groupCount = 0;
  double processCpu = 0.0;
  for (auto _ : state) {
    const double cpuBefore = ProcessCpuSeconds();
    state.PauseTiming();
    // Every run transcribes its words afresh, as a new process would.
    ClearTranscriptionCache();
    state.ResumeTiming();
    const std::vector<std::string_view> cells(corpus.cells.begin(),
                                              corpus.cells.end());
    const DistinctTexts distinct = NumberDistinctTexts(cells, threads);
    std::vector<std::string> values;
    values.reserve(distinct.firstItem.size());
    for (uint32_t item : distinct.firstItem)
      values.push_back(corpus.cells[item]);
    std::vector<size_t> counts(values.size(), 0);
    for (uint32_t value : distinct.ofItem) ++counts[value];
    const auto pairs = FindDuplicatePairs(values, Options(threads));
    const auto groups =
        GroupDuplicates(values, counts, pairs, Options(threads));
    pairCount = pairs.size();
    groupCount = groups.size();
    processCpu += ProcessCpuSeconds() - cpuBefore;
  }
  // The CPU time of every thread: on a machine shared with other work the
  // wall-clock time says more about the neighbours than about the dedupe.
  state.counters["process_cpu_s"] = processCpu;
  state.counters["cells"] = static_cast<double>(corpus.cells.size());
  state.counters["distinct"] = static_cast<double>(corpus.distinct.size());
  state.counters["pairs"] = static_cast<double>(pairCount);
  state.counters["groups"] = static_cast<double>(groupCount);
}
BENCHMARK(BM_DedupeCells)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

// About 1 000 000 cells of 32 000 distinct single names (the corpus's
// names and their misspellings), deduped with each scoring. The tolerant
// keys of a name are its skeleton's deletion neighbours, which on a list
// of short single names bring in many more candidates than the skeleton
// alone; the ratio of the two modes says what that costs.
const Corpus& SingleNameCorpus() {
  static const Corpus corpus = [] {
    initialize();
    const std::vector<std::string> base = BaseNames();
    Corpus c;
    // The smoke run's MARROWFIELD_LISTS_BENCH_DISTINCT shrinks this list
    // as it does the full names.
    const size_t distinct = std::min<size_t>(DistinctCount(), 32000);
    c.distinct = testing::NameVariants(base, distinct, 3);
    c.cells = c.distinct;
    NameRandom random(5);
    const size_t n = c.distinct.size();
    while (c.cells.size() < distinct * 31) {
      const double u = static_cast<double>(random.Below(1u << 30)) / (1u << 30);
      const size_t rank =
          static_cast<size_t>(u * u * u * static_cast<double>(n));
      c.cells.push_back(c.distinct[(rank * kSpreadPrime) % n]);
    }
    return c;
  }();
  return corpus;
}

void BM_DedupeSingleNames(benchmark::State& state) {
  const Corpus& corpus = SingleNameCorpus();
  PairOptions options = Options(2);
  options.scoring = static_cast<ScoringMode>(state.range(0));
  size_t pairCount = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ClearTranscriptionCache();
    state.ResumeTiming();
    const std::vector<std::string_view> cells(corpus.cells.begin(),
                                              corpus.cells.end());
    const DistinctTexts distinct = NumberDistinctTexts(cells, 2);
    std::vector<std::string> values;
    values.reserve(distinct.firstItem.size());
    for (uint32_t item : distinct.firstItem)
      values.push_back(corpus.cells[item]);
    std::vector<size_t> counts(values.size(), 0);
    for (uint32_t value : distinct.ofItem) ++counts[value];
    const auto pairs = FindDuplicatePairs(values, options);
    const auto groups = GroupDuplicates(values, counts, pairs, options);
    pairCount = pairs.size();
    benchmark::DoNotOptimize(groups.size());
  }
  state.counters["distinct"] = static_cast<double>(corpus.distinct.size());
  state.counters["pairs"] = static_cast<double>(pairCount);
}
BENCHMARK(BM_DedupeSingleNames)
    ->Arg(static_cast<int>(ScoringMode::kStrict))
    ->Arg(static_cast<int>(ScoringMode::kTolerant))
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

#ifdef MARROWFIELD_CLI_PATH
// The same dedupe through the command line on a CSV file of the cells:
// reading, pair finding, grouping and writing, in a process of its own.
void BM_CliDedupe(benchmark::State& state) {
  const Corpus& corpus = LargeCorpus();
  const std::string path = "/tmp/marrowfield_lists_bench_" +
                           std::to_string(corpus.cells.size()) + ".csv";
  {
    std::ofstream csv(path);
    csv << "name\n";
    // Quoted: "Smith, John" holds a comma.
    for (const std::string& cell : corpus.cells) csv << '"' << cell << "\"\n";
  }
  const std::string command = std::string(MARROWFIELD_CLI_PATH) + " dedupe " +
                              path + " --column name --format csv --threads " +
                              std::to_string(state.range(0)) + " >/dev/null";
  for (auto _ : state) {
    // Exit 0 with groups, 1 without; anything else is a failure.
    const int status = std::system(command.c_str());
    if (status != 0 && status != 256)
      state.SkipWithError("marrowfield dedupe failed");
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_CliDedupe)
    ->Arg(1)
    ->Arg(2)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);
#endif

// Scoring every pair of a sample of the distinct values, transcribed
// beforehand: the per-pair cost of the exhaustive dedupe, at its cheapest.
void BM_ExhaustivePairs(benchmark::State& state) {
  const Corpus& corpus = LargeCorpus();
  ValueScorer scorer(false, ScoringMode::kStrict);
  NameRandom random(4);
  std::vector<PreparedValue> sample;
  for (size_t k = 0; k < kExhaustiveSample; ++k) {
    sample.push_back(
        scorer.Prepare(corpus.distinct[random.Below(corpus.distinct.size())]));
  }
  size_t pairs = 0;
  for (auto _ : state) {
    int found = 0;
    for (size_t i = 0; i < sample.size(); ++i) {
      for (size_t j = i + 1; j < sample.size(); ++j) {
        found += scorer.Score(sample[i], sample[j]) >= kAccuracy;
      }
    }
    benchmark::DoNotOptimize(found);
    pairs += sample.size() * (sample.size() - 1) / 2;
  }
  state.SetItemsProcessed(static_cast<int64_t>(pairs));
  state.counters["distinct"] = static_cast<double>(corpus.distinct.size());
}
BENCHMARK(BM_ExhaustivePairs)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Recall on the large corpus: for a sample of values, every other value is
// scored and the pairs reaching each accuracy are looked up among those
// the pair finder found. The argument is the scoring mode: the blocking
// keys must serve the tolerant score's pairs as well as the strict one's.
void BM_RecallLargeCorpus(benchmark::State& state) {
  const Corpus& corpus = LargeCorpus();
  const std::vector<std::string>& values = corpus.distinct;
  const auto mode = static_cast<ScoringMode>(state.range(0));
  PairOptions options = Options(2);
  options.scoring = mode;
  ValueScorer scorer(false, mode);
  std::vector<PreparedValue> prepared;
  std::vector<ValuePair> found;
  std::vector<size_t> expected(101, 0);
  std::vector<size_t> hits(101, 0);
  for (auto _ : state) {
    found = FindDuplicatePairs(values, options);
    prepared.clear();
    for (const std::string& v : values) prepared.push_back(scorer.Prepare(v));
    NameRandom random(6);
    std::fill(expected.begin(), expected.end(), 0);
    std::fill(hits.begin(), hits.end(), 0);
    for (size_t k = 0; k < kRecallQueries; ++k) {
      const size_t q = random.Below(values.size());
      std::vector<int> foundScore(values.size(), -1);
      for (const ValuePair& p : found) {
        if (p.first == q) foundScore[p.second] = p.score;
        if (p.second == q) foundScore[p.first] = p.score;
      }
      for (size_t t = 0; t < values.size(); ++t) {
        if (t == q) continue;
        // Pairs are scored first value to second, as the finder does.
        const int score = t > q ? scorer.Score(prepared[q], prepared[t])
                                : scorer.Score(prepared[t], prepared[q]);
        if (score < kAccuracy) continue;
        ++expected[static_cast<size_t>(score)];
        hits[static_cast<size_t>(score)] += foundScore[t] == score;
      }
    }
  }
  ReportRecall(state, expected, hits);
}
BENCHMARK(BM_RecallLargeCorpus)
    ->Arg(static_cast<int>(ScoringMode::kStrict))
    ->Arg(static_cast<int>(ScoringMode::kTolerant))
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

// Recall of tolerant pair finding on 3 000 values that are mostly not
// names: proper nouns of the system word list (Debian's wamerican), with
// some names and their misspellings, every pair scored. Unrelated words
// that share a long ending are where a tolerant score could relate what
// no blocking key brings together.
void BM_RecallProperNouns(benchmark::State& state) {
  std::vector<std::string> nouns;
  {
    std::ifstream dict("/usr/share/dict/american-english");
    for (std::string word; std::getline(dict, word);) {
      if (!word.empty() && std::isupper(static_cast<unsigned char>(word[0])) &&
          word.find('\'') == std::string::npos)
        nouns.push_back(word);
    }
  }
  if (nouns.size() < 2400) {
    state.SkipWithError("needs /usr/share/dict/american-english (wamerican)");
    return;
  }
  initialize();
  NameRandom random(7);
  std::vector<std::string> values;
  for (size_t k = 0; k < 2400; ++k)
    values.push_back(nouns[random.Below(nouns.size())]);
  const std::vector<std::string> names =
      testing::ReadNameGroups(MARROWFIELD_REFERENCE_NAMES);
  for (size_t k = 0; k < 300; ++k) {
    const std::string name = names[random.Below(names.size())];
    values.push_back(testing::Capitalised(name));
    values.push_back(testing::Capitalised(testing::MisspellName(name, random)));
  }
  std::sort(values.begin(), values.end());
  values.erase(std::unique(values.begin(), values.end()), values.end());

  PairOptions options = Options(2);
  options.scoring = ScoringMode::kTolerant;
  ValueScorer scorer(false, ScoringMode::kTolerant);
  std::vector<size_t> expected(101, 0);
  std::vector<size_t> hits(101, 0);
  for (auto _ : state) {
    const std::vector<ValuePair> found = FindDuplicatePairs(values, options);
    std::vector<int> foundScore(values.size() * values.size(), -1);
    for (const ValuePair& p : found)
      foundScore[p.first * values.size() + p.second] = p.score;
    std::vector<PreparedValue> prepared;
    for (const std::string& v : values) prepared.push_back(scorer.Prepare(v));
    std::fill(expected.begin(), expected.end(), 0);
    std::fill(hits.begin(), hits.end(), 0);
    for (size_t i = 0; i < values.size(); ++i) {
      for (size_t j = i + 1; j < values.size(); ++j) {
        const int score = scorer.Score(prepared[i], prepared[j]);
        if (score < kAccuracy) continue;
        ++expected[static_cast<size_t>(score)];
        hits[static_cast<size_t>(score)] +=
            foundScore[i * values.size() + j] == score;
      }
    }
  }
  ReportRecall(state, expected, hits);
  state.counters["values"] = static_cast<double>(values.size());
}
BENCHMARK(BM_RecallProperNouns)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace
}  // namespace marrowfield::lists

BENCHMARK_MAIN();
