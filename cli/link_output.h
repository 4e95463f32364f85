// The output of "marrowfield link": for each value of the first list, its
// matches in the second, best first, as text blocks, JSON or CSV.
#ifndef MARROWFIELD_CLI_LINK_OUTPUT_H_
#define MARROWFIELD_CLI_LINK_OUTPUT_H_

#include <cstddef>
#include <string>
#include <vector>

#include "column_values.h"
#include "result_output.h"

namespace marrowfield {

struct LinkMatch {
  size_t value = 0;  // index into the second list's table
  int score = 0;
};

// A value of the first list (index into its table) and its matches.
struct ValueLinks {
  size_t value = 0;
  std::vector<LinkMatch> matches;
};

// One side of a link: its value table and the inputs it was built from.
struct LinkSide {
  const ValueTable& table;
  const std::vector<LoadedSheet>& sheets;
};

// Text: one block per linked value, a heading line with the value and its
// places, then one line per match with its score and places; blocks are
// separated by an empty line. JSON: an array with one object per match
// (text, count, places, match, score, match_count, match_places), one
// object per line. CSV: a header line and one record per match with the
// same fields, places joined by "; ", CRLF line ends.
std::string FormatLinks(const std::vector<ValueLinks>& links, const LinkSide& a,
                        const LinkSide& b, OutputFormat format);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_LINK_OUTPUT_H_
