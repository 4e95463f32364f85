// Duplicate records at scale: 1 000 000 customers (first name, last name
// and one of 2 000 cities; fewer with MARROWFIELD_RECORDS_BENCH_COUNT)
// deduped by name within each city, end to end through the command line
// with --annotate, and through the library (its CPU seconds); the
// exhaustive dedupe of every city in CPU seconds, every name transcribed
// and the pairs of a sample of cities scored, so that scoring all of them
// can be extrapolated; the recall against that exhaustive dedupe for a
// sample of cities; and the precision and recall of deduping planted
// persons by name and city, beside deduping their last names alone.
// bench/ratios.py turns them into the table.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "marrowfield.h"
#include "bench_corpus.h"
#include "name_variants.h"
#include "records.h"
#include "transcription_cache.h"
#include "value_scorer.h"

namespace marrowfield::lists {
namespace {

using testing::NameRandom;

constexpr int kAccuracy = 60;
constexpr size_t kCities = 2000;
constexpr size_t kRecordsPerDistinctName = 5;
// Cities whose every pair is scored, of the 2 000.
constexpr size_t kExhaustiveCities = 100;
constexpr size_t kRecallCities = 200;
// A prime that divides no count of names the benchmark is run with.
constexpr size_t kSpreadPrime = 2654435761u;

size_t RecordCount() {
  return SizeFromEnvironment("MARROWFIELD_RECORDS_BENCH_COUNT", 1000000);
}

// "Smith, John" and "John Smith" as first and last name.
std::pair<std::string, std::string> Split(const std::string& full) {
  const size_t comma = full.find(", ");
  if (comma != std::string::npos)
    return {full.substr(comma + 2), full.substr(0, comma)};
  const size_t space = full.rfind(' ');
  if (space == std::string::npos) return {"", full};
  return {full.substr(0, space), full.substr(space + 1)};
}

// Customers as a list would hold them: a few names very common, most
// rare, spread over the cities at random, so that a common name occurs in
// many cities and now and then twice in one.
const RecordList& Customers() {
  static const RecordList records = [] {
    initialize();
    const size_t count = RecordCount();
    const std::vector<std::string> names = testing::FullNames(
        BaseNames(), std::max<size_t>(count / kRecordsPerDistinctName, 1), 7);
    RecordList list;
    list.nameFields = 2;
    list.sameFields = 1;
    list.fields.reserve(3 * count);
    NameRandom random(8);
    const size_t n = names.size();
    for (size_t k = 0; k < count; ++k) {
      const double u = static_cast<double>(random.Below(1u << 30)) / (1u << 30);
      const size_t rank =
          k < n ? k : static_cast<size_t>(u * u * u * static_cast<double>(n));
      auto [first, last] = Split(names[(rank * kSpreadPrime) % n]);
      list.fields.push_back(std::move(first));
      list.fields.push_back(std::move(last));
      list.fields.push_back("City " + std::to_string(random.Below(kCities)));
    }
    return list;
  }();
  return records;
}

// The records of each city, by record index.
std::map<std::string, std::vector<size_t>> ByCity(const RecordList& records) {
  std::map<std::string, std::vector<size_t>> cities;
  for (size_t r = 0; r < records.size(); ++r)
    cities[records.Field(r, 2)].push_back(r);
  return cities;
}

// The CPU seconds of the finished child processes so far: on a machine
// shared with other work, the wall-clock time of a run says more about the
// neighbours than about the run.
double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The CPU seconds of every thread of this process so far.
double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

PairOptions Options(unsigned threads) {
  PairOptions options;
  options.accuracy = kAccuracy;
  options.threads = threads;
  return options;
}

#ifdef MARROWFIELD_CLI_PATH
// The run a user makes: the CSV read, every record's group found, the
// groups written and the file written back with three columns more.
void BM_CliRecordsDedupe(benchmark::State& state) {
  const RecordList& records = Customers();
  const std::string path = "/tmp/marrowfield_records_bench_" +
                           std::to_string(records.size()) + ".csv";
  const std::string annotated = path + ".annotated.csv";
  {
    std::ofstream csv(path);
    csv << "FirstName,LastName,City\n";
    for (size_t r = 0; r < records.size(); ++r) {
      csv << '"' << records.Field(r, 0) << "\",\"" << records.Field(r, 1)
          << "\"," << records.Field(r, 2) << '\n';
    }
  }
  const std::string command =
      std::string(MARROWFIELD_CLI_PATH) + " dedupe " + path +
      " --name FirstName,LastName --same City --annotate " + annotated +
      " --format csv --threads " + std::to_string(state.range(0)) +
      " >/dev/null";
  double cpu = 0.0;
  for (auto _ : state) {
    const double before = ChildCpuSeconds();
    const int status = std::system(command.c_str());
    cpu += ChildCpuSeconds() - before;
    if (status != 0 && status != 256)
      state.SkipWithError("marrowfield dedupe failed");
  }
  std::remove(path.c_str());
  std::remove(annotated.c_str());
  state.counters["records"] = static_cast<double>(records.size());
  state.counters["child_cpu_s"] = cpu;
}
BENCHMARK(BM_CliRecordsDedupe)
    ->Arg(2)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

// Planted persons: the people of the labelled full-names corpus, each
// written in its several ways (misspelt, initials, "Last, First", with a
// title or a suffix, as the corpus makes them) as several records of one
// home city, a share of them moved to another city (the person moved or
// the city was typed differently), and beside half of them a relative:
// another first name, the same last name, the same city. Deduped through
// the command line by name within the city, and by the last name alone.
struct PlantedRecord {
  std::string first;
  std::string last;
  std::string city;
  size_t person = 0;
};

constexpr size_t kPlantedCities = 40;
constexpr size_t kMovedPercent = 15;

// "Dr. Kordell Barrows Jr." and "Barrows, Kordell" as first and last name:
// the title and the suffix are not part of either.
std::pair<std::string, std::string> PlantedName(const std::string& full) {
  std::vector<std::string> words;
  std::string last;
  std::string text = full;
  const size_t comma = text.find(", ");
  if (comma != std::string::npos)
    text = text.substr(comma + 2) + " " + text.substr(0, comma);
  for (size_t at = 0; at < text.size();) {
    const size_t end = std::min(text.find(' ', at), text.size());
    if (end > at) words.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  const std::set<std::string> titles = {"Mr.", "Mrs.", "Ms.", "Miss", "Dr."};
  const std::set<std::string> suffixes = {"Jr.", "Sr.", "II", "III", "IV"};
  while (words.size() > 1 && titles.count(words.front()) != 0)
    words.erase(words.begin());
  while (words.size() > 1 && suffixes.count(words.back()) != 0)
    words.pop_back();
  if (words.empty()) return {"", full};
  last = words.back();
  words.pop_back();
  std::string first;
  for (const std::string& w : words) first += (first.empty() ? "" : " ") + w;
  return {first, last};
}

std::vector<PlantedRecord> PlantedPersons() {
  std::ifstream in(MARROWFIELD_NAMES_DIR "/full_names.tsv");
  std::map<size_t, std::vector<std::string>> spellings;
  std::string line;
  std::getline(in, line);  // the header
  while (std::getline(in, line)) {
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    spellings[std::stoul(line.substr(0, tab))].push_back(line.substr(tab + 1));
  }
  std::vector<std::vector<std::string>> people;
  for (auto& [group, values] : spellings) people.push_back(std::move(values));
  NameRandom random(11);
  std::vector<PlantedRecord> records;
  const auto city = [](size_t k) { return "City " + std::to_string(k); };
  for (size_t p = 0; p < people.size(); ++p) {
    const size_t home = random.Below(kPlantedCities);
    for (const std::string& spelling : people[p]) {
      auto [first, last] = PlantedName(spelling);
      const size_t moved =
          random.Below(100) < kMovedPercent
              ? (home + 1 + random.Below(kPlantedCities - 1)) % kPlantedCities
              : home;
      records.push_back({first, last, city(moved), p});
    }
    if (random.Below(2) == 0) {
      // The first spelling of each person is the plain "First Last".
      const std::string last = PlantedName(people[p].front()).second;
      const size_t other =
          (p + 1 + random.Below(people.size() - 1)) % people.size();
      const std::string first = PlantedName(people[other].front()).first;
      records.push_back({first, last, city(home), people.size() + p});
    }
  }
  for (size_t k = records.size(); k > 1; --k)
    std::swap(records[k - 1], records[random.Below(k)]);
  return records;
}

std::vector<std::string> CsvFields(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back().push_back('"');
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back().push_back(c);
    }
  }
  return fields;
}

struct PairFigures {
  double precision = 0;
  double recall = 0;
  // Recall over the planted pairs whose two records name one city, the
  // pairs a dedupe within the city can find.
  double recallInCity = 0;
};

// The pairs of records put in one group (by |groupOfRow|; "" for none)
// against the pairs of records of one person.
PairFigures Figures(const std::vector<PlantedRecord>& records,
                    const std::vector<std::string>& groupOfRow) {
  const auto pairs = [](double n) { return n * (n - 1) / 2; };
  using PersonCity = std::pair<size_t, std::string>;
  std::map<size_t, double> ofPerson;
  std::map<PersonCity, double> ofPersonCity;
  std::map<std::string, std::map<PersonCity, double>> ofGroup;
  for (size_t r = 0; r < records.size(); ++r) {
    const PersonCity key{records[r].person, records[r].city};
    ++ofPerson[records[r].person];
    ++ofPersonCity[key];
    if (!groupOfRow[r].empty()) ++ofGroup[groupOfRow[r]][key];
  }
  double truth = 0, truthInCity = 0, found = 0, right = 0, rightInCity = 0;
  for (const auto& [person, n] : ofPerson) truth += pairs(n);
  for (const auto& [key, n] : ofPersonCity) truthInCity += pairs(n);
  for (const auto& [group, members] : ofGroup) {
    double size = 0;
    std::map<size_t, double> persons;
    for (const auto& [key, n] : members) {
      size += n;
      persons[key.first] += n;
      rightInCity += pairs(n);
    }
    for (const auto& [person, n] : persons) right += pairs(n);
    found += pairs(size);
  }
  const auto share = [](double part, double whole) {
    return whole == 0 ? 0.0 : part / whole;
  };
  return {share(right, found), share(right, truth),
          share(rightInCity, truthInCity)};
}

void BM_RecordsPlantedPersons(benchmark::State& state) {
  const std::vector<PlantedRecord> records = PlantedPersons();
  const std::string path = "/tmp/marrowfield_planted_persons.csv";
  const std::string annotated = path + ".annotated.csv";
  const std::string mapping = path + ".mapping.csv";
  {
    std::ofstream csv(path);
    csv << "FirstName,LastName,City\n";
    for (const PlantedRecord& r : records)
      csv << r.first << ',' << r.last << ',' << r.city << '\n';
  }
  const std::string program = MARROWFIELD_CLI_PATH;
  const std::string byName = program + " dedupe " + path +
                             " --name FirstName,LastName --same City "
                             "--annotate " +
                             annotated + " >/dev/null";
  const std::string byLast = program + " dedupe " + path +
                             " --column LastName --mapping " + mapping +
                             " >/dev/null";
  std::vector<std::string> nameGroup(records.size());
  std::vector<std::string> lastGroup(records.size());
  for (auto _ : state) {
    for (const std::string& command : {byName, byLast}) {
      const int status = std::system(command.c_str());
      if (status != 0 && status != 256)
        state.SkipWithError("marrowfield dedupe failed");
    }
    state.PauseTiming();
    std::ifstream rows(annotated);
    std::string line;
    std::getline(rows, line);  // the header
    for (size_t r = 0; r < records.size() && std::getline(rows, line); ++r) {
      const std::vector<std::string> fields = CsvFields(line);
      nameGroup[r] = fields.size() >= 3 ? fields[fields.size() - 3] : "";
    }
    std::map<std::string, std::string> canonical;
    std::ifstream map(mapping);
    std::getline(map, line);  // the header
    while (std::getline(map, line)) {
      const std::vector<std::string> fields = CsvFields(line);
      if (fields.size() == 2) canonical[fields[0]] = fields[1];
    }
    // Rows of one last name are one value, in a group or not.
    for (size_t r = 0; r < records.size(); ++r) {
      const auto it = canonical.find(records[r].last);
      lastGroup[r] = it == canonical.end() ? records[r].last : it->second;
    }
    state.ResumeTiming();
  }
  std::remove(path.c_str());
  std::remove(annotated.c_str());
  std::remove(mapping.c_str());
  state.counters["records"] = static_cast<double>(records.size());
  for (const auto& [key, groups] : {std::make_pair("name_city", &nameGroup),
                                    std::make_pair("last", &lastGroup)}) {
    const PairFigures figures = Figures(records, *groups);
    state.counters[std::string("planted_precision_") + key] = figures.precision;
    state.counters[std::string("planted_recall_") + key] = figures.recall;
    state.counters[std::string("planted_recall_in_city_") + key] =
        figures.recallInCity;
  }
}
BENCHMARK(BM_RecordsPlantedPersons)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);
#endif

