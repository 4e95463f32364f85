// Reading a large delimited text on several threads. The text is cut into
// pieces at line breaks that lie outside quoted fields as far as counting
// quotes can tell, each piece is parsed on its own, and the pieces' cells
// are joined with their rows renumbered. The answer is always what the
// one-thread reader gives: whenever a piece needs a repair, fails, or the
// whole passes a limit, the text is read again on one thread, which then
// gives the repairs, the error and its line exactly as before.
#ifndef MARROWFIELD_CLI_DELIMITED_PIECES_H_
#define MARROWFIELD_CLI_DELIMITED_PIECES_H_

#include <cstddef>
#include <string_view>

#include "delimited_reader.h"

namespace marrowfield {

// Texts shorter than this are read on one thread.
constexpr std::size_t kMinDelimitedPieceBytes = 1 << 20;

// Returns ParseDelimited(bytes, options, limits, repairs), reading on
// |threads| threads (0: every core) when the text is at least
// |minPieceBytes| per thread. Throws as ParseDelimited does.
CellGrid ParseDelimitedOnThreads(
    std::string_view bytes, const DelimitedOptions& options,
    const ReaderLimits& limits, DelimitedRepairs* repairs, unsigned threads,
    std::size_t minPieceBytes = kMinDelimitedPieceBytes);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_DELIMITED_PIECES_H_
