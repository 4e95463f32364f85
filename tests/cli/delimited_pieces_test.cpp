// Reading delimited text on several threads gives exactly what one thread
// gives: the same cells, the same repairs with their lines, the same error,
// on texts built to put every kind of quoting trouble near the cuts.
#include "delimited_pieces.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "input_error.h"

namespace marrowfield {
namespace {

// What one reading gave, in a form that compares whole.
struct Reading {
  std::vector<std::string> cells;  // "row:column:isText:text"
  std::vector<std::string> repairs;
  uint64_t repairCount = 0;
  std::string error;
};

Reading Read(const std::string& text, bool strict, unsigned threads,
             const ReaderLimits& limits = ReaderLimits()) {
  Reading reading;
  DelimitedRepairs repairs;
  try {
    // Pieces of 64 bytes: every test text is cut in many places.
    const CellGrid cells = ParseDelimitedOnThreads(
        text, DelimitedOptions{',', strict}, limits, &repairs, threads, 64);
    for (const GridCell& c : cells) {
      reading.cells.push_back(std::to_string(c.row) + ":" +
                              std::to_string(c.column) + ":" +
                              std::to_string(c.isText) + ":" + c.text);
    }
  } catch (const InputError& error) {
    reading.error = error.what();
  }
  for (const DelimitedRepair& r : repairs.listed)
    reading.repairs.push_back(std::to_string(r.line) + ": " + r.what);
  reading.repairCount = repairs.count;
  return reading;
}

// Many ordinary records with |trouble| in the middle of them.
std::string Around(const std::string& trouble) {
  std::string text = "\xEF\xBB\xBFname,amount\r\n";
  for (int k = 0; k < 60; ++k) {
    text += "\"Smith, John " + std::to_string(k) + "\"," + std::to_string(k) +
            (k % 3 == 0 ? "\r\n" : k % 3 == 1 ? "\n" : "\r");
    if (k == 30) text += trouble;
  }
  return text;
}

struct PiecesCase {
  const char* name;
  std::string text;
};

void PrintTo(const PiecesCase& c, std::ostream* out) { *out << c.name; }

class DelimitedPiecesTest : public ::testing::TestWithParam<PiecesCase> {};

TEST_P(DelimitedPiecesTest, SameAsOneThread) {
  const std::string& text = GetParam().text;
  for (const bool strict : {false, true}) {
    const Reading one = Read(text, strict, 1);
    for (const unsigned threads : {2u, 7u}) {
      const Reading many = Read(text, strict, threads);
      EXPECT_EQ(many.cells, one.cells)
          << threads << " threads, strict " << strict;
      EXPECT_EQ(many.repairs, one.repairs) << threads << " threads";
      EXPECT_EQ(many.repairCount, one.repairCount) << threads << " threads";
      EXPECT_EQ(many.error, one.error) << threads << " threads";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DelimitedPiecesTest,
    ::testing::Values(
        PiecesCase{"Plain", Around("")},
        PiecesCase{"LineBreaksInQuotes",
                   Around("\"a\r\nb\nc\rd\",\"\"\"\r\n\"\"\"\n")},
        PiecesCase{"LongQuotedField",
                   Around("\"" + std::string(300, 'x') + "\n" +
                          std::string(300, 'y') + "\",z\n")},
        PiecesCase{"QuoteInUnquotedField", Around("5'10\",tall\n")},
        PiecesCase{"OddQuotesInUnquotedFields",
                   Around("a\"b\nc,\"d\ne\"f\n")},
        PiecesCase{"TextAfterClosingQuote", Around("\"Smith\" Jr,1\n")},
        PiecesCase{"NeverClosed", Around("") + "\"open\nto the end\n"},
        PiecesCase{"NulByte", Around(std::string("a\0b\n", 4))},
        PiecesCase{"ByteOrderMarkInside", Around("\xEF\xBB\xBFx,y\n")},
        PiecesCase{"EmptyLinesAndFields", Around("\n\n,,\r\n\r\n,\"\",\n")},
        PiecesCase{"NoFinalLineBreak", Around("") + "last,1"},
        PiecesCase{"ManyRepairs", [] {
                     std::string text;
                     for (int k = 0; k < 40; ++k)
                       text += "x\"" + std::to_string(k) + "\n";
                     return text;
                   }()}),
    [](const ::testing::TestParamInfo<PiecesCase>& info) {
      return std::string(info.param.name);
    });

TEST(DelimitedPiecesLimits, PassingALimitFailsAsOneThreadFails) {
  const std::string text = Around("");
  ReaderLimits limits;
  limits.cells = 100;
  const Reading one = Read(text, true, 1, limits);
  ASSERT_NE(one.error, "");
  EXPECT_EQ(Read(text, true, 2, limits).error, one.error);
  limits = ReaderLimits();
  limits.cellTextBytes = 500;
  const Reading textOne = Read(text, true, 1, limits);
  ASSERT_NE(textOne.error, "");
  EXPECT_EQ(Read(text, true, 7, limits).error, textOne.error);
}

}  // namespace
}  // namespace marrowfield
