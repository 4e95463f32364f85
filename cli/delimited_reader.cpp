// A byte-at-a-time RFC 4180 reader. In strict mode it refuses what the RFC
// does (quotes only around whole fields) so that a damaged file is reported
// with its line; by default it reads such quoting as Python's csv module and
// LibreOffice do, since an inch mark in one cell should not make a whole
// file unsearchable, and records each repair. Both modes are lenient about
// ragged records and the three line-break conventions, which real files mix.
#include "delimited_reader.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "input_error.h"

namespace marrowfield {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

class DelimitedParser {
 public:
  // |textStart|: the bytes begin the text, where a byte-order mark is
  // skipped; otherwise they continue it from the start of a record.
  DelimitedParser(std::string_view bytes, const DelimitedOptions& options,
                  const ReaderLimits& limits, DelimitedRepairs* repairs,
                  bool textStart = true)
      : bytes_(bytes),
        delimiter_(options.delimiter),
        strict_(options.strict),
        repairs_(repairs),
        budget_(limits) {
    if (textStart && bytes_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    for (const char c : {'"', '\n', '\r', '\0'}) {
      stopsQuoted_[static_cast<unsigned char>(c)] = true;
      stopsUnquoted_[static_cast<unsigned char>(c)] = true;
    }
    stopsUnquoted_[static_cast<unsigned char>(delimiter_)] = true;
  }

  CellGrid Parse() {
    ReserveCells();
    while (pos_ < bytes_.size()) ParseRecord();
    return std::move(cells_);
  }

  // The records Parse went through.
  int64_t Records() const { return row_ - 1; }

 private:
  [[noreturn]] void Fail(int64_t line, const std::string& what) const {
    throw InputError("line " + std::to_string(line) + ": " + what);
  }

  // Refuses the fault |refusal| in strict mode; otherwise records |repair|.
  void RepairOrFail(int64_t line, const char* refusal, const char* repair) {
    if (strict_) Fail(line, refusal);
    if (repairs_ == nullptr) return;
    if (repairs_->listed.size() < DelimitedRepairs::kMaxListedRepairs) {
      repairs_->listed.push_back(DelimitedRepair{line, repair});
    }
    ++repairs_->count;
  }

  void ParseRecord() {
    for (;;) {
      std::string field = At('"') ? ParseQuoted() : ParseUnquoted();
      if (!field.empty()) AddCell(std::move(field));
      ++column_;
      if (pos_ < bytes_.size() && bytes_[pos_] == delimiter_) {
        ++pos_;
        continue;
      }
      SkipLineBreak();
      break;
    }
    ++row_;
    column_ = 1;
  }

  // Moves past bytes that need no attention and returns how many there were.
  // Fields are copied in such runs, not byte by byte: a single field may be
  // most of a large file.
  std::size_t SkipPlain(const bool (&stops)[256]) {
    const char* const start = bytes_.data() + pos_;
    const char* const end = bytes_.data() + bytes_.size();
    const char* p = start;
    while (p != end && !stops[static_cast<unsigned char>(*p)]) ++p;
    pos_ += static_cast<std::size_t>(p - start);
    return static_cast<std::size_t>(p - start);
  }

  // Reads on to the end of the field, appending to |field|.
  std::string ParseUnquoted(std::string field = {}) {
    bool repaired = false;
    for (;;) {
      const std::size_t start = pos_;
      field.append(bytes_.data() + start, SkipPlain(stopsUnquoted_));
      if (!At('"')) break;
      // One warning per field: ' "Smyth"' is one fault, not two.
      if (!repaired) {
        RepairOrFail(line_,
                     "quote inside an unquoted field (quote the whole field)",
                     "quote inside an unquoted field, read as part of the "
                     "text");
      }
      repaired = true;
      field.push_back('"');
      ++pos_;
    }
    CheckNotNul();
    return field;
  }

  std::string ParseQuoted() {
    const int64_t openedOn = line_;
    std::string field;
    ++pos_;  // the opening quote
    for (;;) {
      const std::size_t start = pos_;
      field.append(bytes_.data() + start, SkipPlain(stopsQuoted_));
      if (pos_ >= bytes_.size()) {
        RepairOrFail(openedOn, "quoted field is never closed",
                     "quoted field is never closed, read to the end of the "
                     "file as one field");
        return field;
      }
      const char c = bytes_[pos_];
      if (c == '"') {
        if (!At('"', 1)) break;
        field.push_back('"');
        pos_ += 2;
        continue;
      }
      CheckNotNul();
      // Line breaks inside quotes are data, kept byte for byte, but still
      // counted so that later errors name the right line.
      if (c == '\n' || !At('\n', 1)) ++line_;
      field.push_back(c);
      ++pos_;
    }
    ++pos_;  // the closing quote
    if (pos_ < bytes_.size()) {
      const char next = bytes_[pos_];
      if (next != delimiter_ && next != '\n' && next != '\r') {
        RepairOrFail(line_, "text after the closing quote of a quoted field",
                     "text after the closing quote of a quoted field, read "
                     "as part of the field");
        // "Smith" Jr reads as Smith Jr, as Python's csv module has it.
        return ParseUnquoted(std::move(field));
      }
    }
    return field;
  }

  void SkipLineBreak() {
    if (At('\r')) ++pos_;
    if (At('\n')) ++pos_;
    ++line_;
  }

  void CheckNotNul() const {
    if (At('\0')) {
      Fail(line_, "NUL byte: not a text file");
    }
  }

  bool At(char c, std::size_t ahead = 0) const {
    return pos_ + ahead < bytes_.size() && bytes_[pos_ + ahead] == c;
  }

  // A file holds at most one cell per field, and fields end at a delimiter
  // or a line break: reserving that many up front spares the grid its
  // growth, which was a fifth of reading a column of short names. Where
  // empty fields or quoted delimiters make it an overestimate, the pages
  // never written are never touched, so they cost address space, not
  // memory.
  void ReserveCells() {
    const std::string_view rest = bytes_.substr(pos_);
    uint64_t fields = 1;
    for (const char c : rest) fields += (c == delimiter_) | (c == '\n');
    cells_.reserve(static_cast<std::size_t>(std::min(fields, budget_.MaxCells())));
  }

  void AddCell(std::string field) {
    // Unreachable through the file-size limit, which keeps positions far
    // below this; a caller passing larger text still gets no wrapped row.
    if (row_ > INT32_MAX || column_ > INT32_MAX) {
      Fail(line_, "the cell's row or column is past 2147483647");
    }
    GridCell cell{static_cast<int32_t>(row_), static_cast<int32_t>(column_),
                  !IsNumberField(field), std::move(field)};
    try {
      budget_.Add(cell);
    } catch (const InputError& error) {
      Fail(line_, error.what());
    }
    cells_.push_back(std::move(cell));
  }

  std::string_view bytes_;
  char delimiter_;
  bool strict_;
  DelimitedRepairs* repairs_;
  bool stopsQuoted_[256] = {};
  bool stopsUnquoted_[256] = {};
  std::size_t pos_ = 0;
  int64_t line_ = 1;
  int64_t row_ = 1;
  int64_t column_ = 1;
  CellBudget budget_;
  CellGrid cells_;
};

}  // namespace

bool IsNumberField(std::string_view field) {
  std::size_t i = 0;
  const std::size_t n = field.size();
  while (i < n && IsBlank(field[i])) ++i;
  if (i < n && (field[i] == '+' || field[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && IsDigit(field[i])) ++i, ++digits;
  if (i < n && field[i] == '.') {
    ++i;
    while (i < n && IsDigit(field[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (field[i] == 'e' || field[i] == 'E')) {
    ++i;
    if (i < n && (field[i] == '+' || field[i] == '-')) ++i;
    std::size_t exponentDigits = 0;
    while (i < n && IsDigit(field[i])) ++i, ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  while (i < n && IsBlank(field[i])) ++i;
  return i == n;
}

CellGrid ParseDelimited(std::string_view bytes, const DelimitedOptions& options,
                        const ReaderLimits& limits, DelimitedRepairs* repairs) {
  return DelimitedParser(bytes, options, limits, repairs).Parse();
}

DelimitedPiece ParseDelimitedPiece(std::string_view bytes, bool textStart,
                                   const DelimitedOptions& options,
                                   const ReaderLimits& limits,
                                   DelimitedRepairs* repairs) {
  DelimitedParser parser(bytes, options, limits, repairs, textStart);
  DelimitedPiece piece;
  piece.cells = parser.Parse();
  piece.records = parser.Records();
  return piece;
}

CellGrid ParseDelimited(std::string_view bytes, char delimiter,
                        const ReaderLimits& limits) {
  return ParseDelimited(bytes, DelimitedOptions{delimiter, true}, limits,
                        nullptr);
}

}  // namespace marrowfield
