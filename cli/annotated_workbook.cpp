// The sheet is parsed once to find where its rows end, which columns its
// cells take and where its dimension lies; the new XML is the old one with
// text inserted at those places. Nothing is re-serialised, so whatever the
// writer put in the sheet (styles, formulas, namespaces, other elements)
// stays exactly as it was.
#include "annotated_workbook.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "cell_reference.h"
#include "file_bytes.h"
#include "input_error.h"
#include "xlsx_package.h"
#include "xml_reader.h"
#include "zip_archive.h"

namespace marrowfield {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// One change to the sheet's text: |erase| bytes at |at| give way to |text|.
struct Edit {
  uint64_t at = 0;
  uint64_t erase = 0;
  std::string text;
};

struct RowElement {
  int32_t number = 0;
  uint64_t tagBegin = 0;
  uint64_t contentEnd = 0;  // where its cells end (its "</row>" or "/>")
  bool empty = false;       // written as <row .../>
};

// Collects the places of the sheet the annotation writes to.
class SheetLayoutHandler : public XmlHandler {
 public:
  SheetLayoutHandler(std::string_view xml, const XmlReader*& reader)
      : xml_(xml), reader_(reader) {}

  void OnStart(std::string_view name, const XmlAttributes& attrs) override {
    const XmlReader::Span span = reader_->CurrentEvent();
    if (name == "dimension" && !inSheetData_) {
      dimension = span;
    } else if (name == "sheetData") {
      inSheetData_ = true;
      sheetData = span;
      prefix = PrefixAt(span.begin);
      sheetDataEmpty = EndsEmpty(span);
      sheetDataEnd = span.begin + span.size - (sheetDataEmpty ? 2 : 0);
    } else if (!inSheetData_) {
      return;
    } else if (name == "row") {
      const auto reference = attrs.Get("r");
      int32_t number = row_ + 1;
      if (reference) {
        // As the sheet reader reads it: digits, blanks around them allowed.
        std::string_view digits = *reference;
        while (!digits.empty() && IsBlank(digits.front()))
          digits.remove_prefix(1);
        while (!digits.empty() && IsBlank(digits.back()))
          digits.remove_suffix(1);
        int32_t column = 0;
        if (digits.empty() ||
            digits.find_first_not_of("0123456789") != std::string_view::npos ||
            !ParseCellReference("A" + std::string(digits), number, column)) {
          throw InputError("row number '" + std::string(*reference) +
                           "' is not valid");
        }
      }
      row_ = number;
      nextColumn_ = 1;
      RowElement row;
      row.number = number;
      row.tagBegin = span.begin;
      row.empty = EndsEmpty(span);
      row.contentEnd = span.begin + span.size - (row.empty ? 2 : 0);
      rows.push_back(row);
    } else if (name == "c") {
      int32_t row = row_;
      int32_t column = nextColumn_;
      if (const auto reference = attrs.Get("r")) {
        if (!ParseCellReference(*reference, row, column)) {
          throw InputError("cell reference '" + std::string(*reference) +
                           "' is not valid");
        }
      }
      nextColumn_ = column + 1;
      lastColumn = std::max(lastColumn, column);
      lastRow = std::max(lastRow, row);
    }
  }
  void OnEnd(std::string_view name) override {
    if (!inSheetData_) return;
    const XmlReader::Span span = reader_->CurrentEvent();
    if (name == "sheetData") {
      inSheetData_ = false;
      if (!sheetDataEmpty) sheetDataEnd = span.begin;
    } else if (name == "row" && !rows.empty() && !rows.back().empty) {
      rows.back().contentEnd = span.begin;
    }
  }
  void OnText(std::string_view) override {}

  std::optional<XmlReader::Span> dimension;
  std::optional<XmlReader::Span> sheetData;
  bool sheetDataEmpty = false;
  uint64_t sheetDataEnd = 0;
  std::string prefix;  // "x:" when the sheet's elements carry one
  std::vector<RowElement> rows;
  int32_t lastColumn = 0;
  int32_t lastRow = 0;

 private:
  bool EndsEmpty(const XmlReader::Span& span) const {
    return span.size >= 2 && xml_.substr(span.begin + span.size - 2, 2) == "/>";
  }
  // The namespace prefix of the tag at |begin|, with its colon.
  std::string PrefixAt(uint64_t begin) const {
    const std::string_view tag = xml_.substr(begin + 1);
    const size_t nameEnd = tag.find_first_of(" \t\r\n/>");
    const size_t colon = tag.substr(0, nameEnd).find(':');
    return colon == std::string_view::npos
               ? ""
               : std::string(tag.substr(0, colon + 1));
  }

  std::string_view xml_;
  const XmlReader*& reader_;
  bool inSheetData_ = false;
  int32_t row_ = 0;
  int32_t nextColumn_ = 1;
};

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') ||
         (c >= 'A' && c <= 'F');
}

