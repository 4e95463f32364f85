// Fuzzes get_phonemes in both modes: any bytes give a list of known phones.

#include <cstring>

#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace marrowfield;
  EnsureEngine();
  FuzzInput input(data, size);
  const int mode = input.Byte() % 3;  // 2 behaves as the lexicon
  const std::string word = input.Rest();
  for (const std::string& phone : Drain(get_phonemes(word.c_str(), mode))) {
    Require(!phone.empty() && phone.size() <= 2, "phone length");
    Require(std::strspn(phone.c_str(), "abcdefghijklmnopqrstuvwxyz") ==
                phone.size(),
            "phones are lower-case letters without stress marks");
  }
  return 0;
}
