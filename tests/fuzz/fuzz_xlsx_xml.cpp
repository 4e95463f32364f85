// Fuzzes the XML readers of workbook parts without the zip layer, whose
// checksums stop nearly every mutated archive before its XML is parsed. The
// input is a shared-strings part, a NUL, then a worksheet part that may use
// those strings. Each part is parsed whole and again in small pieces, as it
// would arrive while being inflated: both ways must agree.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_cells.h"
#include "input_error.h"
#include "xlsx_sheet.h"
#include "xlsx_text.h"
#include "xml_reader.h"

namespace {

using namespace marrowfield;

struct Outcome {
  bool failed = false;
  CellGrid cells;
  std::vector<std::string> strings;
};

// Parses |document| with |handler|, whole or in pieces of |piece| bytes.
bool Parses(std::string_view document, std::size_t piece, XmlHandler& handler,
            const ReaderLimits& limits) {
  try {
    XmlReader reader(handler, limits);
    if (piece == 0) {
      reader.Feed(document.data(), document.size(), true);
      return true;
    }
    for (std::size_t at = 0; at < document.size(); at += piece) {
      const std::size_t n = std::min(piece, document.size() - at);
      reader.Feed(document.data() + at, n, false);
    }
    reader.Feed(document.data(), 0, true);
    return true;
  } catch (const XmlError&) {
  } catch (const InputError&) {
  }
  return false;
}

Outcome Read(std::string_view shared, std::string_view sheet, std::size_t piece,
             const ReaderLimits& limits) {
  Outcome outcome;
  SharedStringsHandler strings(limits);
  if (!shared.empty() && !Parses(shared, piece, strings, limits)) {
    outcome.failed = true;
    return outcome;
  }
  outcome.strings = strings.strings;
  WorksheetHandler cells(outcome.strings, limits);
  outcome.failed = !Parses(sheet, piece, cells, limits);
  outcome.cells = cells.TakeCells();
  return outcome;
}

bool SameCells(const CellGrid& a, const CellGrid& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].row != b[i].row || a[i].column != b[i].column ||
        a[i].isText != b[i].isText || a[i].text != b[i].text) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ReaderLimits limits = FuzzLimits();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string_view shared =
      nul == std::string_view::npos ? std::string_view() : input.substr(0, nul);
  const std::string_view sheet =
      nul == std::string_view::npos ? input : input.substr(nul + 1);

  const Outcome whole = Read(shared, sheet, 0, limits);
  if (!whole.failed) CheckSheetCells(whole.cells, limits);
  for (const std::size_t piece : {std::size_t{1}, std::size_t{7}}) {
    const Outcome pieces = Read(shared, sheet, piece, limits);
    Require(pieces.failed == whole.failed, "same success in pieces");
    Require(pieces.strings == whole.strings, "same shared strings in pieces");
    if (!whole.failed) {
      Require(SameCells(pieces.cells, whole.cells), "same cells in pieces");
    }
  }
  return 0;
}