// |text| as the content of an inline string. Control characters cannot
// stand in XML: they are written as Excel escapes them ("_x0001_"), and an
// underscore that would read as the start of such an escape is escaped
// itself, so that the sheet reader gives back exactly |text|.
std::string EscapeXml(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      static const char kHex[] = "0123456789ABCDEF";
      out += "_x00";
      out.push_back(kHex[byte >> 4]);
      out.push_back(kHex[byte & 15]);
      out.push_back('_');
    } else if (c == '_' && i + 6 < text.size() && text[i + 1] == 'x' &&
               IsHex(text[i + 2]) && IsHex(text[i + 3]) && IsHex(text[i + 4]) &&
               IsHex(text[i + 5]) && text[i + 6] == '_') {
      out += "_x005F_";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string TextCell(const std::string& p, const std::string& reference,
                     const std::string& text) {
  // Excel drops leading and trailing blanks of a text unless told to keep
  // them.
  const bool keep =
      !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
  return "<" + p + "c r=\"" + reference + "\" t=\"inlineStr\"><" + p + "is><" +
         p + "t" + (keep ? " xml:space=\"preserve\"" : "") + ">" +
         EscapeXml(text) + "</" + p + "t></" + p + "is></" + p + "c>";
}

std::string NumberCell(const std::string& p, const std::string& reference,
                       const std::string& number) {
  return "<" + p + "c r=\"" + reference + "\"><" + p + "v>" + number + "</" +
         p + "v></" + p + "c>";
}

// The span of the value of attribute |name| inside the start tag |tag|.
std::optional<std::pair<size_t, size_t>> AttributeValue(std::string_view tag,
                                                        std::string_view name) {
  for (size_t at = tag.find(name); at != std::string_view::npos;
       at = tag.find(name, at + 1)) {
    if (at == 0 || !IsBlank(tag[at - 1])) continue;
    size_t pos = at + name.size();
    while (pos < tag.size() && IsBlank(tag[pos])) ++pos;
    if (pos >= tag.size() || tag[pos] != '=') continue;
    ++pos;
    while (pos < tag.size() && IsBlank(tag[pos])) ++pos;
    if (pos >= tag.size() || (tag[pos] != '"' && tag[pos] != '\'')) continue;
    const size_t close = tag.find(tag[pos], pos + 1);
    if (close == std::string_view::npos) return std::nullopt;
    return std::make_pair(pos + 1, close);
  }
  return std::nullopt;
}

}  // namespace

