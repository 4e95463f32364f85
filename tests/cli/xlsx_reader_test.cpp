// The .xlsx reader on workbooks assembled part by part: which cells are
// text, where they are, which sheet is read, and the errors for damaged
// workbooks.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cell_reference.h"
#include "input_error.h"
#include "spreadsheet_file.h"
#include "test_files.h"
#include "xlsx_package.h"

namespace marrowfield {
namespace {

struct Cell {
  std::string where;  // "B12"
  bool isText;
  std::string text;
  bool operator==(const Cell& o) const {
    return where == o.where && isText == o.isText && text == o.text;
  }
};

std::ostream& operator<<(std::ostream& out, const Cell& c) {
  return out << c.where << (c.isText ? " text \"" : " value \"") << c.text
             << "\"";
}

std::vector<Cell> Read(const ZipParts& parts,
                       const std::optional<std::string>& sheet = std::nullopt,
                       std::string* chosen = nullptr) {
  std::string name;
  std::vector<Cell> cells;
  for (const GridCell& g : ReadXlsxSheet(BuildZip(parts), sheet, name)) {
    cells.push_back(Cell{CellReference(g.row, g.column), g.isText, g.text});
  }
  if (chosen != nullptr) *chosen = name;
  return cells;
}

ZipParts OneSheet(const std::string& sheetData,
                  const std::vector<std::string>& shared = {}) {
  return WorkbookParts({"Customers"}, {WorksheetXml(sheetData)},
                       shared.empty() ? "" : SharedStringsXml(shared));
}

std::string ErrorOf(const ZipParts& parts,
                    const std::optional<std::string>& sheet = std::nullopt) {
  try {
    Read(parts, sheet);
  } catch (const InputError& error) {
    return error.what();
  }
  return "no error";
}

TEST(XlsxCells, SharedStringsAreText) {
  EXPECT_EQ(Read(OneSheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>1</v></c>"
                          "<c r=\"B1\" t=\"s\"><v>0</v></c></row>",
                          {"Smith", "Smyth"})),
            (std::vector<Cell>{{"A1", true, "Smyth"}, {"B1", true, "Smith"}}));
}

TEST(XlsxCells, RichTextRunsJoinAndPhoneticGuidesAreLeftOut) {
  const std::string shared =
      "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/"
      "main\"><si><r><t>Sm</t></r><r><rPr><b/></rPr><t>ith</t></r>"
      "<rPh sb=\"0\" eb=\"1\"><t>SUMISU</t></rPh></si></sst>";
  ZipParts parts = WorkbookParts(
      {"S"},
      {WorksheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>")},
      shared);
  EXPECT_EQ(Read(parts), (std::vector<Cell>{{"A1", true, "Smith"}}));
}

TEST(XlsxCells, InlineStringsAndFormulaStringsAreText) {
  EXPECT_EQ(Read(OneSheet("<row r=\"2\"><c r=\"C2\" t=\"inlineStr\"><is><t>"
                          "Reid</t></is></c><c r=\"D2\" t=\"str\"><f>A1&amp;"
                          "\"e\"</f><v>Reade</v></c></row>")),
            (std::vector<Cell>{{"C2", true, "Reid"}, {"D2", true, "Reade"}}));
}

TEST(XlsxCells, NumbersBooleansErrorsAndDatesAreNotText) {
  EXPECT_EQ(Read(OneSheet("<row r=\"1\"><c r=\"A1\"><v>12</v></c>"
                          "<c r=\"B1\" t=\"n\"><v>1.5</v></c>"
                          "<c r=\"C1\" t=\"b\"><v>1</v></c>"
                          "<c r=\"D1\" t=\"e\"><v>#N/A</v></c>"
                          "<c r=\"E1\" t=\"d\"><v>2024-01-31</v></c>"
                          "<c r=\"F1\"><f>1+1</f><v>2</v></c></row>")),
            (std::vector<Cell>{{"A1", false, "12"},
                               {"B1", false, "1.5"},
                               {"C1", false, "1"},
                               {"D1", false, "#N/A"},
                               {"E1", false, "2024-01-31"},
                               {"F1", false, "2"}}));
}

TEST(XlsxCells, CellsWithoutValueMakeNoCell) {
  EXPECT_EQ(Read(OneSheet("<row r=\"1\"><c r=\"A1\" s=\"3\"/><c r=\"B1\" "
                          "t=\"str\"><f>X()</f></c><c r=\"C1\" t=\"s\"><v>0"
                          "</v></c></row>",
                          {"Smith"})),
            (std::vector<Cell>{{"C1", true, "Smith"}}));
}

TEST(XlsxCells, CellsAndRowsWithoutReferenceFollowThePreviousOne) {
  EXPECT_EQ(Read(OneSheet("<row><c t=\"inlineStr\"><is><t>a</t></is></c>"
                          "<c r=\"C1\" t=\"inlineStr\"><is><t>b</t></is></c>"
                          "<c t=\"inlineStr\"><is><t>c</t></is></c></row>"
                          "<row><c t=\"inlineStr\"><is><t>d</t></is></c></row>"
                          "<row r=\"5\"><c t=\"inlineStr\"><is><t>e</t></is>"
                          "</c></row>")),
            (std::vector<Cell>{{"A1", true, "a"},
                               {"C1", true, "b"},
                               {"D1", true, "c"},
                               {"A2", true, "d"},
                               {"A5", true, "e"}}));
}

TEST(XlsxCells, EscapedCharactersAreDecoded) {
  EXPECT_EQ(Read(OneSheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>",
                          {"two_x000D__x000A_lines_x005F_x0041_"})),
            (std::vector<Cell>{{"A1", true, "two\r\nlines_x0041_"}}));
}

// The engine takes C strings: a NUL inside a cell would cut its text short.
TEST(XlsxCells, NulEscapeStaysAsWritten) {
  EXPECT_EQ(Read(OneSheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>",
                          {"Smith_x0000_Jones"})),
            (std::vector<Cell>{{"A1", true, "Smith_x0000_Jones"}}));
}

