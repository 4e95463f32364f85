// A slow, plain reader of delimited text that the tests compare the real
// one with: one byte at a time, no limits, nothing skipped in runs.
#ifndef MARROWFIELD_TESTS_CLI_DELIMITED_REFERENCE_H_
#define MARROWFIELD_TESTS_CLI_DELIMITED_REFERENCE_H_

#include <string>
#include <string_view>

#include "marrowfield/sheet_search.h"

namespace marrowfield {

// What ParseDelimited gives for |bytes| with no limit reached: its cells, or
// its error message in |error| (then |cells| is empty).
struct DelimitedReading {
  CellGrid cells;
  std::string error;
};

DelimitedReading ReadDelimitedSlowly(std::string_view bytes, char delimiter);

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_CLI_DELIMITED_REFERENCE_H_
