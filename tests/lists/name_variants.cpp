// Making name variants: the slips are string rewrites applied at a random
// place where they fit, the way people write a name they have only heard.

#include "name_variants.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <stdexcept>
#include <unordered_set>

namespace marrowfield::lists::testing {
namespace {

bool IsVowelLetter(char c) {
  return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == 'y';
}

// Names such as "schröder" and "jesús" hold letters of several bytes; a
// slip takes or repeats whole letters, so that every variant stays UTF-8
// (a reader would otherwise take the whole file for Windows-1252).
bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

// The byte length of the letter starting at |p|.
size_t LetterLength(const std::string& s, size_t p) {
  size_t q = p + 1;
  while (q < s.size() && IsContinuationByte(s[q])) ++q;
  return q - p;
}

// The first letter of |s|, all of its bytes.
std::string FirstLetter(const std::string& s) {
  return s.empty() ? s : s.substr(0, LetterLength(s, 0));
}

// Replaces one occurrence (chosen at random) of |from| by |to|; false when
// |from| does not occur.
bool ReplaceOne(std::string& s, const std::string& from, const std::string& to,
                NameRandom& random) {
  std::vector<size_t> places;
  for (size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + 1))
    places.push_back(p);
  if (places.empty()) return false;
  s.replace(places[random.Below(places.size())], from.size(), to);
  return true;
}

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  const size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

bool OneSlip(std::string& s, NameRandom& random) {
  static const char* const kSwaps[][2] = {
      {"ph", "f"},   {"f", "ph"},    {"ck", "k"},    {"c", "k"},
      {"k", "c"},    {"ie", "y"},    {"y", "ie"},    {"ey", "y"},
      {"y", "ey"},   {"son", "sen"}, {"sen", "son"}, {"mc", "mac"},
      {"mac", "mc"}, {"a", "e"},     {"e", "a"},     {"i", "y"},
      {"o", "u"},    {"u", "o"},     {"ou", "ow"},   {"s", "z"},
      {"th", "t"},   {"wr", "r"},    {"kn", "n"},    {"gh", ""},
      {"h", ""}};
  constexpr size_t kSwapCount = sizeof(kSwaps) / sizeof(kSwaps[0]);
  switch (random.Below(5)) {
    case 0: {  // a doubled consonant
      const size_t p = 1 + random.Below(s.size() > 1 ? s.size() - 1 : 1);
      // Letters beyond ASCII here are accented vowels (and a doubled
      // byte of one would be no letter at all).
      if (p >= s.size() || IsVowelLetter(s[p]) || !IsAscii(s[p])) return false;
      s.insert(p, 1, s[p]);
      return true;
    }
    case 1: {  // a dropped letter, never the first
      if (s.size() < 4) return false;
      size_t p = 1 + random.Below(s.size() - 1);
      while (p > 0 && IsContinuationByte(s[p])) --p;
      if (p == 0) return false;
      s.erase(p, LetterLength(s, p));
      return true;
    }
    case 2: {  // a silent e or h, or a plural
      static const char* const kEndings[] = {"e", "s", "h"};
      s += kEndings[random.Below(3)];
      return true;
    }
    default: {
      const auto& swap = kSwaps[random.Below(kSwapCount)];
      return ReplaceOne(s, swap[0], swap[1], random) && !s.empty();
    }
  }
}

}  // namespace

uint64_t NameRandom::Next() {
  uint64_t z = (state += 0x9e3779b97f4a7c15ull);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
  return z ^ (z >> 31);
}

std::vector<std::string> ReadNameGroups(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<std::string> names;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    size_t start = 0;
    while (start <= line.size()) {
      size_t comma = line.find(',', start);
      if (comma == std::string::npos) comma = line.size();
      std::string name = Trim(line.substr(start, comma - start));
      std::transform(
          name.begin(), name.end(), name.begin(),
          [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
      if (!name.empty()) names.push_back(name);
      start = comma + 1;
    }
  }
  return names;
}

std::vector<std::string> ReadCorpusValues(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::vector<std::string> values;
  std::string line;
  std::getline(in, line);  // the header row
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t tab = line.find('\t');
    if (tab != std::string::npos) values.push_back(line.substr(tab + 1));
  }
  return values;
}

std::string MisspellName(const std::string& name, NameRandom& random) {
  std::string s = name;
  const int slips = random.Below(4) == 0 ? 2 : 1;
  for (int k = 0; k < slips; ++k) {
    for (int attempt = 0; attempt < 8; ++attempt) {
      std::string t = s;
      if (OneSlip(t, random) && t.size() > 1) {
        s = t;
        break;
      }
    }
  }
  return s;
}

std::string Capitalised(std::string name) {
  if (!name.empty() && name[0] >= 'a' && name[0] <= 'z')
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return name;
}

namespace {

// Adds what |make| gives to |out| until it holds |count| distinct values,
// or until no new value has turned up for a long while; sorted.
template <typename Make>
std::vector<std::string> Distinct(std::vector<std::string> out, size_t count,
                                  Make make) {
  std::unordered_set<std::string> seen(out.begin(), out.end());
  for (size_t misses = 0; out.size() < count && misses < 100000;) {
    std::string value = make();
    if (seen.insert(value).second) {
      out.push_back(std::move(value));
      misses = 0;
    } else {
      ++misses;
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

std::vector<std::string> NameVariants(const std::vector<std::string>& names,
                                      size_t count, uint64_t seed) {
  NameRandom random(seed);
  std::vector<std::string> out;
  std::unordered_set<std::string> seen;
  for (const std::string& n : names) {
    const std::string v = Capitalised(n);
    if (out.size() < count && seen.insert(v).second) out.push_back(v);
  }
  return Distinct(std::move(out), count, [&] {
    return Capitalised(MisspellName(names[random.Below(names.size())], random));
  });
}

std::vector<std::string> FullNames(const std::vector<std::string>& names,
                                   size_t count, uint64_t seed) {
  NameRandom random(seed);
  auto pick = [&] {
    std::string n = names[random.Below(names.size())];
    if (random.Below(3) == 0) n = MisspellName(n, random);
    return Capitalised(n);
  };
  return Distinct({}, count, [&] {
    const std::string first = pick();
    const std::string last = pick();
    switch (random.Below(10)) {
      case 0:
        return last + ", " + first;
      case 1:
        return FirstLetter(first) + ". " + last;
      case 2:
        return "Dr. " + first + " " + last;
      default:
        return first + " " + last;
    }
  });
}

}  // namespace marrowfield::lists::testing
