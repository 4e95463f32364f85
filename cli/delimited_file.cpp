// Delimited text from bytes to cells: the encoding, the delimiter, then the
// parse, with a notice for each thing the user may not expect.
#include <utility>

#include "delimited_pieces.h"
#include "delimited_reader.h"
#include "delimiter_sniffer.h"
#include "file_kinds.h"
#include "input_error.h"
#include "text_decoding.h"

namespace marrowfield {

namespace {

// Only the sniffed delimiters (comma, tab, semicolon) are ever named here.
std::string Plural(char delimiter) { return DelimiterName(delimiter) + "s"; }

void AddRepairNotices(const DelimitedRepairs& repairs,
                      std::vector<std::string>& notices) {
  for (const DelimitedRepair& repair : repairs.listed) {
    notices.push_back("line " + std::to_string(repair.line) +
                      ": warning: " + repair.what);
  }
  if (repairs.count > repairs.listed.size()) {
    notices.push_back(
        "warning: " + std::to_string(repairs.count - repairs.listed.size()) +
        " more quoting repairs like these (--strict refuses the file "
        "instead)");
  }
}

}  // namespace

LoadedFile ReadDelimitedFile(std::string bytes, char extensionDelimiter,
                             const ReadOptions& options) {
  // A workbook saved or renamed with a text extension would otherwise be
  // read as a page of binary noise.
  if (LooksLikeZip(bytes)) {
    throw InputError(
        "this looks like an Excel workbook (a zip package), not delimited "
        "text; give it the .xlsx extension");
  }
  if (LooksLikeOleFile(bytes)) {
    throw InputError(
        "this looks like an Excel 97-2003 workbook (.xls), not delimited "
        "text; open it in Excel or LibreOffice and save it as .xlsx");
  }
  LoadedFile file;
  DecodedText decoded = DecodeText(std::move(bytes));
  if (const std::string note = DescribeTextSource(decoded.source);
      !note.empty()) {
    file.notices.push_back(note);
  }
  const char delimiter = options.delimiter.value_or(
      SniffDelimiter(decoded.text, extensionDelimiter));
  if (!options.delimiter && delimiter != extensionDelimiter) {
    file.notices.push_back(
        "note: fields are separated by " + Plural(delimiter) + ", not " +
        Plural(extensionDelimiter) + " (--delimiter chooses)");
  }
  DelimitedRepairs repairs;
  LoadedSheet sheet;
  sheet.cells = ParseDelimitedOnThreads(
      decoded.text, DelimitedOptions{delimiter, options.strict},
      options.limits, &repairs, options.threads);
  AddRepairNotices(repairs, file.notices);
  file.sheets.push_back(std::move(sheet));
  return file;
}

}  // namespace marrowfield
