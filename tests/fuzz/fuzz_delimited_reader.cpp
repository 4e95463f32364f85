// Fuzzes the CSV/TSV reader with the input read both ways, comma- and
// tab-separated: it throws nothing but InputError, and gives exactly what the
// slow byte-at-a-time reference reader gives, cells and error line alike.

#include <cstdint>
#include <string>
#include <string_view>

#include "delimited_reader.h"
#include "delimited_reference.h"
#include "fuzz_require.h"
#include "input_error.h"

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckDelimiter(bytes, ',');
  CheckDelimiter(bytes, '\t');
  return 0;
}
