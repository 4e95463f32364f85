// "marrowfield search" on delimited files made to hurt it, and on valid ones
// of extreme shape: a quote never closed, NUL bytes and UTF-16, a file past
// the size limit, a field of a hundred megabytes, lines of a million
// columns. Every run is bounded in memory and processor time; each ends in
// one error line and exit status 2, or in the right result.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "bounded_search.h"
#include "cell_reference.h"
#include "reader_limits.h"
#include "test_files.h"

namespace marrowfield {
namespace {

TEST(HostileFiles, FileLargerThanTheLimitIsRefusedUnread) {
  const TempDir dir;
  const uint64_t limit = ReaderLimits().fileBytes;
  for (const std::string name : {"huge.csv", "huge.xlsx"}) {
    // A sparse file: nothing of it is written to the disk.
    const std::string file = dir.Write(name, "");
    ASSERT_EQ(truncate(file.c_str(), static_cast<off_t>(limit + 1)), 0);
    ExpectRefused(SearchBounded(file), file,
                  "larger than " + DescribeBytes(limit) +
                      " (the limit for an input file)");
  }
}

struct BrokenCsv {
  const char* name;
  std::string bytes;
  const char* reason;
};

class HostileDelimitedFiles : public ::testing::TestWithParam<BrokenCsv> {};

TEST_P(HostileDelimitedFiles, RefusedWithTheirLine) {
  const TempDir dir;
  const std::string file = dir.Write("broken.csv", GetParam().bytes);
  ExpectRefused(SearchBounded(file, {"--strict"}), file, GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileDelimitedFiles,
    ::testing::Values(
        BrokenCsv{"UnterminatedQuote",
                  "Name,City\nSmith,Boston\n\"Smyth,Leeds\nJones,York\n",
                  "line 3: quoted field is never closed"},
        BrokenCsv{"UnterminatedQuoteRunningToALargeEnd",
                  "Smith,\"" + std::string(20 * kMebibyte, 'a'),
                  "line 1: quoted field is never closed"},
        BrokenCsv{"NulByte", std::string("Smith\nSm\0th\n", 12),
                  "line 2: NUL byte: not a text file"},
        BrokenCsv{"Utf16WithoutByteOrderMark",
                  std::string("S\0m\0i\0t\0h\0\n\0", 12),
                  "this looks like UTF-16 text without a byte-order mark, "
                  "which cannot be read safely; save it as UTF-8, or as "
                  "UTF-16 with a byte-order mark (Excel's \"Unicode Text\")"}),
    [](const ::testing::TestParamInfo<BrokenCsv>& info) {
      return std::string(info.param.name);
    });

TEST(ExtremeDelimitedFiles, HundredMegabyteFieldIsReadWhole) {
  const TempDir dir;
  // Quoted, with a delimiter and doubled quotes inside, so that every part
  // of the quoted-field reader meets it.
  std::string field(100'000'000, 'a');
  field[3] = ',';
  std::string quoted = "Smith,\"";
  std::size_t copied = 0;
  for (std::size_t at = 7; at < field.size(); at += 10'000'000) {
    field[at] = '"';
    quoted.append(field, copied, at + 1 - copied).push_back('"');
    copied = at + 1;
  }
  quoted.append(field, copied, std::string::npos) += "\"\r\n";
  const std::string file = dir.Write("big.csv", quoted);
  quoted.clear();
  const ProgramRun run = SearchBounded(file, {"--accuracy", "0"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const std::string first = "Smith  (100%)\t" + file + ":A1\n";
  ASSERT_EQ(run.out.compare(0, first.size(), first), 0);
  // The other result is the field, whole, at B1.
  EXPECT_EQ(run.out.compare(first.size(), field.size(), field), 0);
  const std::size_t tab = run.out.find('\t', first.size());
  EXPECT_EQ(run.out.substr(tab), "\t" + file + ":B1\n");
  EXPECT_EQ(run.out.find('\n', first.size()), run.out.size() - 1);
}

struct WideLine {
  const char* name;
  const char* field;  // a million of these, then "Smith"
};

class ExtremeLines : public ::testing::TestWithParam<WideLine> {};

TEST_P(ExtremeLines, MillionColumnsAreRead) {
  const TempDir dir;
  constexpr int32_t kColumns = 1'000'000;
  std::string line;
  for (int32_t i = 0; i < kColumns; ++i) line += GetParam().field;
  const std::string file = dir.Write("wide.csv", line + "Smith\n" + line);
  const ProgramRun run = SearchBounded(file, {"--accuracy", "100"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Smith  (100%)\t" + file + ":" +
                         CellReference(1, kColumns + 1) + "\n");
}

INSTANTIATE_TEST_SUITE_P(Fields, ExtremeLines,
                         ::testing::Values(WideLine{"Empty", ","},
                                           WideLine{"Text", "x,"},
                                           WideLine{"Numbers", "1,"}),
                         [](const ::testing::TestParamInfo<WideLine>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace marrowfield
