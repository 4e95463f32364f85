// Writes the native engine library's answers for a list of word pairs, one
// ScoreLine per pair, so the Windows build can be checked against them.
// Usage: write_engine_scores PAIRS_FILE OUTPUT_FILE

#include <fstream>
#include <iostream>

#include "engine_scores.h"
#include "marrowfield.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: write_engine_scores PAIRS_FILE OUTPUT_FILE\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 1;
  }
  const auto pairs = marrowfield::ReadWordPairs(in);
  if (pairs.empty()) {
    std::cerr << "no word pairs in " << argv[1] << "\n";
    return 1;
  }
  const marrowfield::EngineApi engine{
      compare_words,   get_phonemes,          get_result_size,
      get_result_item, close_result_iterator, get_codes_for_word};
  if (initialize() != 0) {
    std::cerr << "the engine failed its start-up check\n";
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary);
  for (const auto& pair : pairs) {
    out << marrowfield::ScoreLine(engine, pair) << '\n';
  }
  un_initialize();
  out.close();
  if (!out) {
    std::cerr << "cannot write " << argv[2] << "\n";
    return 1;
  }
  std::cout << "wrote " << pairs.size() << " word pairs to " << argv[2] << "\n";
  return 0;
}