// The exhaustive dedupe within each city: every distinct name of every
// city transcribed (the cache cleared first, as for BM_RecordsRecall's
// pair finding, which transcribes the same names), then every pair of
// distinct names within a city scored word by word exactly as pair
// finding scores a candidate (the prepared scorer with its remembered
// word scores, which pair finding has too), on a sample of cities and
// extrapolated by the pairs every city holds. Both are CPU seconds;
// reading the file and grouping are left out here as there. There are no
// also fields, so the name's score is the record's.
double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void BM_RecordsExhaustivePairs(benchmark::State& state) {
  const RecordList& records = Customers();
  const auto cities = ByCity(records);
  // The distinct names of each city, in record order of their first copy.
  std::vector<std::vector<std::string>> names;
  double namesInCities = 0;
  double pairsInCities = 0;
  for (const auto& [city, members] : cities) {
    std::set<std::string> seen;
    std::vector<std::string> distinct;
    for (const size_t r : members) {
      std::string name = RecordName(records, r);
      if (seen.insert(name).second) distinct.push_back(std::move(name));
    }
    const double n = static_cast<double>(distinct.size());
    namesInCities += n;
    pairsInCities += n * (n - 1) / 2;
    names.push_back(std::move(distinct));
  }
  const size_t step = std::max<size_t>(names.size() / kExhaustiveCities, 1);
  double transcribeCpu = 0;
  double scoreCpu = 0;
  double samplePairs = 0;
  for (auto _ : state) {
    ClearTranscriptionCache();
    ValueScorer scorer(false, ScoringMode::kStrict);
    std::vector<std::vector<PreparedValue>> sample;
    const double beforeTranscribing = ThreadCpuSeconds();
    for (size_t c = 0; c < names.size(); ++c) {
      std::vector<PreparedValue> prepared;
      prepared.reserve(names[c].size());
      for (const std::string& name : names[c])
        prepared.push_back(scorer.Prepare(name));
      if (c % step == 0) sample.push_back(std::move(prepared));
    }
    transcribeCpu += ThreadCpuSeconds() - beforeTranscribing;
    int found = 0;
    for (std::vector<PreparedValue>& prepared : sample) {
      std::vector<PreparedValue*> numbered;
      for (PreparedValue& v : prepared) numbered.push_back(&v);
      ValueScorer::NumberWords(numbered, 1);
      const double before = ThreadCpuSeconds();
      for (size_t i = 0; i < prepared.size(); ++i) {
        for (size_t j = i + 1; j < prepared.size(); ++j)
          found += scorer.Score(prepared[i], prepared[j]) >= kAccuracy;
      }
      scoreCpu += ThreadCpuSeconds() - before;
      const double n = static_cast<double>(prepared.size());
      samplePairs += n * (n - 1) / 2;
    }
    benchmark::DoNotOptimize(found);
  }
  state.counters["pairs_in_cities"] = pairsInCities;
  state.counters["names_in_cities"] = namesInCities;
  // A smoke run's cities may hold one name each, and no pair at all.
  const double perPair = samplePairs > 0 ? scoreCpu / samplePairs : 0.0;
  state.counters["ns_per_pair"] = perPair * 1e9;
  state.counters["transcription_cpu_s"] = transcribeCpu;
  state.counters["exhaustive_cpu_s"] = transcribeCpu + perPair * pairsInCities;
}
BENCHMARK(BM_RecordsExhaustivePairs)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The library's dedupe of the records, then, for a sample of cities,
// every pair of their records scored and the pairs reaching each accuracy
// looked up among those found.
void BM_RecordsRecall(benchmark::State& state) {
  const RecordList& records = Customers();
  ValueScorer scorer(false, ScoringMode::kStrict);
  std::vector<size_t> expected(101, 0);
  std::vector<size_t> hits(101, 0);
  double cpu = 0;
  for (auto _ : state) {
    ClearTranscriptionCache();
    const double before = ProcessCpuSeconds();
    const std::vector<ValuePair> found =
        FindDuplicateRecords(records, Options(2));
    cpu += ProcessCpuSeconds() - before;
    state.PauseTiming();
    std::set<std::pair<size_t, size_t>> foundPairs;
    for (const ValuePair& p : found) foundPairs.insert({p.first, p.second});
    const auto cities = ByCity(records);
    std::fill(expected.begin(), expected.end(), 0);
    std::fill(hits.begin(), hits.end(), 0);
    size_t taken = 0;
    for (auto it = cities.begin(); it != cities.end() && taken < kRecallCities;
         ++it, ++taken) {
      // Identical records are compared once, through their first copy.
      std::map<std::string, size_t> firstOfName;
      for (const size_t r : it->second)
        firstOfName.emplace(RecordName(records, r), r);
      std::vector<std::pair<size_t, PreparedValue>> prepared;
      for (const auto& [name, r] : firstOfName)
        prepared.emplace_back(r, scorer.Prepare(name));
      std::sort(prepared.begin(), prepared.end(),
                [](const auto& x, const auto& y) { return x.first < y.first; });
      for (size_t i = 0; i < prepared.size(); ++i) {
        for (size_t j = i + 1; j < prepared.size(); ++j) {
          const int score =
              scorer.Score(prepared[i].second, prepared[j].second);
          if (score < kAccuracy) continue;
          ++expected[static_cast<size_t>(score)];
          hits[static_cast<size_t>(score)] +=
              foundPairs.count({prepared[i].first, prepared[j].first});
        }
      }
    }
    state.ResumeTiming();
  }
  ReportRecall(state, expected, hits);
  // Over both threads: on a machine shared with other work the wall-clock
  // time says more about the neighbours than about the pair finding.
  state.counters["pair_finding_cpu_s"] = cpu;
}
BENCHMARK(BM_RecordsRecall)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

}  // namespace
}  // namespace marrowfield::lists

BENCHMARK_MAIN();