std::string AnnotateSheetXml(std::string_view sheetXml, int32_t headerRow,
                             const std::vector<RowAnnotation>& annotations,
                             const ReaderLimits& limits) {
  // Insertions are UTF-8; a part in another encoding would end up mixed.
  if (sheetXml.substr(0, 2) == "\xFF\xFE" ||
      sheetXml.substr(0, 2) == "\xFE\xFF" ||
      sheetXml.substr(0, std::min<size_t>(sheetXml.size(), 200)).find('\0') !=
          std::string_view::npos) {
    throw InputError("the sheet's XML is not UTF-8; it cannot be annotated");
  }
  const XmlReader* reader = nullptr;
  SheetLayoutHandler layout(sheetXml, reader);
  {
    XmlReader parser(layout, limits);
    reader = &parser;
    try {
      parser.Feed(sheetXml.data(), sheetXml.size(), true);
    } catch (const XmlError& error) {
      throw InputError("line " + std::to_string(error.line) + ": " +
                       error.what());
    }
  }
  if (!layout.sheetData) throw InputError("the sheet has no sheetData");

  const RowAnnotation header{"group", "canonical", "score"};
  const int32_t first = layout.lastColumn + 1;
  // A cell past column XFD makes a workbook spreadsheet programs refuse.
  if (first + 2 > kMaxSheetColumn) {
    throw InputError("the sheet uses column " +
                     ColumnLetters(layout.lastColumn) +
                     ", which leaves no room for three columns more");
  }
  const std::string& p = layout.prefix;
  int32_t lastAnnotated = 0;
  // The cells row |number| gains; "" for none.
  const auto cellsOf = [&](int32_t number) -> std::string {
    const bool isHeader = number == headerRow;
    const size_t k = static_cast<size_t>(number) - 1;
    const RowAnnotation* added =
        isHeader ? &header
                 : (k < annotations.size() ? &annotations[k] : nullptr);
    if (added == nullptr || added->group.empty()) return "";
    lastAnnotated = std::max(lastAnnotated, number);
    const auto at = [&](int32_t offset) {
      return CellReference(number, first + offset);
    };
    if (isHeader) {
      return TextCell(p, at(0), added->group) +
             TextCell(p, at(1), added->canonical) +
             TextCell(p, at(2), added->score);
    }
    return NumberCell(p, at(0), added->group) +
           TextCell(p, at(1), added->canonical) +
           NumberCell(p, at(2), added->score);
  };

  std::vector<Edit> edits;
  std::map<int32_t, size_t> present;  // row number -> its first element
  for (size_t i = 0; i < layout.rows.size(); ++i)
    present.emplace(layout.rows[i].number, i);
  for (const auto& [number, i] : present) {
    const RowElement& row = layout.rows[i];
    std::string cells = cellsOf(number);
    if (cells.empty()) continue;
    if (row.empty) {
      edits.push_back({row.contentEnd, 2, ">" + cells + "</" + p + "row>"});
    } else {
      edits.push_back({row.contentEnd, 0, std::move(cells)});
    }
  }
  // Rows to annotate that have no element yet go before the first row
  // numbered after them, or at the end of the sheet data.
  const int32_t rowCount =
      std::max(headerRow, static_cast<int32_t>(annotations.size()));
  std::string atEnd;
  for (int32_t number = 1; number <= rowCount; ++number) {
    if (present.count(number) != 0) continue;
    const std::string cells = cellsOf(number);
    if (cells.empty()) continue;
    const std::string row = "<" + p + "row r=\"" + std::to_string(number) +
                            "\">" + cells + "</" + p + "row>";
    const auto next = std::find_if(
        layout.rows.begin(), layout.rows.end(),
        [number](const RowElement& r) { return r.number > number; });
    if (next == layout.rows.end()) {
      atEnd += row;
    } else {
      edits.push_back({next->tagBegin, 0, row});
    }
  }
  if (!atEnd.empty()) {
    if (layout.sheetDataEmpty) {
      edits.push_back(
          {layout.sheetDataEnd, 2, ">" + atEnd + "</" + p + "sheetData>"});
    } else {
      edits.push_back({layout.sheetDataEnd, 0, atEnd});
    }
  }
  if (layout.dimension && lastAnnotated > 0) {
    const std::string_view tag =
        sheetXml.substr(layout.dimension->begin, layout.dimension->size);
    if (const auto value = AttributeValue(tag, "ref")) {
      const std::string_view ref =
          tag.substr(value->first, value->second - value->first);
      const size_t colon = ref.find(':');
      const std::string_view start = ref.substr(0, colon);
      const std::string_view end =
          colon == std::string_view::npos ? ref : ref.substr(colon + 1);
      int32_t startRow = 0, startColumn = 0, endRow = 0, endColumn = 0;
      if (ParseCellReference(start, startRow, startColumn) &&
          ParseCellReference(end, endRow, endColumn)) {
        const std::string widened =
            std::string(start) + ":" +
            CellReference(std::max({endRow, lastAnnotated, layout.lastRow}),
                          std::max(endColumn, first + 2));
        edits.push_back({layout.dimension->begin + value->first,
                         value->second - value->first, widened});
      }
    }
  }

  std::stable_sort(edits.begin(), edits.end(),
                   [](const Edit& a, const Edit& b) { return a.at < b.at; });
  std::string out;
  out.reserve(sheetXml.size() + edits.size() * 120);
  uint64_t from = 0;
  for (const Edit& edit : edits) {
    out.append(sheetXml.substr(from, edit.at - from));
    out += edit.text;
    from = edit.at + edit.erase;
  }
  out.append(sheetXml.substr(from));
  return out;
}

void WriteAnnotatedWorkbook(const std::string& inputPath,
                            const std::string& sheetName, int32_t headerRow,
                            const std::vector<RowAnnotation>& annotations,
                            const std::string& outPath,
                            const ReaderLimits& limits) {
  // The workbook was read a moment ago; it is read again for its bytes.
  std::optional<ZipArchive> archive;
  uint64_t index = 0;
  std::string annotated;
  try {
    archive.emplace(ReadFileBytes(inputPath, limits.fileBytes),
                    limits.inflatedBytes);
    const XlsxWorkbookParts parts = ReadWorkbookParts(*archive, limits);
    const auto sheet = std::find_if(
        parts.sheets.begin(), parts.sheets.end(),
        [&](const XlsxSheetEntry& s) { return s.name == sheetName; });
    if (sheet == parts.sheets.end()) {
      throw InputError("no sheet named '" + sheetName + "'");
    }
    const auto found = archive->Find(sheet->partName);
    if (!found) throw InputError("part " + sheet->partName + " is missing");
    index = *found;
    std::string xml;
    archive->Stream(index, limits.partBytes,
                    [&xml](const char* data, std::size_t size, bool) {
                      xml.append(data, size);
                    });
    annotated = AnnotateSheetXml(xml, headerRow, annotations, limits);
  } catch (const ZipError& error) {
    throw InputError(inputPath +
                     ": not a valid .xlsx workbook: " + error.what());
  } catch (const InputError& error) {
    throw InputError(inputPath + ": sheet '" + sheetName +
                     "': " + error.what());
  }
  try {
    archive->WriteCopy(outPath, index, annotated);
  } catch (const ZipError& error) {
    throw InputError(outPath +
                     ": cannot write the annotated workbook: " + error.what());
  }
}

}  // namespace marrowfield
