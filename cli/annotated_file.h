// "--annotate": a delimited input written back with each row's group, its
// canonical record and its score added as three last columns. Every other
// byte of each row stays as it was (its quoting, its line end, the
// byte-order mark); only a row shorter than the widest gains the empty
// fields that keep the new columns under their header.
#ifndef MARROWFIELD_CLI_ANNOTATED_FILE_H_
#define MARROWFIELD_CLI_ANNOTATED_FILE_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet_file.h"

namespace marrowfield {

// What one row gains; all empty for a row in no group.
struct RowAnnotation {
  std::string group;
  std::string canonical;
  std::string score;
};

// Throws InputError unless |inputs| can be annotated into |outPath|: one
// delimited file (.csv, .tsv, .txt) or one .xlsx workbook read one sheet
// at a time (not |allSheets|) and written to an .xlsx |outPath|; not
// standard input, and |outPath| not the input itself (under any name).
void CheckAnnotation(const std::vector<std::string>& inputs,
                     const std::string& outPath, bool allSheets);

// Whether the annotated copy of |input| is a workbook (an .xlsx input).
bool AnnotatesWorkbook(const std::string& input);

// One record of a delimited text as the reader splits it: its bytes
// [begin, contentEnd), its line end [contentEnd, end), and its fields.
struct RawRecord {
  size_t begin = 0;
  size_t contentEnd = 0;
  size_t end = 0;
  size_t fields = 0;
};

// The records of |text| delimited by |delimiter|, exactly as the delimited
// reader numbers its rows (record k is row k + 1), in lenient reading; a
// leading UTF-8 byte-order mark belongs to no record.
std::vector<RawRecord> SplitRawRecords(std::string_view text, char delimiter);

// |text| with the annotations added: |annotations|[k] to row k + 1, rows
// beyond its end and rows without bytes (blank lines) unchanged but for
// those beyond that get empty fields; row |headerRow| (0: none) gets the
// headers "group", "canonical" and "score".
std::string AnnotateText(std::string_view text, char delimiter,
                         int32_t headerRow,
                         const std::vector<RowAnnotation>& annotations);

// Reads |inputPath| as |read| says, annotates it and writes |outPath|, the
// added text in the file's own encoding (UTF-8 or Windows-1252). Throws
// InputError for UTF-16 text and when |outPath| cannot be written.
void WriteAnnotatedFile(const std::string& inputPath, const ReadOptions& read,
                        int32_t headerRow,
                        const std::vector<RowAnnotation>& annotations,
                        const std::string& outPath);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_ANNOTATED_FILE_H_
