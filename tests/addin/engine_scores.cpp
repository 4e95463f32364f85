// Scoring word pairs through an EngineApi. Phones are joined with blanks,
// so a difference in any phone shows in the line.

#include "engine_scores.h"

#include <sstream>

namespace marrowfield {
namespace {

std::string Phones(const EngineApi& engine, const std::string& word) {
  ResultIterator* phones = engine.getPhonemes(word.c_str(), MODE_LEXICON);
  if (phones == nullptr) return "(none)";
  std::string joined;
  const int size = engine.getResultSize(phones);
  for (int i = 0; i < size; ++i) {
    if (i > 0) joined += ' ';
    const char* phone = engine.getResultItem(phones, i);
    joined += phone == nullptr ? "?" : phone;
  }
  engine.closeResultIterator(phones);
  return joined;
}

std::string Code(const EngineApi& engine, const std::string& word) {
  char code[64] = {};
  const int length = engine.getCodesForWord(word.c_str(), code, sizeof code);
  if (length < 0 || length >= static_cast<int>(sizeof code)) {
    return "(length " + std::to_string(length) + ")";
  }
  return code;
}

}  // namespace

std::vector<WordPair> ReadWordPairs(std::istream& in) {
  std::vector<WordPair> pairs;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    WordPair pair;
    if (!(fields >> pair.first >> pair.second)) continue;
    if (pair.first[0] == '#') continue;
    pairs.push_back(std::move(pair));
  }
  return pairs;
}

std::string ScoreLine(const EngineApi& engine, const WordPair& pair) {
  const char* first = pair.first.c_str();
  const char* second = pair.second.c_str();
  std::ostringstream line;
  line << pair.first << '\t' << pair.second << '\t'
       << engine.compareWords(first, second) << '\t'
       << engine.compareWords(second, first) << '\t'
       << Phones(engine, pair.first) << '\t' << Phones(engine, pair.second)
       << '\t' << Code(engine, pair.first) << '\t' << Code(engine, pair.second);
  return line.str();
}

}  // namespace marrowfield
