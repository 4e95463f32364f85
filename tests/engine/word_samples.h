// Words and names for tests that compare many pairs: the system dictionary
// when it is installed (Debian's wamerican), plus names with spelling
// variants and awkward inputs, so that the tests also run without it.

#ifndef MARROWFIELD_TESTS_ENGINE_WORD_SAMPLES_H_
#define MARROWFIELD_TESTS_ENGINE_WORD_SAMPLES_H_

#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace marrowfield {

inline std::vector<std::string> SampleWords(size_t limit) {
  std::vector<std::string> words = {
      "Smith",     "Smyth",    "Smithe",   "Schmidt",    "Catherine",
      "Katherine", "Kathryn",  "Jon",      "John",       "Jonathan",
      "Stephen",   "Steven",   "O'Neil",   "Oneal",      "McDonald",
      "MacDonald", "Jean-Luc", "Nguyen",   "Przybylski", "Siobhan",
      "Aaron",     "Erin",     "Thompson", "Tomson",     "Phillips",
      "Filips",    "caf\xe9",  "123",      "",           "  spaced  out ",
      "Mary-Ann",  "Marianne", "Geoff",    "Jeff",       "Knight",
      "Night",     "Wright",   "Right",    "Hughes",     "Hewes",
  };
  std::ifstream dict("/usr/share/dict/american-english");
  std::vector<std::string> dictionary;
  for (std::string line; std::getline(dict, line);) dictionary.push_back(line);
  std::mt19937 random(20261208);
  while (words.size() < limit && !dictionary.empty()) {
    words.push_back(dictionary[random() % dictionary.size()]);
  }
  return words;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_ENGINE_WORD_SAMPLES_H_
