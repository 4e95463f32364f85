// Writing an input back with three columns more. The rows are found again
// in the file's own bytes, by the rules the reader splits them with, so
// that row numbers agree and nothing is re-quoted or re-encoded.
#include "annotated_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "delimiter_sniffer.h"
#include "file_bytes.h"
#include "input_error.h"
#include "marrowfield/unicode_text.h"
#include "text_decoding.h"

namespace marrowfield {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// Whether the file name of |path| ends in |suffix| (in any case) after
// at least one character.
bool HasSuffix(const std::string& path, const char* suffix) {
  const std::string name =
      Lower(std::filesystem::path(path).filename().string());
  const size_t n = std::strlen(suffix);
  return name.size() > n && name.compare(name.size() - n, n, suffix) == 0;
}

// The delimiter an extension calls for, or 0 for a file that cannot be
// annotated as text.
char ExtensionDelimiter(const std::string& path) {
  if (HasSuffix(path, ".csv")) return ',';
  if (HasSuffix(path, ".tsv") || HasSuffix(path, ".txt")) return '\t';
  return 0;
}

// |field| as a field of a record delimited by |delimiter|.
std::string Quoted(const std::string& field, char delimiter) {
  if (field.find_first_of(std::string{delimiter, '"', '\r', '\n'}) ==
      std::string::npos) {
    return field;
  }
  std::string quoted = "\"";
  for (const char c : field) {
    if (c == '"') quoted.push_back('"');
    quoted.push_back(c);
  }
  quoted.push_back('"');
  return quoted;
}

// |text| (UTF-8) in Windows-1252, for a file written in it. The texts
// added come from the file's own cells, so every character has its byte;
// one that had none would become "?".
std::string ToWindows1252(const std::string& text) {
  std::string out;
  for (size_t at = 0; at < text.size();) {
    size_t length = 1;
    const char32_t c = DecodeUtf8At(text, at, length);
    at += length;
    char byte = '?';
    if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
      byte = static_cast<char>(c);
    } else {
      for (unsigned b = 0x80; b < 0xA0; ++b) {
        if (Windows1252Character(static_cast<unsigned char>(b)) == c)
          byte = static_cast<char>(b);
      }
    }
    out.push_back(byte);
  }
  return out;
}

}  // namespace

bool AnnotatesWorkbook(const std::string& input) {
  return HasSuffix(input, ".xlsx");
}

void CheckAnnotation(const std::vector<std::string>& inputs,
                     const std::string& outPath, bool allSheets) {
  if (inputs.size() != 1) {
    throw InputError("--annotate writes one input back; give one file");
  }
  const std::string& input = inputs.front();
  if (input == "-") {
    throw InputError(
        "--annotate writes a file back; standard input cannot be; give the "
        "file's path");
  }
  if (outPath.empty()) throw InputError("--annotate needs a file name");
  if (AnnotatesWorkbook(input)) {
    if (allSheets) {
      throw InputError(
          "--annotate writes back the one sheet read; drop --all-sheets and "
          "choose it with --sheet");
    }
    if (!HasSuffix(outPath, ".xlsx")) {
      throw InputError(outPath +
                       ": the annotated copy of a workbook is a workbook; "
                       "give it the .xlsx extension");
    }
  } else if (ExtensionDelimiter(input) == 0) {
    throw InputError(
        input +
        ": --annotate writes back .xlsx workbooks and CSV and TSV files "
        "(.csv, .tsv, .txt) only; save the file as one of them first");
  }
  std::error_code error;
  if (outPath == input || std::filesystem::equivalent(input, outPath, error)) {
    throw InputError(outPath +
                     ": --annotate would overwrite the input; write the "
                     "annotated copy to another file");
  }
}

