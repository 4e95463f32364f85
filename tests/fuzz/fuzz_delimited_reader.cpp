// Fuzzes the CSV/TSV reader with the input read both ways, comma- and
// tab-separated: it throws nothing but InputError, and gives exactly what the
// slow byte-at-a-time reference reader gives, cells and error line alike;
// read leniently, it gives the cells of the rendering of Python's csv reader.

#include <cstdint>
#include <string>
#include <string_view>

#include "delimited_reader.h"
#include "delimited_reference.h"
#include "fuzz_require.h"
#include "input_error.h"
#include "reader_limits.h"

namespace {

using marrowfield::Require;

void CheckDelimiter(std::string_view bytes, char delimiter) {
  marrowfield::DelimitedReading got;
  try {
    got.cells = marrowfield::ParseDelimited(bytes, delimiter);
  } catch (const marrowfield::InputError& error) {
    got.error = error.what();
  }
  const marrowfield::DelimitedReading expected =
      marrowfield::ReadDelimitedSlowly(bytes, delimiter);
  Require(got.error == expected.error, "the reference's error");
  Require(got.cells.size() == expected.cells.size(), "the reference's cells");
  int32_t row = 0;
  int32_t column = 0;
  for (std::size_t i = 0; i < got.cells.size(); ++i) {
    const marrowfield::GridCell& cell = got.cells[i];
    const marrowfield::GridCell& same = expected.cells[i];
    Require(cell.row == same.row && cell.column == same.column &&
                cell.isText == same.isText && cell.text == same.text,
            "the reference's cell");
    Require(cell.row > row || (cell.row == row && cell.column > column),
            "cells in reading order");
    Require(!cell.text.empty() && cell.text.find('\0') == std::string::npos,
            "cell text neither empty nor holding a NUL");
    row = cell.row;
    column = cell.column;
  }
}

void CheckLenient(std::string_view bytes, char delimiter) {
  marrowfield::DelimitedRepairs repairs;
  marrowfield::DelimitedReading got;
  try {
    got.cells = marrowfield::ParseDelimited(
        bytes, marrowfield::DelimitedOptions{delimiter, false},
        marrowfield::ReaderLimits(), &repairs);
  } catch (const marrowfield::InputError& error) {
    got.error = error.what();
  }
  const marrowfield::LenientReading expected =
      marrowfield::ReadDelimitedAsPython(bytes, delimiter);
  Require(got.error.empty() == expected.reading.error.empty(),
          "the Python reader's refusal");
  if (!got.error.empty()) return;
  Require(got.cells.size() == expected.reading.cells.size(),
          "the Python reader's cells");
  for (std::size_t i = 0; i < got.cells.size(); ++i) {
    const marrowfield::GridCell& cell = got.cells[i];
    const marrowfield::GridCell& same = expected.reading.cells[i];
    Require(cell.row == same.row && cell.column == same.column &&
                cell.text == same.text,
            "the Python reader's cell");
  }
  Require((repairs.count > 0) == expected.repaired,
          "a repair exactly where Python's reader passed over bad quoting");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckDelimiter(bytes, ',');
  CheckDelimiter(bytes, '\t');
  CheckLenient(bytes, ';');
  return 0;
}