TEST(XlsxCells, Utf8TextPassesUnchanged) {
  EXPECT_EQ(Read(OneSheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>",
                          {"M\xC3\xBCller"})),
            (std::vector<Cell>{{"A1", true, "M\xC3\xBCller"}}));
}

ZipParts TwoSheets(bool absoluteTargets = false) {
  return WorkbookParts(
      {"First", "Second Sheet"},
      {WorksheetXml("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>one</t>"
                    "</is></c></row>"),
       WorksheetXml("<row r=\"1\"><c r=\"B1\" t=\"inlineStr\"><is><t>two</t>"
                    "</is></c></row>")},
      "", absoluteTargets);
}

TEST(XlsxSheets, FirstSheetByDefault) {
  std::string chosen;
  EXPECT_EQ(Read(TwoSheets(), std::nullopt, &chosen),
            (std::vector<Cell>{{"A1", true, "one"}}));
  EXPECT_EQ(chosen, "First");
}

TEST(XlsxSheets, SheetChosenByNameIgnoringCase) {
  std::string chosen;
  EXPECT_EQ(Read(TwoSheets(), std::string("second sheet"), &chosen),
            (std::vector<Cell>{{"B1", true, "two"}}));
  EXPECT_EQ(chosen, "Second Sheet");
}

TEST(XlsxSheets, AbsolutePartTargetsAreFollowed) {
  EXPECT_EQ(Read(TwoSheets(true), std::string("Second Sheet")),
            (std::vector<Cell>{{"B1", true, "two"}}));
}

TEST(XlsxSheets, UnknownSheetErrorListsTheSheets) {
  EXPECT_EQ(ErrorOf(TwoSheets(), std::string("Third")),
            "no sheet named 'Third' (sheets: 'First', 'Second Sheet')");
}

TEST(XlsxErrors, NotAZipArchive) {
  std::string name;
  try {
    ReadXlsxSheet("Name,City\nSmith,Boston\n", std::nullopt, name);
    FAIL() << "no error";
  } catch (const InputError& error) {
    EXPECT_STREQ(error.what(),
                 "not an Excel workbook (an .xlsx file is a zip package, and "
                 "this is not one; a CSV file needs the .csv extension)");
  }
}

TEST(XlsxErrors, ZipWithoutWorkbook) {
  EXPECT_EQ(ErrorOf({{"hello.txt", "hi"}}), "part _rels/.rels is missing");
}

