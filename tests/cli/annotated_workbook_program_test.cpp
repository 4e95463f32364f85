// "dedupe --annotate OUT.xlsx" run as a program: the copy read back with
// the program's own workbook reader must hold every cell of the input
// where it was, and the added group, canonical and score cells must say
// what the annotated copy of the same rows as CSV says; the parts other
// than the sheet read stay byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "program_runner.h"
#include "spreadsheet_file.h"
#include "test_files.h"
#include "zip_archive.h"

namespace marrowfield {
namespace {

using Row = std::vector<std::string>;

std::vector<std::string> Split(const std::string& text, char by) {
  std::vector<std::string> pieces;
  size_t from = 0;
  for (;;) {
    const size_t at = text.find(by, from);
    pieces.push_back(text.substr(from, at - from));
    if (at == std::string::npos) return pieces;
    from = at + 1;
  }
}

std::string Escape(const std::string& text) {
  std::string out;
  for (const char c : text)
    out += c == '&' ? std::string("&amp;") : std::string(1, c);
  return out;
}

// The rows as the cells of a sheet: texts as shared strings or inline
// strings, an empty row left without an element, |extraCells| at the end
// of row 2.
std::string SheetRows(const std::vector<Row>& rows, bool shared,
                      std::vector<std::string>& strings,
                      const std::string& extraCells = "") {
  std::string xml;
  for (size_t r = 0; r < rows.size(); ++r) {
    const std::string n = std::to_string(r + 1);
    if (rows[r].empty()) continue;  // a gap: no row element at all
    xml += "<row r=\"" + n + "\">";
    for (size_t c = 0; c < rows[r].size(); ++c) {
      const std::string ref = std::string(1, static_cast<char>('A' + c)) + n;
      if (shared) {
        xml += "<c r=\"" + ref + "\" t=\"s\"><v>" +
               std::to_string(strings.size()) + "</v></c>";
        strings.push_back(Escape(rows[r][c]));
      } else {
        xml += "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" +
               Escape(rows[r][c]) + "</t></is></c>";
      }
    }
    if (r == 1) xml += extraCells;
    xml += "</row>";
  }
  return xml;
}

std::string Csv(const std::vector<Row>& rows) {
  std::string csv;
  for (const Row& row : rows) {
    for (size_t c = 0; c < row.size(); ++c) csv += (c ? "," : "") + row[c];
    csv += "\n";
  }
  return csv;
}

std::string Member(const std::string& zipBytes, const std::string& name) {
  ZipArchive archive(zipBytes, uint64_t{1} << 30);
  const auto index = archive.Find(name);
  if (!index) return "<missing " + name + ">";
  std::string bytes;
  archive.Stream(*index, uint64_t{1} << 30,
                 [&bytes](const char* data, size_t size, bool) {
                   bytes.append(data, size);
                 });
  return bytes;
}

using Cells =
    std::map<std::pair<int32_t, int32_t>, std::pair<bool, std::string>>;

Cells CellMap(const CellGrid& grid) {
  Cells cells;
  for (const GridCell& cell : grid)
    cells[{cell.row, cell.column}] = {cell.isText, cell.text};
  return cells;
}

TEST(AnnotatedWorkbookProgram, AddedCellsAgreeWithTheCsvAndTheRestStays) {
  const std::vector<Row> withHeader = {
      {"First", "Last", "City"},          {"John", "Smith", "Boston"},
      {"Jon", "Smyth", "Boston"},         {"Mary", "Jones", "Reno"},
      {"Marie", "Jones", "Reno"},         {"John", "Smith", "Austin"},
      {"Catherine", "O'Neil", "Houston"}, {"Kathryn", "O'Neill", "Houston"}};
  std::vector<Row> gapped = withHeader;
  gapped.insert(gapped.begin() + 3, Row{});  // row 4 has no element
  const std::vector<Row> noHeader(withHeader.begin() + 1, withHeader.end());

  struct Case {
    const char* what;
    std::vector<Row> rows;
    bool shared;
    std::vector<std::string> columns;  // --name, --same
    bool otherSheetFirst;              // the read sheet is the second
    std::string extraCells;            // in row 2, after the data
  };
  const std::vector<Case> cases = {
      {"a header row, shared strings",
       withHeader,
       true,
       {"A,B", "C"},
       false,
       ""},
      {"a header row, inline strings",
       withHeader,
       false,
       {"A,B", "C"},
       false,
       ""},
      {"no header row", noHeader, true, {"A,B", "C"}, false, ""},
      {"a gap row", gapped, true, {"A,B", "C"}, false, ""},
      {"a styled empty cell further right",
       withHeader,
       true,
       {"A,B", "C"},
       false,
       "<c r=\"E2\" s=\"1\"/>"},
      {"second of two sheets", withHeader, true, {"A,B", "C"}, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    std::vector<std::string> strings;
    const std::string other = WorksheetXml(
        "<row r=\"1\"><c r=\"A1\"><v>7</v></c></row><row r=\"3\"/>");
    const std::string sheet =
        WorksheetXml(SheetRows(c.rows, c.shared, strings, c.extraCells));
    ZipParts parts =
        c.otherSheetFirst
            ? WorkbookParts({"Other", "People"}, {other, sheet},
                            c.shared ? SharedStringsXml(strings) : "")
            : WorkbookParts({"People", "Other"}, {sheet, other},
                            c.shared ? SharedStringsXml(strings) : "");
    const std::string input = dir.Write("in.xlsx", BuildZip(parts));
    const std::string out = dir.Path("out.xlsx");
    const ProgramRun run = RunMarrowfield({"dedupe", input, "--sheet", "People",
                                           "--name", c.columns[0], "--same",
                                           c.columns[1], "--annotate", out});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    // The same rows as CSV, annotated by the text writer.
    const std::string csvIn = dir.Write("in.csv", Csv(c.rows));
    const std::string csvOut = dir.Path("out.csv");
    ASSERT_EQ(RunMarrowfield({"dedupe", csvIn, "--name", c.columns[0], "--same",
                              c.columns[1], "--annotate", csvOut})
                  .exitCode,
              0);
    const std::vector<std::string> csvLines =
        Split(ReadWholeFile(csvOut), '\n');

    const Cells before = CellMap(LoadSheet(input, "People").cells);
    const Cells after = CellMap(LoadSheet(out, "People").cells);
    const int32_t first = c.extraCells.empty() ? 4 : 6;
    size_t added = 0;
    for (const auto& [at, cell] : after) {
      if (at.second < first) {
        EXPECT_EQ(before.count(at), 1u) << at.first << "," << at.second;
        continue;
      }
      ++added;
    }
    for (const auto& [at, cell] : before) {
      ASSERT_EQ(after.count(at), 1u);
      EXPECT_EQ(after.at(at), cell);
    }
    size_t expectedAdded = 0;
    for (size_t r = 0; r < c.rows.size(); ++r) {
      if (c.rows[r].empty()) continue;
      const std::vector<std::string> fields = Split(csvLines.at(r), ',');
      ASSERT_EQ(fields.size(), 6u) << csvLines.at(r);
      const int32_t row = static_cast<int32_t>(r) + 1;
      for (int32_t k = 0; k < 3; ++k) {
        const std::string& want = fields[3 + static_cast<size_t>(k)];
        const auto cell = after.find({row, first + k});
        if (want.empty()) {
          EXPECT_EQ(cell, after.end()) << "row " << row;
          continue;
        }
        ++expectedAdded;
        ASSERT_NE(cell, after.end()) << "row " << row << " column " << k;
        EXPECT_EQ(cell->second.second, want) << "row " << row;
        // Group and score are numbers, the canonical name a text.
        EXPECT_EQ(cell->second.first, k == 1) << "row " << row;
      }
    }
    EXPECT_GT(expectedAdded, 3u);
    EXPECT_EQ(added, expectedAdded);

    const std::string inBytes = ReadWholeFile(input);
    const std::string outBytes = ReadWholeFile(out);
    for (const auto& [name, content] : parts) {
      const std::string read = c.otherSheetFirst ? "xl/worksheets/sheet2.xml"
                                                 : "xl/worksheets/sheet1.xml";
      if (name == read) {
        EXPECT_NE(Member(outBytes, name), content);
        EXPECT_NE(Member(outBytes, name)
                      .find("<dimension ref=\"A1:" +
                            std::string(1, static_cast<char>('A' + first + 1))),
                  std::string::npos)
            << Member(outBytes, name);
      } else {
        EXPECT_EQ(Member(outBytes, name), Member(inBytes, name)) << name;
      }
    }
  }
}

TEST(AnnotatedWorkbookProgram, CopyThatCannotBeWrittenIsOneLineAndNoFile) {
  TempDir dir;
  const std::string input = dir.Write(
      "in.xlsx", BuildZip(WorkbookFromCells(
                     "People", {{1, 1, true, "John"}, {2, 1, true, "Jon"}})));
  const std::string out = dir.Path("missing/out.xlsx");
  const ProgramRun run =
      RunMarrowfield({"dedupe", input, "--name", "A", "--annotate", out});
  EXPECT_EQ(run.exitCode, 2) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("cannot write the annotated workbook"),
            std::string::npos)
      << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace marrowfield
