// The rows --annotate finds in a file's bytes are the rows the delimited
// reader reads, for well-formed and repaired quoting alike, and the
// annotated text is the input with fields added and nothing else changed.
#include "annotated_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "delimited_reader.h"

namespace marrowfield {
namespace {

const std::vector<std::string>& Texts() {
  static const std::vector<std::string> texts = {
      "a,b,c\n1,2,3\n",
      "a,b,c\r\n1,2,3\r\n",
      "a,b\r1,2\r",
      "a,b\n1,2",
      "\xEF\xBB\xBF"
      "a,b\n1,2\n",
      "a,\"b\nstill b\",c\nx,y,z\n",
      "a,\"b \"\"quoted\"\" b\",c\n",
      "a,\"b\"tail,c\nx\n",  // text after the closing quote
      "a,5'10\",c\nx\n",     // a quote inside an unquoted field
      "a,\"never closed\nx,y\n",
      "\n\na,b\n\n1,2\n\n",
      ",,,\n,\n",
      "a;b;c\n1;\"2;3\";4\n",
  };
  return texts;
}

TEST(AnnotatedFile, RowsAreTheReadersRows) {
  for (const char delimiter : {',', ';'}) {
    for (const std::string& text : Texts()) {
      DelimitedRepairs repairs;
      const DelimitedPiece piece =
          ParseDelimitedPiece(text, true, DelimitedOptions{delimiter, false},
                              ReaderLimits(), &repairs);
      const std::vector<RawRecord> records = SplitRawRecords(text, delimiter);
      ASSERT_EQ(static_cast<int64_t>(records.size()), piece.records) << text;
      for (const GridCell& cell : piece.cells) {
        ASSERT_LE(static_cast<size_t>(cell.row), records.size()) << text;
        EXPECT_GE(records[static_cast<size_t>(cell.row) - 1].fields,
                  static_cast<size_t>(cell.column))
            << text;
      }
    }
  }
}

TEST(AnnotatedFile, AddsFieldsAndKeepsEveryOtherByte) {
  const std::string text =
      "\xEF\xBB\xBF"
      "Name,City\r\n\"Smith, J\",Leeds\r\n"
      "Jon\r\n\r\nBrown,Bath";
  const std::vector<RowAnnotation> annotations = {
      {}, {"1", "Smith, J", "100"}, {"1", "Smith, J", "87"}};
  const std::string annotated = AnnotateText(text, ',', 1, annotations);
  EXPECT_EQ(annotated,
            "\xEF\xBB\xBF"
            "Name,City,group,canonical,score\r\n"
            "\"Smith, J\",Leeds,1,\"Smith, J\",100\r\n"
            "Jon,,1,\"Smith, J\",87\r\n"
            "\r\n"
            "Brown,Bath,,,");
}

}  // namespace
}  // namespace marrowfield