TEST(XlsxErrors, MalformedSheetXmlNamesSheetAndLine) {
  EXPECT_EQ(ErrorOf(OneSheet("<row r=\"1\">\n<c r=\"A1\"><v>1</v></row>")),
            "sheet 'Customers', line 3: invalid XML: mismatched tag");
}

TEST(XlsxErrors, SharedStringIndexOutOfRange) {
  EXPECT_EQ(ErrorOf(OneSheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>5</v></c>"
                             "</row>",
                             {"Smith"})),
            "sheet 'Customers': cell A1 refers to shared string '5', which "
            "does not exist");
}

TEST(XlsxErrors, BadCellReference) {
  EXPECT_EQ(ErrorOf(OneSheet("<row r=\"1\"><c r=\"1A\"><v>1</v></c></row>")),
            "sheet 'Customers': cell reference '1A' is not valid");
}

TEST(XlsxPartNames, ResolveRelativeAbsoluteAndEncodedTargets) {
  EXPECT_EQ(ResolvePartName("xl/workbook.xml", "worksheets/sheet1.xml"),
            "xl/worksheets/sheet1.xml");
  EXPECT_EQ(ResolvePartName("xl/workbook.xml", "/xl/worksheets/sheet1.xml"),
            "xl/worksheets/sheet1.xml");
  EXPECT_EQ(ResolvePartName("xl/workbook.xml", "../custom/./a%20b.xml"),
            "custom/a b.xml");
  EXPECT_EQ(ResolvePartName("", "xl/workbook.xml"), "xl/workbook.xml");
}

TEST(LoadSheetErrors, NameTheFile) {
  const TempDir dir;
  const std::string bad = dir.Write("bad.csv", "a,b\"c\n");
  const std::string notZip = dir.Write("book.xlsx", "plain text");
  const std::string other = dir.Write("list.dat", "Smith\n");
  const std::string missing = dir.Path("missing.csv");
  const std::string sheets = dir.Write("sheets.xlsx", BuildZip(TwoSheets()));
  const std::vector<std::pair<std::string, std::string>> cases = {
      {bad, bad + ": line 1: quote inside an unquoted field (quote the whole "
                  "field)"},
      {notZip, notZip + ": not an Excel workbook (an .xlsx file is a zip "
                        "package, and this is not one; a CSV file needs the "
                        ".csv extension)"},
      {other, other + ": unsupported file type (expected .csv, .tsv, .txt, "
                      ".xlsx, .xlsm, .xltx or .xltm)"},
      {missing, missing + ": cannot open: No such file or directory"},
      {dir.Path(""), dir.Path("") +
                         ": unsupported file type (expected .csv, .tsv, "
                         ".txt, .xlsx, .xlsm, .xltx or .xltm)"},
  };
  for (const auto& [path, message] : cases) {
    try {
      LoadSheet(path, std::nullopt);
      ADD_FAILURE() << "no error for " << path;
    } catch (const InputError& error) {
      EXPECT_EQ(error.what(), message);
    }
  }
  try {
    LoadSheet(sheets, std::string("Nope"));
    ADD_FAILURE() << "no error for an unknown sheet";
  } catch (const InputError& error) {
    EXPECT_EQ(error.what(), sheets +
                                ": no sheet named 'Nope' (sheets: "
                                "'First', 'Second Sheet')");
  }
}

TEST(LoadSheetErrors, FolderNamedLikeACsvFile) {
  const TempDir dir;
  std::filesystem::create_directory(dir.Path("folder.csv"));
  try {
    LoadSheet(dir.Path("folder.csv"), std::nullopt);
    FAIL() << "no error";
  } catch (const InputError& error) {
    EXPECT_EQ(error.what(), dir.Path("folder.csv") +
                                ": cannot read: Is a "
                                "directory");
  }
}

TEST(LoadSheet, CsvHasNoSheetAndWorkbookNamesIt) {
  const TempDir dir;
  const LoadedSheet csv = LoadSheet(dir.Write("a.csv", "Smith\n"), "Ignored");
  EXPECT_FALSE(csv.sheet.has_value());
  ASSERT_EQ(csv.cells.size(), 1u);
  const LoadedSheet book =
      LoadSheet(dir.Write("b.XLSX", BuildZip(TwoSheets())), std::nullopt);
  EXPECT_EQ(book.sheet, std::optional<std::string>("First"));
}

}  // namespace
}  // namespace marrowfield
