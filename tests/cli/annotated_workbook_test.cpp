// The annotated sheet, read back by the sheet reader: the cells it had,
// and the three added ones on each annotated row after the last column any
// cell of the sheet takes, whatever shape the rows were written in.
#include "annotated_workbook.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "input_error.h"
#include "xlsx_sheet.h"
#include "xml_reader.h"

namespace marrowfield {
namespace {

using Cells =
    std::map<std::string, std::string>;  // "B2" -> text ("#5": number)

Cells ReadCells(const std::string& xml) {
  const std::vector<std::string> noShared;
  const ReaderLimits limits;
  WorksheetHandler handler(noShared, limits);
  ParseXml(xml, handler, limits);
  Cells cells;
  for (const GridCell& cell : handler.TakeCells()) {
    const std::string at =
        std::string(1, static_cast<char>('A' + cell.column - 1)) +
        std::to_string(cell.row);
    cells[at] = (cell.isText ? "" : "#") + cell.text;
  }
  return cells;
}

std::string Sheet(const std::string& p, const std::string& data) {
  const std::string ns =
      p.empty() ? "xmlns" : "xmlns:" + p.substr(0, p.size() - 1);
  return "<?xml version=\"1.0\"?><" + p + "worksheet " + ns +
         "=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><" +
         p + "dimension ref=\"A1:B3\"/>" + data + "</" + p + "worksheet>";
}

TEST(AnnotatedWorkbook, CellsAddedAfterTheLastColumnOfEveryRowShape) {
  const std::vector<RowAnnotation> two = {
      {}, {"1", "Ann & Co", "100"}, {"1", "Ann & Co", "87"}};
  struct Case {
    const char* what;
    std::string xml;
    int32_t headerRow;
    Cells added;  // the cells the annotation must add
  };
  const std::string a1 =
      "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>h</t></is></c></row>";
  const std::vector<Case> cases = {
      {"plain rows",
       Sheet("", "<sheetData>" + a1 +
                     "<row r=\" 2 \"><c r=\"B2\"><v>2</v></c></row>"
                     "<row r=\"3\"><c><v>3</v></c></row></sheetData>"),
       0,
       {{"C2", "#1"},
        {"D2", "Ann & Co"},
        {"E2", "#100"},
        {"C3", "#1"},
        {"D3", "Ann & Co"},
        {"E3", "#87"}}},
      {"prefixed elements, a header row",
       Sheet(
           "x:",
           "<x:sheetData>" +
               std::string(
                   "<x:row r=\"1\"><x:c r=\"B1\" "
                   "t=\"inlineStr\"><x:is><x:t>h</x:t></x:is></x:c></x:row>") +
               "<x:row r=\"2\"><x:c r=\"A2\"><x:v>2</x:v></x:c></x:row>"
               "<x:row r=\"3\"><x:c "
               "r=\"A3\"><x:v>3</x:v></x:c></x:row></x:sheetData>"),
       1,
       {{"C1", "group"},
        {"D1", "canonical"},
        {"E1", "score"},
        {"C2", "#1"},
        {"D2", "Ann & Co"},
        {"E2", "#100"},
        {"C3", "#1"},
        {"D3", "Ann & Co"},
        {"E3", "#87"}}},
      {"an empty row element and a missing one",
       Sheet("",
             "<sheetData>" + a1 + "<row r=\"2\" spans=\"1:2\"/></sheetData>"),
       0,
       {{"B2", "#1"},
        {"C2", "Ann & Co"},
        {"D2", "#100"},
        {"B3", "#1"},
        {"C3", "Ann & Co"},
        {"D3", "#87"}}},
      {"a missing row before a later one, a valueless cell further right",
       Sheet("", "<sheetData>" + a1 +
                     "<row r=\"2\"><c r=\"D2\" s=\"3\"/></row>"
                     "<row r=\"9\"><c r=\"A9\"><v>9</v></c></row></sheetData>"),
       0,
       {{"E2", "#1"},
        {"F2", "Ann & Co"},
        {"G2", "#100"},
        {"E3", "#1"},
        {"F3", "Ann & Co"},
        {"G3", "#87"}}},
      {"texts the sheet's XML must escape",
       Sheet("", "<sheetData>" + a1 + "</sheetData>"),
       0,
       {{"B2", "#1"},
        {"C2",
         "a\x01"
         "b _x0041_ <&> \""},
        {"D2", "#100"},
        {"B3", "#1"},
        {"C3",
         "a\x01"
         "b _x0041_ <&> \""},
        {"D3", "#87"}}},
      {"no rows at all",
       Sheet("", "<sheetData/>"),
       0,
       {{"A2", "#1"},
        {"B2", "Ann & Co"},
        {"C2", "#100"},
        {"A3", "#1"},
        {"B3", "Ann & Co"},
        {"C3", "#87"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // The case of texts to escape gives its canonical name in C2.
    std::vector<RowAnnotation> annotations = two;
    const auto named = c.added.find("C2");
    const std::string odd = named == c.added.end() ? "" : named->second;
    if (odd.find('\x01') != std::string::npos) {
      for (RowAnnotation& row : annotations) {
        if (!row.group.empty()) row.canonical = odd;
      }
    }
    const std::string out =
        AnnotateSheetXml(c.xml, c.headerRow, annotations, ReaderLimits());
    Cells want = ReadCells(c.xml);
    for (const auto& [at, text] : c.added) {
      ASSERT_EQ(want.count(at), 0u) << at;
      want[at] = text;
    }
    EXPECT_EQ(ReadCells(out), want) << out;
    // The sheet's own text stays ahead of the first change, the dimension.
    const size_t dimension = c.xml.find("dimension ref=\"") + 15;
    EXPECT_EQ(out.substr(0, dimension), c.xml.substr(0, dimension));
  }
}

TEST(AnnotatedWorkbook, BadSheetsRefusedOnOneLine) {
  const std::vector<RowAnnotation> one = {{"1", "a", "100"}};
  for (const std::string& xml :
       {std::string(
            "<worksheet><sheetData><row r=\"0\"/></sheetData></worksheet>"),
        std::string("<worksheet><sheetData><row><c "
                    "r=\"1A\"/></row></sheetData></worksheet>"),
        std::string("<worksheet><sheetData><row>"), std::string("<worksheet/>"),
        // No room after the last column a sheet can have.
        std::string("<worksheet><sheetData><row r=\"1\"><c r=\"XFB1\"/>"
                    "</row></sheetData></worksheet>"),
        std::string("\xFF\xFE<\0w\0", 6)}) {
    EXPECT_THROW(AnnotateSheetXml(xml, 0, one, ReaderLimits()), InputError)
        << xml;
  }
}

}  // namespace
}  // namespace marrowfield
