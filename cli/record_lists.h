// "dedupe" and "link" by records: --name, --same and --also instead of
// one column. Inputs are read whole before anything is compared, and
// output (standard output, --mapping, --annotate) is written at the end.
#ifndef MARROWFIELD_CLI_RECORD_LISTS_H_
#define MARROWFIELD_CLI_RECORD_LISTS_H_

#include <string>
#include <vector>

#include "list_options.h"
#include "record_table.h"

namespace marrowfield {

struct RecordDedupeRun {
  std::vector<std::string> files;
  RecordColumns columns;
  std::string mapping;   // "": none
  std::string annotate;  // "": none
};

// Groups the records of the files and writes them as "dedupe" writes
// groups; with |annotate|, writes the one input back with group,
// canonical and score columns. Returns the exit status.
int RunRecordDedupe(const RecordDedupeRun& run, const ListOptions& list);

// For each record of |fileA| the records of |fileB| (read as |readB|)
// alike under |columns|, written as "link" writes matches. Returns the
// exit status.
int RunRecordLink(const std::string& fileA, const std::string& fileB,
                  const ReadOptions& readB, const RecordColumns& columns,
                  bool best, const ListOptions& list);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_RECORD_LISTS_H_
