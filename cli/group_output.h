// The output of "marrowfield dedupe": the groups of duplicates as text
// blocks, JSON or CSV, and the mapping from each spelling to its group's
// suggested one.
#ifndef MARROWFIELD_CLI_GROUP_OUTPUT_H_
#define MARROWFIELD_CLI_GROUP_OUTPUT_H_

#include <cstddef>
#include <string>
#include <vector>

#include "column_values.h"
#include "result_output.h"

namespace marrowfield {

// A member of a group; |value| and |via| index the value table.
struct GroupRow {
  size_t value = 0;
  int score = 0;     // against the canonical
  size_t via = 0;    // the member it joined through
  int viaScore = 0;  // that pair's score
};

struct ValueGroup {
  size_t canonical = 0;
  uint64_t cells = 0;             // the members' counts together
  std::vector<GroupRow> members;  // the canonical first
};

// Text: one block per group in the given order, a heading line
// ("Smith  (3 spellings, 7 cells)"; for records "John Smith (Boston)  (2
// records, 3 rows)") and one line per member with its score
// against the canonical, the member it joined through when that is not the
// canonical, and its places; blocks are separated by an empty line. JSON:
// an array with one object per member (group, canonical, text, count,
// score, via, via_score, places), one object per line. CSV: a header line
// and one record per member with the same fields, the places joined by
// "; ", CRLF line ends. Formatted on |threads| threads (0: every core);
// the output is the same for every count.
std::string FormatGroups(const std::vector<ValueGroup>& groups,
                         const ValueTable& table,
                         const std::vector<LoadedSheet>& sheets,
                         OutputFormat format, unsigned threads = 0);

// The mapping: the header "text,canonical" and one CSV record per member
// of every group, CRLF line ends; the canonical maps to itself.
std::string FormatMapping(const std::vector<ValueGroup>& groups,
                          const ValueTable& table, unsigned threads = 0);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_GROUP_OUTPUT_H_
