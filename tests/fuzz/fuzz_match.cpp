// Fuzzes match_sub_string_phonetically: the score is -1 or 0..100, and a
// positive match lies inside the normalised text.

#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace marrowfield;
  EnsureEngine();
  FuzzInput input(data, size);
  const int mode = input.Byte() % 2;
  const std::string phrase = input.Field('\n');
  const std::string text = input.Rest();
  int start = -7;
  int length = -7;
  const int score = match_sub_string_phonetically(phrase.c_str(), text.c_str(),
                                                  &start, &length, mode);
  Require(score >= -1 && score <= 100, "score range");
  if (score == -1) {
    Require(start == -7 && length == -7, "no letters: nothing written");
  } else if (score == 0) {
    Require(start == -1 && length == 0, "no match: -1 and 0");
  } else {
    Require(start >= 0 && length > 0 &&
                static_cast<size_t>(start + length) <= text.size(),
            "match inside the text");
  }
  return 0;
}
