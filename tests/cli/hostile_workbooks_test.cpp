// "marrowfield search" on workbooks made to hurt it: parts that inflate past
// the limits or lie about their sizes, DOCTYPEs with entity bombs, XML nested
// thousands deep, missing shared strings, cut-off and damaged archives. Every
// run is bounded in memory and processor time; each ends in one error line
// and exit status 2, or in the right result when the workbook is valid.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bounded_search.h"
#include "raw_zip.h"
#include "reader_limits.h"
#include "test_files.h"

namespace marrowfield {
namespace {

const char* const kSheetPart = "xl/worksheets/sheet1.xml";
const char* const kMainNs =
    "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

ZipParts OneSheet(const std::string& sheetXml,
                  const std::string& sharedStrings = "") {
  return WorkbookParts({"Customers"}, {sheetXml}, sharedStrings);
}

std::string SheetWithText(const std::string& text) {
  return WorksheetXml("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>" +
                      text + "</t></is></c></row>");
}

// A workbook whose sheet part holds |bytes| or a little more of blanks.
RawZipMember OversizedSheet(uint64_t bytes) {
  const std::string open =
      "<worksheet xmlns=\"" + std::string(kMainNs) + "\"><sheetData>";
  const std::string chunk(kMebibyte, ' ');
  return RepeatedMember(kSheetPart, open, chunk, bytes / kMebibyte + 1,
                        "</sheetData></worksheet>");
}

// |parts| as a zip in which member |name| is replaced by |member|.
std::string ReplaceMember(const ZipParts& parts, const RawZipMember& member) {
  std::vector<RawZipMember> members = StoredMembers(parts);
  for (RawZipMember& m : members) {
    if (m.name == member.name) m = member;
  }
  return WriteRawZip(members);
}

std::string PartLimitReason(const std::string& part, uint64_t limit) {
  return "part " + part + " inflates to more than " + DescribeBytes(limit) +
         " (the limit for this part)";
}

TEST(HostileWorkbooks, PartInflatingPastTheLimitIsRefused) {
  const TempDir dir;
  const uint64_t limit = ReaderLimits().partBytes;
  const std::string file = dir.Write(
      "bomb.xlsx",
      ReplaceMember(OneSheet(SheetWithText("Smith")), OversizedSheet(limit)));
  EXPECT_LT(ReadWholeFile(file).size(), limit / 500);
  ExpectRefused(SearchBounded(file), file,
                "sheet 'Customers': " + PartLimitReason(kSheetPart, limit));
}

TEST(HostileWorkbooks, PartLyingAboutItsSizeIsCountedAsItInflates) {
  const TempDir dir;
  const uint64_t limit = ReaderLimits().structurePartBytes;
  // The workbook part, whose limit is the smaller, says it holds 300 bytes.
  RawZipMember workbook = RepeatedMember(
      "xl/workbook.xml", "<workbook xmlns=\"" + std::string(kMainNs) + "\">",
      std::string(kMebibyte, ' '), limit / kMebibyte + 1, "</workbook>");
  workbook.declaredSize = 300;
  const std::string file = dir.Write(
      "liar.xlsx", ReplaceMember(OneSheet(SheetWithText("Smith")), workbook));
  ExpectRefused(SearchBounded(file), file,
                PartLimitReason("xl/workbook.xml", limit));
}

// An entity that would expand to a thousand million copies of "lol".
std::string LaughingDoctype() {
  std::string doctype = "<!DOCTYPE lolz [\n<!ENTITY lol0 \"lol\">\n";
  for (int level = 1; level <= 9; ++level) {
    doctype += "<!ENTITY lol" + std::to_string(level) + " \"";
    for (int i = 0; i < 10; ++i) {
      doctype += "&lol" + std::to_string(level - 1) + ";";
    }
    doctype += "\">\n";
  }
  return doctype + "]>\n";
}

// Puts |doctype| after the XML declaration (the first line) of |xml|.
std::string WithDoctype(const std::string& xml, const std::string& doctype) {
  const std::size_t lineEnd = xml.find('\n') + 1;
  return xml.substr(0, lineEnd) + doctype + xml.substr(lineEnd);
}

struct DoctypeCase {
  const char* name;
  const char* part;     // the part that carries the DOCTYPE
  const char* context;  // how the error names that part
};

class HostileDoctypes : public ::testing::TestWithParam<DoctypeCase> {};

TEST_P(HostileDoctypes, AnyDoctypeIsRefused) {
  const TempDir dir;
  ZipParts parts = OneSheet(SheetWithText("&lol9;"), SharedStringsXml({"a"}));
  for (const std::string& doctype :
       {LaughingDoctype(), std::string("<!DOCTYPE worksheet SYSTEM "
                                       "\"file:///etc/passwd\">\n")}) {
    ZipParts hostile = parts;
    for (auto& [name, content] : hostile) {
      if (name == GetParam().part) content = WithDoctype(content, doctype);
    }
    const std::string file = dir.Write("doctype.xlsx", BuildZip(hostile));
    ExpectRefused(SearchBounded(file), file,
                  std::string(GetParam().context) +
                      ", line 2: a DOCTYPE declaration is not allowed in a "
                      "workbook part");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Parts, HostileDoctypes,
    ::testing::Values(
        DoctypeCase{"Sheet", "xl/worksheets/sheet1.xml", "sheet 'Customers'"},
        DoctypeCase{"SharedStrings", "xl/sharedStrings.xml", "shared strings"},
        DoctypeCase{"Workbook", "xl/workbook.xml", "part xl/workbook.xml"},
        DoctypeCase{"Relationships", "_rels/.rels", "part _rels/.rels"}),
    [](const ::testing::TestParamInfo<DoctypeCase>& info) {
      return std::string(info.param.name);
    });

std::string Nested(int depth, const std::string& inside) {
  std::string xml;
  for (int i = 0; i < depth; ++i) xml += "<x>";
  xml += inside;
  for (int i = 0; i < depth; ++i) xml += "</x>";
  return xml;
}

TEST(HostileWorkbooks, SheetNestedThousandsDeepIsRefused) {
  const TempDir dir;
  const std::string file = dir.Write(
      "deep.xlsx", BuildZip(OneSheet(WorksheetXml(Nested(100000, "")))));
  ExpectRefused(SearchBounded(file), file,
                "sheet 'Customers', line 2: elements nested more than " +
                    std::to_string(ReaderLimits().xmlDepth) +
                    " deep (the limit for XML parts)");
}

TEST(HostileWorkbooks, NestingWithinTheLimitIsRead) {
  const TempDir dir;
  // worksheet, sheetData, row, c, is and t take six of the levels.
  const std::string file = dir.Write(
      "nested.xlsx", BuildZip(OneSheet(WorksheetXml(
                         "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is>" +
                         Nested(ReaderLimits().xmlDepth - 6, "<t>Smith</t>") +
                         "</is></c></row>"))));
  const ProgramRun run = SearchBounded(file);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Smith  (100%)\t" + file + ":Customers!A1\n");
}

TEST(HostileWorkbooks, SharedStringIndexOutOfRangeIsRefused) {
  const TempDir dir;
  for (const std::string index :
       {"1", "4294967296", "99999999999999999999999", "-1", " "}) {
    const std::string file = dir.Write(
        "missing.xlsx",
        BuildZip(OneSheet(WorksheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>" +
                                       index + "</v></c></row>"),
                          SharedStringsXml({"Smith"}))));
    ExpectRefused(SearchBounded(file), file,
                  "sheet 'Customers': cell A1 refers to shared string '" +
                      index + "', which does not exist");
  }
}

TEST(HostileWorkbooks, TruncatedArchiveIsRefused) {
  const TempDir dir;
  const std::string whole = BuildZip(OneSheet(SheetWithText("Smith")));
  for (const std::size_t keep : {whole.size() - 1, whole.size() - 30,
                                 whole.size() / 2, std::size_t{40}}) {
    const std::string file = dir.Write("cut.xlsx", whole.substr(0, keep));
    ExpectRefused(SearchBounded(file), file,
                  "not a valid .xlsx workbook: the zip archive is truncated "
                  "or damaged (its central directory is missing)");
  }
}

TEST(HostileWorkbooks, DamagedMemberIsRefused) {
  const TempDir dir;
  std::vector<RawZipMember> members =
      StoredMembers(OneSheet(SheetWithText("Smith")));
  for (RawZipMember& member : members) {
    // "Smith" becomes "Rmith": still XML, so only the checksum can tell.
    if (member.name == kSheetPart) member.data[member.data.find("Smith")] ^= 1;
  }
  const std::string file = dir.Write("damaged.xlsx", WriteRawZip(members));
  const ProgramRun run = SearchBounded(file);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("marrowfield: " + file + ": sheet 'Customers': ", 0),
            0u)
      << run.err;
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
}

}  // namespace
}  // namespace marrowfield
