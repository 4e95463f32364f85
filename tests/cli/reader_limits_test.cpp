// Each reader limit, reached with limits made small so that the files stay
// small: the checks are the same whatever the numbers, and the program tests
// meet the real limits with real files.
#include "reader_limits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cell_reference.h"
#include "delimited_reader.h"
#include "file_bytes.h"
#include "input_error.h"
#include "raw_zip.h"
#include "spreadsheet_file.h"
#include "test_files.h"
#include "xml_reader.h"

namespace marrowfield {
namespace {

template <typename Read>
std::string ErrorOf(Read read) {
  try {
    read();
  } catch (const InputError& error) {
    return error.what();
  } catch (const XmlError& error) {
    return "line " + std::to_string(error.line) + ": " + error.what();
  }
  return "no error";
}

std::string CsvError(const std::string& bytes, const ReaderLimits& limits) {
  return ErrorOf([&] { ParseDelimited(bytes, ',', limits); });
}

std::string XlsxError(const std::string& bytes, const ReaderLimits& limits) {
  return ErrorOf([&] {
    std::string chosen;
    ReadXlsxSheet(bytes, std::nullopt, chosen, limits);
  });
}

std::string InlineCell(const std::string& ref, const std::string& text) {
  return "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + text +
         "</t></is></c>";
}

TEST(DescribeBytes, UsesTheLargestWholeUnit) {
  const std::vector<std::pair<uint64_t, std::string>> cases = {
      {kGibibyte, "1 GiB"},       {2 * kGibibyte, "2 GiB"},
      {64 * kMebibyte, "64 MiB"}, {kMebibyte + 1, "1048577 bytes"},
      {3000, "3000 bytes"},       {1, "1 byte"}};
  for (const auto& [bytes, text] : cases) EXPECT_EQ(DescribeBytes(bytes), text);
}

TEST(DelimitedLimits, CellsPastTheLimitAreRefusedWithTheirLine) {
  ReaderLimits limits;
  limits.cells = 3;
  EXPECT_EQ(ParseDelimited("a,b\nc,,\n", ',', limits).size(), 3u);
  EXPECT_EQ(CsvError("a,b\nc,d\n", limits),
            "line 2: more than 3 cells (the limit for one file or sheet)");
}

TEST(DelimitedLimits, TextPastTheLimitIsRefused) {
  ReaderLimits limits;
  limits.cellTextBytes = 5;
  EXPECT_EQ(ParseDelimited("abc,\"de\"\n", ',', limits).size(), 2u);
  EXPECT_EQ(CsvError("abc\n\"d\"\"e\"\n", limits),
            "line 2: more than 5 bytes of cell text (the limit for one file "
            "or sheet)");
}

TEST(FileLimit, RegularFilePastTheLimitIsRefusedBeforeReading) {
  const TempDir dir;
  const std::string path = dir.Write("ten.csv", "0123456789");
  EXPECT_EQ(ReadFileBytes(path, 10), "0123456789");
  EXPECT_EQ(ErrorOf([&] { ReadFileBytes(path, 9); }),
            path + ": larger than 9 bytes (the limit for an input file)");
}

TEST(FileLimit, StreamWithoutSizeIsCountedAsItIsRead) {
  EXPECT_EQ(ErrorOf([] { ReadFileBytes("/dev/zero", kMebibyte); }),
            "/dev/zero: larger than 1 MiB (the limit for an input file)");
}

ZipParts OneSheet(const std::string& sheetData,
                  const std::vector<std::string>& shared = {}) {
  return WorkbookParts({"S"}, {WorksheetXml(sheetData)},
                       shared.empty() ? "" : SharedStringsXml(shared));
}

TEST(WorkbookLimits, SharedStringCopiesCountAgainstTheTextLimit) {
  std::string row = "<row r=\"1\">";
  for (int column = 1; column <= 11; ++column) {
    row += "<c r=\"" + ColumnLetters(column) + "1\" t=\"s\"><v>0</v></c>";
  }
  row += "</row>";
  ReaderLimits limits;
  limits.cellTextBytes = 1000;
  EXPECT_EQ(XlsxError(BuildZip(OneSheet(row, {std::string(100, 'a')})), limits),
            "sheet 'S': more than 1000 bytes of cell text (the limit for one "
            "file or sheet)");
}

TEST(WorkbookLimits, CellsPastTheLimitAreRefused) {
  const std::string row = "<row r=\"1\">" + InlineCell("A1", "a") +
                          InlineCell("B1", "b") + "<c r=\"C1\"><v>3</v></c>" +
                          "</row>";
  ReaderLimits limits;
  limits.cells = 3;
  std::string chosen;
  EXPECT_EQ(ReadXlsxSheet(BuildZip(OneSheet(row)), std::nullopt, chosen, limits)
                .size(),
            3u);
  limits.cells = 2;
  EXPECT_EQ(XlsxError(BuildZip(OneSheet(row)), limits),
            "sheet 'S': more than 2 cells (the limit for one file or sheet)");
}

TEST(WorkbookLimits, SharedStringItemsPastTheLimitAreRefused) {
  ReaderLimits limits;
  limits.sharedStrings = 2;
  EXPECT_EQ(XlsxError(BuildZip(OneSheet("", {"a", "b", "c"})), limits),
            "shared strings: more than 2 items (the limit for shared strings)");
}

// A sheet part of |size| bytes or a little more: padding in <sheetData>.
std::string SheetOfSize(std::size_t size) {
  const std::string empty = WorksheetXml("");
  return WorksheetXml(std::string(size - std::min(size, empty.size()), ' '));
}

std::string SheetPart() { return "xl/worksheets/sheet1.xml"; }

// |parts| as a zip whose sheet part declares |declared| bytes.
std::string WithDeclaredSheetSize(const ZipParts& parts, uint64_t declared) {
  std::vector<RawZipMember> members = StoredMembers(parts);
  for (RawZipMember& member : members) {
    if (member.name == SheetPart()) member.declaredSize = declared;
  }
  return WriteRawZip(members);
}

TEST(WorkbookLimits, PartPastTheLimitIsRefusedWhateverItsHeaderSays) {
  const ZipParts parts = WorkbookParts({"S"}, {SheetOfSize(2000)}, "");
  ReaderLimits limits;
  limits.partBytes = 1000;
  const std::string expected =
      "sheet 'S': part " + SheetPart() +
      " inflates to more than 1000 bytes (the limit for this part)";
  EXPECT_EQ(XlsxError(WriteRawZip(StoredMembers(parts)), limits), expected);
  EXPECT_EQ(XlsxError(WithDeclaredSheetSize(parts, 10), limits), expected);
  limits.partBytes = 2000;
  EXPECT_EQ(XlsxError(WriteRawZip(StoredMembers(parts)), limits), "no error");
}

TEST(WorkbookLimits, PartsTogetherPastTheLimitAreRefused) {
  const ZipParts parts =
      WorkbookParts({"S"}, {SheetOfSize(2000)}, SharedStringsXml({"a"}));
  uint64_t read = 0;  // every part but the content types is read
  for (const auto& [name, content] : parts) {
    if (name != "[Content_Types].xml") read += content.size();
  }
  ReaderLimits limits;
  limits.inflatedBytes = read;
  EXPECT_EQ(XlsxError(BuildZip(parts), limits), "no error");
  limits.inflatedBytes = read - 1;
  EXPECT_EQ(XlsxError(BuildZip(parts), limits),
            "sheet 'S': the parts read inflate to more than " +
                DescribeBytes(read - 1) +
                " together (the limit for one workbook)");
}

TEST(WorkbookLimits, StructurePartsHaveTheirOwnLimit) {
  ReaderLimits limits;
  limits.structurePartBytes = 100;
  EXPECT_EQ(XlsxError(BuildZip(OneSheet("")), limits),
            "part _rels/.rels inflates to more than 100 bytes (the limit for "
            "this part)");
}

TEST(WorkbookLimits, NestingPastTheDepthLimitIsRefused) {
  // worksheet, sheetData, row, c, is, t: six levels.
  const ZipParts parts =
      OneSheet("<row r=\"1\">" + InlineCell("A1", "Smith") + "</row>");
  ReaderLimits limits;
  limits.xmlDepth = 6;
  EXPECT_EQ(XlsxError(BuildZip(parts), limits), "no error");
  limits.xmlDepth = 5;
  EXPECT_EQ(XlsxError(BuildZip(parts), limits),
            "sheet 'S', line 2: elements nested more than 5 deep (the limit "
            "for XML parts)");
}

class IgnoringHandler : public XmlHandler {
 public:
  std::string text;
  void OnStart(std::string_view, const XmlAttributes&) override {}
  void OnEnd(std::string_view) override {}
  void OnText(std::string_view piece) override { text.append(piece); }
};

// Feeds |document| in pieces of |piece| bytes, as a part is inflated.
void FeedInPieces(const std::string& document, std::size_t piece,
                  XmlHandler& handler, const ReaderLimits& limits) {
  XmlReader reader(handler, limits);
  for (std::size_t at = 0; at < document.size(); at += piece) {
    reader.Feed(document.data() + at, std::min(piece, document.size() - at),
                false);
  }
  reader.Feed(nullptr, 0, true);
}

TEST(XmlLimits, MarkupPendingPastTheLimitIsRefused) {
  ReaderLimits limits;
  limits.xmlPendingBytes = 1000;
  IgnoringHandler handler;
  const std::string comment = "<a>\n<!--" + std::string(5000, 'x') + "--></a>";
  EXPECT_EQ(ErrorOf([&] { FeedInPieces(comment, 100, handler, limits); }),
            "line 2: a tag, comment or other piece of XML longer than 1000 "
            "bytes (the limit for one piece of markup)");
  const std::string attribute = "<a b=\"" + std::string(5000, 'x') + "\"/>";
  EXPECT_EQ(ErrorOf([&] { FeedInPieces(attribute, 100, handler, limits); }),
            "line 1: a tag, comment or other piece of XML longer than 1000 "
            "bytes (the limit for one piece of markup)");
}

TEST(XmlLimits, LongTextIsNotPendingMarkup) {
  ReaderLimits limits;
  limits.xmlPendingBytes = 1000;
  IgnoringHandler handler;
  const std::string text(50000, 'x');
  FeedInPieces("<a>" + text + "</a>", 100, handler, limits);
  EXPECT_EQ(handler.text, text);
}

}  // namespace
}  // namespace marrowfield
