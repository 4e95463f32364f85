// Fuzzes get_codes_for_word with arbitrary buffer sizes: the buffer is
// written only when it is longer than the code, and never past its size.

#include <cstring>
#include <vector>

#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace marrowfield;
  EnsureEngine();
  FuzzInput input(data, size);
  const unsigned bufferSize = input.Byte() % 40;
  const std::string word = input.Rest();
  // Exactly bufferSize bytes, so that AddressSanitizer sees any overrun.
  std::vector<char> buffer(bufferSize == 0 ? 1 : bufferSize, 'x');
  const int length =
      get_codes_for_word(word.c_str(), buffer.data(), bufferSize);
  Require(length >= 0, "code length");
  if (static_cast<unsigned>(length) < bufferSize) {
    Require(std::strlen(buffer.data()) == static_cast<size_t>(length),
            "code written with its NUL");
    Require(
        std::strspn(buffer.data(), "0123456789") == static_cast<size_t>(length),
        "code is digits");
  } else {
    for (char c : buffer) Require(c == 'x', "short buffer untouched");
  }
  return 0;
}
