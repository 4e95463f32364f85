// The text of .xlsx strings: the runs of a string item (leaving out phonetic
// guides) and Excel's "_xHHHH_" escapes for characters XML cannot carry.
#ifndef MARROWFIELD_CLI_XLSX_TEXT_H_
#define MARROWFIELD_CLI_XLSX_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

#include "reader_limits.h"
#include "xml_reader.h"

namespace marrowfield {

// Returns |text| with every "_xHHHH_" (four hex digits) replaced by that
// character in UTF-8; "_x005F_" gives a literal underscore. "_x0000_" and
// lone surrogate halves stay as written. Other text is returned unchanged.
std::string DecodeXlsxEscapes(std::string_view text);

// Collects the text of one string item (<si> in the shared strings, <is> in
// an inline-string cell): the characters of its <t> elements, direct or in
// rich-text runs, but not those of phonetic guides (<rPh>), which Excel does
// not show as part of the cell's value.
class StringItemText {
 public:
  void OnStart(std::string_view localName);
  void OnEnd(std::string_view localName);
  void OnText(std::string_view text);
  // Returns the collected, decoded text and starts over.
  std::string Take();

 private:
  bool inText_ = false;
  int phoneticDepth_ = 0;
  std::string text_;
};

// Reads a shared-strings part into the list that "s" cells index. Throws
// InputError past the item limit of |limits|, which must outlive it.
class SharedStringsHandler : public XmlHandler {
 public:
  explicit SharedStringsHandler(const ReaderLimits& limits) : limits_(limits) {}

  std::vector<std::string> strings;

  void OnStart(std::string_view name, const XmlAttributes&) override;
  void OnEnd(std::string_view name) override;
  void OnText(std::string_view text) override { item_.OnText(text); }

 private:
  const ReaderLimits& limits_;
  bool inItem_ = false;
  StringItemText item_;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_XLSX_TEXT_H_
