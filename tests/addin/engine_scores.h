// The engine's answers for a list of word pairs, as text lines, computed
// through a table of the engine's exported functions. The native library
// writes them once; the Windows XLL under Wine must give the same lines.

#ifndef MARROWFIELD_TESTS_ADDIN_ENGINE_SCORES_H_
#define MARROWFIELD_TESTS_ADDIN_ENGINE_SCORES_H_

#include <istream>
#include <string>
#include <utility>
#include <vector>

#include "marrowfield.h"

namespace marrowfield {

// The exports used, however the engine was reached (linked or loaded).
struct EngineApi {
  int (*compareWords)(const char*, const char*);
  ResultIterator* (*getPhonemes)(const char*, int);
  int (*getResultSize)(const ResultIterator*);
  const char* (*getResultItem)(const ResultIterator*, int);
  void (*closeResultIterator)(ResultIterator*);
  int (*getCodesForWord)(const char*, char*, unsigned int);
};

using WordPair = std::pair<std::string, std::string>;

// Reads lines of two words separated by white space; blank lines and
// lines starting with '#' are skipped, and so are any further fields.
std::vector<WordPair> ReadWordPairs(std::istream& in);

// One tab-separated line: both words, compare_words in both orders, each
// word's phones and each word's code.
std::string ScoreLine(const EngineApi& engine, const WordPair& pair);

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_ADDIN_ENGINE_SCORES_H_
