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

// What lenient reading gives: the state machine of Python's csv reader
// (its default dialect) run over the bytes, with NUL bytes refused as the
// strict reader refuses them. |repaired| is set when Python's reader had to
// pass over quoting that RFC 4180 forbids.
struct LenientReading {
  DelimitedReading reading;
  bool repaired = false;
};

LenientReading ReadDelimitedAsPython(std::string_view bytes, char delimiter);

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_CLI_DELIMITED_REFERENCE_H_
