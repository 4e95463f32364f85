// Workloads for the benchmarks: surnames with the spellings people
// misspell them by (mostly outside the lexicon, so they exercise the
// letter-to-sound rules), and dictionary words (mostly inside it).

#ifndef MARROWFIELD_BENCH_BENCH_WORDS_H_
#define MARROWFIELD_BENCH_BENCH_WORDS_H_

#include <algorithm>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace marrowfield {

// A surname stem and endings; their products are realistic-looking names,
// most of which the lexicon does not hold.
inline std::vector<std::string> BenchNames(size_t count) {
  static const char* const kStems[] = {
      "smi",  "smy", "jon",  "thom", "tom", "mac",  "mc",    "cath",
      "kath", "ste", "phil", "fil",  "wil", "hugh", "ander", "peter",
      "mor",  "har", "bren", "sch",  "kov", "nov",  "ber",   "gal"};
  static const char* const kEnds[] = {
      "th",  "the", "es",  "son", "sen",   "kins", "kin",   "rick",
      "ski", "sky", "ley", "ly",  "field", "ford", "ton",   "tin",
      "ner", "nor", "ing", "ins", "man",   "mann", "stein", "stine"};
  // Every combination once, shuffled, so that a cold cache stays cold for
  // the first 4 608 names; larger requests repeat them.
  std::vector<std::string> all;
  for (const char* stem : kStems) {
    for (const char* end : kEnds) {
      for (char suffix : std::string("\0aeiosyn", 8)) {
        all.push_back(std::string(stem) + end +
                      (suffix ? std::string(1, suffix) : std::string()));
      }
    }
  }
  std::mt19937 random(1);
  std::shuffle(all.begin(), all.end(), random);
  std::vector<std::string> names;
  for (size_t n = 0; n < count; ++n) names.push_back(all[n % all.size()]);
  return names;
}

// Dictionary words from Debian's wamerican; names when it is missing.
inline std::vector<std::string> BenchDictionaryWords(size_t count) {
  std::ifstream dict("/usr/share/dict/american-english");
  std::vector<std::string> all;
  for (std::string line; std::getline(dict, line);) {
    // Lower-case letters only, so that the floor looks up exactly the
    // strings the engine hands Flite after cleaning.
    if (!line.empty() && line.find_first_not_of("abcdefghijklmnopqrstuvwxyz") ==
                             std::string::npos) {
      all.push_back(line);
    }
  }
  if (all.empty()) return BenchNames(count);
  std::mt19937 random(2);
  std::vector<std::string> words;
  for (size_t n = 0; n < count; ++n)
    words.push_back(all[random() % all.size()]);
  return words;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_BENCH_BENCH_WORDS_H_
