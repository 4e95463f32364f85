// The labelled names corpus sample (tests/data/names) and the engine's
// reference name groups, as pairs of spellings for tests that compare many
// pairs: every pair within a group, and a fixed draw of pairs across
// groups.

#ifndef MARROWFIELD_TESTS_ENGINE_NAMES_CORPUS_H_
#define MARROWFIELD_TESTS_ENGINE_NAMES_CORPUS_H_

#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace marrowfield {

using NamePair = std::pair<std::string, std::string>;
using NameGroups = std::vector<std::vector<std::string>>;

// The groups of a "group<TAB>value" file; none when it cannot be read.
inline NameGroups ReadLabelledNames(const std::string& path) {
  std::ifstream in(path);
  std::map<std::string, std::vector<std::string>> groups;
  std::string line;
  std::getline(in, line);  // the header
  while (std::getline(in, line)) {
    const size_t tab = line.find('\t');
    if (tab != std::string::npos)
      groups[line.substr(0, tab)].push_back(line.substr(tab + 1));
  }
  NameGroups out;
  for (auto& entry : groups) out.push_back(std::move(entry.second));
  return out;
}

// The groups of the reference names: a comma-separated group per line.
inline NameGroups ReadReferenceNames(const std::string& path) {
  std::ifstream in(path);
  NameGroups out;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> group;
    std::istringstream fields(line);
    for (std::string name; std::getline(fields, name, ',');) {
      const size_t first = name.find_first_not_of(' ');
      if (first != std::string::npos) group.push_back(name.substr(first));
    }
    out.push_back(std::move(group));
  }
  return out;
}

inline std::vector<NamePair> PairsWithinGroups(const NameGroups& groups) {
  std::vector<NamePair> pairs;
  for (const auto& group : groups)
    for (size_t a = 0; a < group.size(); ++a)
      for (size_t b = a + 1; b < group.size(); ++b)
        pairs.emplace_back(group[a], group[b]);
  return pairs;
}

// |count| pairs of spellings from different groups, drawn with a fixed
// seed.
inline std::vector<NamePair> PairsAcrossGroups(const NameGroups& groups,
                                               size_t count) {
  std::vector<NamePair> pairs;
  if (groups.size() < 2) return pairs;
  std::mt19937 random(20261208);
  std::uniform_int_distribution<size_t> pick(0, groups.size() - 1);
  while (pairs.size() < count) {
    const size_t g1 = pick(random);
    const size_t g2 = pick(random);
    if (g1 == g2) continue;
    const auto& a = groups[g1];
    const auto& b = groups[g2];
    pairs.emplace_back(a[random() % a.size()], b[random() % b.size()]);
  }
  return pairs;
}

// Every pair within a group (spellings of one name), then |across| pairs
// from different groups: the usual mix of alike and unlike pairs.
inline std::vector<NamePair> PairsWithinAndAcross(const NameGroups& groups,
                                                  size_t across) {
  std::vector<NamePair> pairs = PairsWithinGroups(groups);
  for (NamePair& p : PairsAcrossGroups(groups, across)) {
    pairs.push_back(std::move(p));
  }
  return pairs;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_ENGINE_NAMES_CORPUS_H_
