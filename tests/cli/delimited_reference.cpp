// The reference readers, written for plainness: each byte is looked at once,
// in the order the rules of RFC 4180 name them (or, for lenient reading, in
// the states of Python's csv reader), and appended on its own.
#include "delimited_reference.h"

#include <cstdint>

#include "delimited_reader.h"

namespace marrowfield {

namespace {

const char* const kNeverClosed = "quoted field is never closed";
const char* const kNul = "NUL byte: not a text file";
const char* const kAfterQuote =
    "text after the closing quote of a quoted field";
const char* const kStrayQuote =
    "quote inside an unquoted field (quote the whole field)";

struct Failure {
  int64_t line;
  const char* what;
};

}  // namespace

DelimitedReading ReadDelimitedSlowly(std::string_view bytes, char delimiter) {
  DelimitedReading reading;
  std::size_t i = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  const auto at = [&](std::size_t k, char c) {
    return k < bytes.size() && bytes[k] == c;
  };
  int64_t line = 1;
  int32_t row = 1;
  try {
    while (i < bytes.size()) {
      for (int32_t column = 1;; ++column) {
        std::string field;
        if (at(i, '"')) {
          const int64_t opened = line;
          for (++i;; ++i) {
            if (i >= bytes.size()) throw Failure{opened, kNeverClosed};
            const char c = bytes[i];
            if (c == '"' && at(i + 1, '"')) {
              field.push_back('"');
              ++i;
              continue;
            }
            if (c == '"') break;
            if (c == '\0') throw Failure{line, kNul};
            if (c == '\n' || (c == '\r' && !at(i + 1, '\n'))) ++line;
            field.push_back(c);
          }
          ++i;
          if (i < bytes.size() && bytes[i] != delimiter && bytes[i] != '\n' &&
              bytes[i] != '\r') {
            throw Failure{line, kAfterQuote};
          }
        } else {
          for (; i < bytes.size(); ++i) {
            const char c = bytes[i];
            if (c == delimiter || c == '\n' || c == '\r') break;
            if (c == '"') throw Failure{line, kStrayQuote};
            if (c == '\0') throw Failure{line, kNul};
            field.push_back(c);
          }
        }
        if (!field.empty()) {
          const bool isText = !IsNumberField(field);
          reading.cells.push_back(GridCell{row, column, isText, field});
        }
        if (at(i, delimiter)) {
          ++i;
          continue;
        }
        if (at(i, '\r')) ++i;
        if (at(i, '\n')) ++i;
        ++line;
        break;
      }
      ++row;
    }
  } catch (const Failure& failure) {
    reading.cells.clear();
    reading.error =
        "line " + std::to_string(failure.line) + ": " + failure.what;
  }
  return reading;
}

LenientReading ReadDelimitedAsPython(std::string_view bytes, char delimiter) {
  enum State { kStartRecord, kStartField, kInField, kInQuoted, kQuoteInQuoted };
  LenientReading lenient;
  DelimitedReading& reading = lenient.reading;
  std::size_t i = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  State state = kStartRecord;
  std::string field;
  int32_t row = 1;
  int32_t column = 1;
  int64_t line = 1;
  const auto saveField = [&] {
    if (!field.empty()) {
      reading.cells.push_back(
          GridCell{row, column, !IsNumberField(field), field});
    }
    field.clear();
    ++column;
  };
  // A line break: CRLF counts once. Outside quotes it ends the record.
  const auto lineBreak = [&](bool endsRecord) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      if (!endsRecord) field.push_back('\r');
      ++i;
    }
    ++line;
    if (!endsRecord) {
      field.push_back(bytes[i]);
      return;
    }
    saveField();
    ++row;
    column = 1;
    state = kStartRecord;
  };
  for (; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\0') {
      reading.cells.clear();
      reading.error =
          "line " + std::to_string(line) + ": NUL byte: not a text file";
      return lenient;
    }
    const bool newline = c == '\n' || c == '\r';
    // A byte of an unquoted field, where Python's reader is in IN_FIELD.
    const auto inField = [&] {
      if (c == delimiter) {
        saveField();
        state = kStartField;
      } else if (newline) {
        lineBreak(true);
      } else {
        lenient.repaired |= c == '"';
        field.push_back(c);
        state = kInField;
      }
    };
    switch (state) {
      case kStartRecord:
      case kStartField:
        if (c == '"') {
          state = kInQuoted;
        } else {
          inField();
        }
        break;
      case kInField:
        inField();
        break;
      case kInQuoted:
        if (c == '"') {
          state = kQuoteInQuoted;
        } else if (newline) {
          lineBreak(false);
        } else {
          field.push_back(c);
        }
        break;
      case kQuoteInQuoted:
        if (c == '"') {
          field.push_back('"');
          state = kInQuoted;
        } else {
          // Anything but a delimiter or a line break after a closing quote
          // is read on as an unquoted field.
          lenient.repaired |= c != delimiter && !newline;
          inField();
        }
        break;
    }
  }
  lenient.repaired |= state == kInQuoted;
  if (!field.empty()) saveField();
  return lenient;
}

}  // namespace marrowfield
