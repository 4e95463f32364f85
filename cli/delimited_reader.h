// Reads delimited text (comma, semicolon, tab) as RFC 4180 describes it:
// fields optionally enclosed in double quotes, which may then hold the
// delimiter, line breaks and doubled quotes; records end with CRLF, LF or
// CR. Quoting that breaks the RFC is refused in strict mode and otherwise
// repaired as Python's csv module reads it.
#ifndef MARROWFIELD_CLI_DELIMITED_READER_H_
#define MARROWFIELD_CLI_DELIMITED_READER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "marrowfield/sheet_search.h"
#include "reader_limits.h"

namespace marrowfield {

// Returns true when |field| holds a plain decimal number and nothing else
// (surrounding blanks allowed): "42", "-3.5", ".5", "1e6". Such a field is a
// number, not text, as a worksheet would hold it. "1,234", "$5", "0x1F",
// "nan" and "inf" are text.
bool IsNumberField(std::string_view field);

// How a delimited text is read.
struct DelimitedOptions {
  char delimiter = ',';
  // Refuse quoting that breaks the RFC instead of repairing it.
  bool strict = true;
};

// One place where lenient reading repaired the quoting; |what| is fit to
// follow "line N: warning: ".
struct DelimitedRepair {
  int64_t line = 0;
  std::string what;
};

// The repairs of one reading: the first kMaxListedRepairs of them, and how
// many there were in all.
struct DelimitedRepairs {
  static constexpr std::size_t kMaxListedRepairs = 20;
  std::vector<DelimitedRepair> listed;
  uint64_t count = 0;
};

// Parses |bytes| as ParseDelimited below does in strict mode. Without
// |options.strict| three faults are read as Python's csv module reads them
// and recorded in |repairs| (which may be null): a quote inside an unquoted
// field is text (5'10" is one field), text after the closing quote of a
// quoted field joins the field, and a quoted field never closed runs to the
// end of the input. NUL bytes and limits are refused in both modes.
CellGrid ParseDelimited(std::string_view bytes, const DelimitedOptions& options,
                        const ReaderLimits& limits, DelimitedRepairs* repairs);

// A part of a delimited text that begins where a record begins: its cells,
// rows counted from 1 at its start, and the number of records it holds.
struct DelimitedPiece {
  CellGrid cells;
  int64_t records = 0;
};

// Parses |bytes| as the ParseDelimited above does, but as a part of a
// larger text: a byte-order mark is skipped only when |textStart|, and line
// numbers in errors and repairs count from the part's start.
DelimitedPiece ParseDelimitedPiece(std::string_view bytes, bool textStart,
                                   const DelimitedOptions& options,
                                   const ReaderLimits& limits,
                                   DelimitedRepairs* repairs);

// Parses |bytes| into cells: row = record number, column = field number,
// both 1-based; empty fields make no cell, like empty worksheet cells. A
// leading UTF-8 byte-order mark is skipped; other bytes pass unchanged.
// Throws InputError "line N: ..." (N the physical line, 1-based) for a quote
// inside an unquoted field, text after a closing quote, a quoted field that
// is never closed, a NUL byte (binary data), or a cell past the
// cell or text limit of |limits|.
CellGrid ParseDelimited(std::string_view bytes, char delimiter,
                        const ReaderLimits& limits = ReaderLimits());

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_DELIMITED_READER_H_
