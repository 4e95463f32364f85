// Benchmarks of the exported engine operations against the floor of the
// Flite lookups they cannot avoid, measured in the same run. The cache is
// switched off for the uncached cases and cleared before every cold one.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "bench_words.h"
#include "flite_lexicon.h"
#include "marrowfield.h"
#include "mode_comparison.h"
#include "transcription_cache.h"

namespace marrowfield {
namespace {

constexpr size_t kPairs = 2000;

struct Setup {
  Setup() { initialize(); }
};

void EnsureInitialized() { static Setup setup; }

std::vector<std::string> Workload(bool names) {
  return names ? BenchNames(2 * kPairs) : BenchDictionaryWords(2 * kPairs);
}

// The floor: the raw Flite lookups of both words of every pair.
void BM_FliteLookupFloor(benchmark::State& state) {
  EnsureInitialized();
  const std::vector<std::string> words = Workload(state.range(0) == 1);
  const cst_lexicon* lexicon = CurrentLexicon();
  size_t k = 0;
  for (auto _ : state) {
    FliteValue answer(lex_lookup(lexicon, words[k].c_str(), nullptr, nullptr));
    benchmark::DoNotOptimize(answer.get());
    k = (k + 1) % words.size();
  }
  state.SetItemsProcessed(state.iterations());
}

// compare_words per word transcribed (two per pair), so that the time per
// item compares directly with one floor lookup.
void CompareWordsLoop(benchmark::State& state, bool cache, bool clear) {
  EnsureInitialized();
  SetTranscriptionCacheEnabled(cache);
  const std::vector<std::string> words = Workload(state.range(0) == 1);
  size_t k = 0;
  for (auto _ : state) {
    if (clear && k == 0) {
      state.PauseTiming();
      ClearTranscriptionCache();
      state.ResumeTiming();
    }
    benchmark::DoNotOptimize(
        compare_words(words[k].c_str(), words[k + 1].c_str()));
    k = (k + 2) % words.size();
  }
  state.SetItemsProcessed(2 * state.iterations());
  SetTranscriptionCacheEnabled(true);
}

void BM_CompareWordsUncached(benchmark::State& state) {
  CompareWordsLoop(state, false, false);
}
void BM_CompareWordsCold(benchmark::State& state) {
  CompareWordsLoop(state, true, true);
}
void BM_CompareWordsWarm(benchmark::State& state) {
  CompareWordsLoop(state, true, false);
}

// The cold ratio head to head: each iteration times a round of floor
// lookups and a round of cold comparisons of the same words back to back,
// so that both sides of every ratio saw the same spell of a noisy machine.
// Reports the median of the rounds' ratios as "cold_over_floor".
void BM_CompareWordsColdOverFloor(benchmark::State& state) {
  EnsureInitialized();
  SetTranscriptionCacheEnabled(true);
  const std::vector<std::string> words = Workload(state.range(0) == 1);
  const cst_lexicon* lexicon = CurrentLexicon();
  using Clock = std::chrono::steady_clock;
  std::vector<double> ratios;
  for (auto _ : state) {
    const Clock::time_point floorStart = Clock::now();
    for (const std::string& word : words) {
      FliteValue answer(lex_lookup(lexicon, word.c_str(), nullptr, nullptr));
      benchmark::DoNotOptimize(answer.get());
    }
    const Clock::time_point floorEnd = Clock::now();
    ClearTranscriptionCache();
    const Clock::time_point coldStart = Clock::now();
    for (size_t k = 0; k + 1 < words.size(); k += 2) {
      benchmark::DoNotOptimize(
          compare_words(words[k].c_str(), words[k + 1].c_str()));
    }
    const Clock::time_point coldEnd = Clock::now();
    ratios.push_back(std::chrono::duration<double>(coldEnd - coldStart) /
                     std::chrono::duration<double>(floorEnd - floorStart));
  }
  if (ratios.empty()) return;
  std::sort(ratios.begin(), ratios.end());
  state.counters["cold_over_floor"] = ratios[ratios.size() / 2];
}

// A warm comparison in a scoring mode, per pair, through the engine's C++
// entry the pair finding layer uses.
void CompareInModeLoop(benchmark::State& state, ScoringMode mode) {
  EnsureInitialized();
  SetTranscriptionCacheEnabled(true);
  const std::vector<std::string> words = Workload(true);
  const PhoneticMatcher matcher(CurrentLexicon());
  size_t k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        CompareWordsInMode(matcher, words[k], words[k + 1], mode));
    k = (k + 2) % words.size();
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_CompareStrictWarm(benchmark::State& state) {
  CompareInModeLoop(state, ScoringMode::kStrict);
}
void BM_CompareTolerantWarm(benchmark::State& state) {
  CompareInModeLoop(state, ScoringMode::kTolerant);
}

// The tolerant mode's cost head to head: each iteration times a round of
// warm strict comparisons and a round of warm tolerant comparisons of the
// same pairs of names, in alternating order. Reports the median of the
// rounds' ratios as "tolerant_over_strict".
void BM_TolerantOverStrictWarm(benchmark::State& state) {
  EnsureInitialized();
  SetTranscriptionCacheEnabled(true);
  const std::vector<std::string> words = Workload(true);
  const PhoneticMatcher matcher(CurrentLexicon());
  using Clock = std::chrono::steady_clock;
  auto round = [&](ScoringMode mode) {
    const Clock::time_point start = Clock::now();
    for (size_t k = 0; k + 1 < words.size(); k += 2) {
      benchmark::DoNotOptimize(
          CompareWordsInMode(matcher, words[k], words[k + 1], mode));
    }
    return std::chrono::duration<double>(Clock::now() - start);
  };
  round(ScoringMode::kStrict);  // every word in the cache
  std::vector<double> ratios;
  bool strictFirst = true;
  for (auto _ : state) {
    std::chrono::duration<double> strict{};
    std::chrono::duration<double> tolerant{};
    if (strictFirst) {
      strict = round(ScoringMode::kStrict);
      tolerant = round(ScoringMode::kTolerant);
    } else {
      tolerant = round(ScoringMode::kTolerant);
      strict = round(ScoringMode::kStrict);
    }
    strictFirst = !strictFirst;
    ratios.push_back(tolerant / strict);
  }
  if (ratios.empty()) return;
  std::sort(ratios.begin(), ratios.end());
  state.counters["tolerant_over_strict"] = ratios[ratios.size() / 2];
}

void BM_GetPhonemes(benchmark::State& state) {
  EnsureInitialized();
  SetTranscriptionCacheEnabled(state.range(0) == 1);
  const std::vector<std::string> words = BenchNames(kPairs);
  size_t k = 0;
  for (auto _ : state) {
    ResultIterator* phones = get_phonemes(words[k].c_str(), MODE_LEXICON);
    benchmark::DoNotOptimize(get_result_size(phones));
    close_result_iterator(phones);
    k = (k + 1) % words.size();
  }
  state.SetItemsProcessed(state.iterations());
  SetTranscriptionCacheEnabled(true);
}

void BM_SimilarWords10k(benchmark::State& state) {
  EnsureInitialized();
  SetTranscriptionCacheEnabled(state.range(0) == 1);
  const std::vector<std::string> words = BenchNames(10000);
  std::vector<const char*> list;
  for (const std::string& word : words) list.push_back(word.c_str());
  set_threshold(60);
  for (auto _ : state) {
    ResultIterator* similar =
        get_similar_words_from_list("smithson", list.data(), 10000);
    benchmark::DoNotOptimize(get_result_size(similar));
    close_result_iterator(similar);
  }
  set_threshold(50);
  state.SetItemsProcessed(10000 * state.iterations());
  SetTranscriptionCacheEnabled(true);
}

void BM_MatchPhrase50Words(benchmark::State& state) {
  EnsureInitialized();
  SetTranscriptionCacheEnabled(state.range(0) == 1);
  const std::vector<std::string> words = BenchDictionaryWords(50);
  std::string text;
  for (const std::string& word : words) text += word + " ";
  int start = 0;
  int length = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(match_sub_string_phonetically(
        "quick brown fox", text.c_str(), &start, &length, MODE_LEXICON));
  }
  state.SetItemsProcessed(50 * state.iterations());
  SetTranscriptionCacheEnabled(true);
}

// Argument 1: names; 0: dictionary words.
BENCHMARK(BM_FliteLookupFloor)->Arg(1)->Arg(0);
BENCHMARK(BM_CompareWordsUncached)->Arg(1)->Arg(0);
BENCHMARK(BM_CompareWordsCold)->Arg(1)->Arg(0);
BENCHMARK(BM_CompareWordsWarm)->Arg(1)->Arg(0);
BENCHMARK(BM_CompareWordsColdOverFloor)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareStrictWarm);
BENCHMARK(BM_CompareTolerantWarm);
BENCHMARK(BM_TolerantOverStrictWarm)->Unit(benchmark::kMillisecond);
// Argument 1: cache on; 0: off.
BENCHMARK(BM_GetPhonemes)->Arg(0)->Arg(1);
BENCHMARK(BM_SimilarWords10k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MatchPhrase50Words)->Arg(0)->Arg(1);

}  // namespace
}  // namespace marrowfield

BENCHMARK_MAIN();