std::vector<RawRecord> SplitRawRecords(std::string_view text, char delimiter) {
  std::vector<RawRecord> records;
  const size_t n = text.size();
  size_t pos = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
  const auto unquotedEnd = [&](size_t from) {
    while (from < n && text[from] != delimiter && text[from] != '\r' &&
           text[from] != '\n') {
      ++from;
    }
    return from;
  };
  while (pos < n) {
    RawRecord record;
    record.begin = pos;
    for (;;) {
      ++record.fields;
      if (pos < n && text[pos] == '"') {
        ++pos;
        for (;;) {
          const size_t quote = text.find('"', pos);
          if (quote == std::string_view::npos) {
            pos = n;  // never closed: the rest of the text, as read
            break;
          }
          if (quote + 1 < n && text[quote + 1] == '"') {
            pos = quote + 2;
            continue;
          }
          pos = quote + 1;
          break;
        }
        // Text after the closing quote joins the field.
        pos = unquotedEnd(pos);
      } else {
        pos = unquotedEnd(pos);
      }
      if (pos < n && text[pos] == delimiter) {
        ++pos;
        continue;
      }
      break;
    }
    record.contentEnd = pos;
    if (pos < n && text[pos] == '\r') ++pos;
    if (pos < n && text[pos] == '\n') ++pos;
    record.end = pos;
    records.push_back(record);
  }
  return records;
}

std::string AnnotateText(std::string_view text, char delimiter,
                         int32_t headerRow,
                         const std::vector<RowAnnotation>& annotations) {
  const std::vector<RawRecord> records = SplitRawRecords(text, delimiter);
  size_t width = 0;
  for (const RawRecord& record : records) {
    if (record.contentEnd > record.begin)
      width = std::max(width, record.fields);
  }
  std::string out;
  out.reserve(text.size() + records.size() * 16);
  out.append(text.substr(0, records.empty() ? text.size() : records[0].begin));
  const RowAnnotation header{"group", "canonical", "score"};
  const RowAnnotation none;
  for (size_t k = 0; k < records.size(); ++k) {
    const RawRecord& record = records[k];
    out.append(text.substr(record.begin, record.contentEnd - record.begin));
    if (record.contentEnd > record.begin) {
      const int64_t row = static_cast<int64_t>(k) + 1;
      const RowAnnotation& added =
          row == headerRow ? header
                           : (k < annotations.size() ? annotations[k] : none);
      out.append(width - record.fields, delimiter);
      for (const std::string* field :
           {&added.group, &added.canonical, &added.score}) {
        out.push_back(delimiter);
        out += Quoted(*field, delimiter);
      }
    }
    out.append(text.substr(record.contentEnd, record.end - record.contentEnd));
  }
  return out;
}

void WriteAnnotatedFile(const std::string& inputPath, const ReadOptions& read,
                        int32_t headerRow,
                        const std::vector<RowAnnotation>& annotations,
                        const std::string& outPath) {
  std::string bytes = ReadFileBytes(inputPath, read.limits.fileBytes);
  const DecodedText decoded = DecodeText(bytes);
  // UTF-16 interleaves NUL bytes with the text: its rows are not where
  // the delimiters of its bytes would put them.
  if (decoded.source != TextSource::kUtf8 &&
      decoded.source != TextSource::kWindows1252) {
    throw InputError(inputPath +
                     ": --annotate writes back UTF-8 and Windows-1252 text "
                     "only, and this file is UTF-16; save it as UTF-8 first");
  }
  const char delimiter = read.delimiter.value_or(
      SniffDelimiter(decoded.text, ExtensionDelimiter(inputPath)));
  std::vector<RowAnnotation> encoded;
  if (decoded.source == TextSource::kWindows1252) {
    encoded = annotations;
    for (RowAnnotation& row : encoded)
      row.canonical = ToWindows1252(row.canonical);
  }
  const std::string text = AnnotateText(
      bytes, delimiter, headerRow,
      decoded.source == TextSource::kWindows1252 ? encoded : annotations);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(
      std::fopen(outPath.c_str(), "wb"), &std::fclose);
  if (!file ||
      std::fwrite(text.data(), 1, text.size(), file.get()) != text.size() ||
      std::fflush(file.get()) != 0) {
    throw InputError(
        outPath + ": cannot write the annotated file: " + std::strerror(errno));
  }
}

}  // namespace marrowfield
