// Why a clean parse of every piece is the parse of the whole: each cut
// follows a line break (a CR LF pair whole) with an even number of quotes
// before it. A piece read without repairs or errors changes its quoting
// state at every quote it meets (openings, closings and doubled quotes in
// pairs), so it ends on that line break outside quotes, where a record
// ends; the one-thread reader, which reads the same bytes the same way,
// is then at the start of a record there too. Quotes that do not toggle
// (5'10" in an unquoted field, "Smith" Jr) are repairs, and a cut inside a
// quoted field leaves that piece's last field unclosed, an error or a
// repair: either sends the text back to the one-thread reader.
#include "delimited_pieces.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "input_error.h"
#include "run_chunks.h"

namespace marrowfield {

namespace {

// Pieces per thread: more than one, so that a slow piece does not leave
// the other threads idle.
constexpr unsigned kPiecesPerThread = 4;

// Offsets where pieces start, beginning with 0 and ending with the size.
std::vector<std::size_t> Cuts(std::string_view text, std::size_t wanted,
                              unsigned workers) {
  const std::size_t size = text.size();
  // The quotes of each slice, counted on the threads: the parity of all
  // quotes before a slice tells whether its start may lie inside quotes.
  std::vector<std::size_t> quotes(wanted, 0);
  const auto sliceStart = [&](std::size_t s) { return s * size / wanted; };
  lists::RunChunks(wanted, 1, workers,
                   [&](unsigned, std::size_t s, std::size_t, std::size_t) {
                     quotes[s] = static_cast<std::size_t>(
                         std::count(text.begin() + sliceStart(s),
                                    text.begin() + sliceStart(s + 1), '"'));
                   });
  std::vector<std::size_t> cuts{0};
  bool odd = false;
  for (std::size_t s = 1; s < wanted; ++s) {
    odd ^= quotes[s - 1] % 2 != 0;
    bool inside = odd;
    const std::size_t end = sliceStart(s + 1);
    for (std::size_t at = std::max(sliceStart(s), cuts.back()); at < end;
         ++at) {
      const char c = text[at];
      if (c == '"') {
        inside = !inside;
      } else if (!inside && (c == '\n' || c == '\r')) {
        std::size_t cut = at + 1;
        if (c == '\r' && cut < size && text[cut] == '\n') ++cut;
        if (cut < size) cuts.push_back(cut);
        break;
      }
    }
  }
  cuts.push_back(size);
  return cuts;
}

}  // namespace

CellGrid ParseDelimitedOnThreads(std::string_view bytes,
                                 const DelimitedOptions& options,
                                 const ReaderLimits& limits,
                                 DelimitedRepairs* repairs, unsigned threads,
                                 std::size_t minPieceBytes) {
  const unsigned workers = lists::WorkerCount(
      threads, bytes.size() / std::max<std::size_t>(minPieceBytes, 1));
  if (workers < 2) return ParseDelimited(bytes, options, limits, repairs);
  const std::vector<std::size_t> cuts =
      Cuts(bytes, std::size_t{workers} * kPiecesPerThread, workers);
  const std::size_t count = cuts.size() - 1;
  if (count < 2) return ParseDelimited(bytes, options, limits, repairs);

  std::vector<DelimitedPiece> pieces(count);
  std::vector<char> clean(count, 0);
  std::vector<uint64_t> textBytes(count, 0);
  lists::RunChunks(
      count, 1, workers, [&](unsigned, std::size_t k, std::size_t, std::size_t) {
        DelimitedRepairs pieceRepairs;
        try {
          pieces[k] = ParseDelimitedPiece(
              bytes.substr(cuts[k], cuts[k + 1] - cuts[k]), k == 0, options,
              limits, &pieceRepairs);
        } catch (const InputError&) {
          return;
        }
        clean[k] = pieceRepairs.count == 0;
        for (const GridCell& cell : pieces[k].cells)
          textBytes[k] += cell.text.size();
      });

  // Rows, cells and text of the whole, as the one-thread reader counts them.
  std::vector<int64_t> rowOffset(count, 0);
  std::vector<std::size_t> cellOffset(count + 1, 0);
  int64_t records = 0;
  uint64_t text = 0;
  bool whole = true;
  for (std::size_t k = 0; k < count; ++k) {
    whole = whole && clean[k];
    rowOffset[k] = records;
    records += pieces[k].records;
    cellOffset[k + 1] = cellOffset[k] + pieces[k].cells.size();
    text += textBytes[k];
  }
  if (!whole || records >= INT32_MAX || cellOffset[count] > limits.cells ||
      text > limits.cellTextBytes) {
    pieces.clear();
    return ParseDelimited(bytes, options, limits, repairs);
  }

  CellGrid cells(cellOffset[count]);
  lists::RunChunks(count, 1, workers,
                   [&](unsigned, std::size_t k, std::size_t, std::size_t) {
                     CellGrid& piece = pieces[k].cells;
                     for (std::size_t c = 0; c < piece.size(); ++c) {
                       GridCell& cell = cells[cellOffset[k] + c];
                       cell = std::move(piece[c]);
                       cell.row = static_cast<int32_t>(cell.row + rowOffset[k]);
                     }
                     CellGrid().swap(piece);
                   });
  return cells;
}

}  // namespace marrowfield
