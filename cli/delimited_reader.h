// Reads comma- and tab-separated text as RFC 4180 describes it: fields
// optionally enclosed in double quotes, which may then hold the delimiter,
// line breaks and doubled quotes; records end with CRLF, LF or CR.
#ifndef MARROWFIELD_CLI_DELIMITED_READER_H_
#define MARROWFIELD_CLI_DELIMITED_READER_H_

#include <string_view>

#include "marrowfield/sheet_search.h"
#include "reader_limits.h"

namespace marrowfield {

// Returns true when |field| holds a plain decimal number and nothing else
// (surrounding blanks allowed): "42", "-3.5", ".5", "1e6". Such a field is a
// number, not text, as a worksheet would hold it. "1,234", "$5", "0x1F",
// "nan" and "inf" are text.
bool IsNumberField(std::string_view field);

// Parses |bytes| into cells: row = record number, column = field number,
// both 1-based; empty fields make no cell, like empty worksheet cells. A
// leading UTF-8 byte-order mark is skipped; other bytes pass unchanged.
// Throws InputError "line N: ..." (N the physical line, 1-based) for a quote
// inside an unquoted field, text after a closing quote, a quoted field that
// is never closed, a NUL byte (binary or UTF-16 data), or a cell past the
// cell or text limit of |limits|.
CellGrid ParseDelimited(std::string_view bytes, char delimiter,
                        const ReaderLimits& limits = ReaderLimits());

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_DELIMITED_READER_H_
