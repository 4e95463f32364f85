// Fuzzes compare_words: any two strings give a percentage; a word with
// phones is 100 against itself.

#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace marrowfield;
  EnsureEngine();
  FuzzInput input(data, size);
  const std::string first = input.Field('\n');
  const std::string second = input.Rest();
  const int score = compare_words(first.c_str(), second.c_str());
  Require(score >= 0 && score <= 100, "percentage in 0..100");
  const int self = compare_words(first.c_str(), first.c_str());
  const bool hasPhones = !Drain(get_phonemes(first.c_str(), 0)).empty();
  Require(self == (hasPhones ? 100 : 0), "a word against itself");
  return 0;
}
