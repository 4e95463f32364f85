// The fuzz targets' one way to fail: stop on a broken promise, so that
// libFuzzer keeps the input that broke it.
#ifndef MARROWFIELD_TESTS_FUZZ_FUZZ_REQUIRE_H_
#define MARROWFIELD_TESTS_FUZZ_FUZZ_REQUIRE_H_

#include <cstdio>
#include <cstdlib>

namespace marrowfield {

// Aborts, so that libFuzzer records the input, when |ok| is false.
inline void Require(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
  }
}

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FUZZ_FUZZ_REQUIRE_H_
