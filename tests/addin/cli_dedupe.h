// The command line's dedupe run on a list of values, for tests that check
// a surface of the add-in agrees with it: the values go one a line into a
// TSV file, "marrowfield dedupe" reads it, and its CSV answer (and
// --mapping file) are read back.

#ifndef MARROWFIELD_TESTS_ADDIN_CLI_DEDUPE_H_
#define MARROWFIELD_TESTS_ADDIN_CLI_DEDUPE_H_

#include <map>
#include <string>
#include <vector>

namespace marrowfield {

// The rows of a CSV the command line wrote: fields split at commas,
// quoted fields unquoted ("" inside for one quote), lines ending CR LF.
std::vector<std::vector<std::string>> ReadCliCsv(const std::string& path);

// One member row of "marrowfield dedupe --format csv".
struct CliGroupRow {
  int group = 0;
  std::string canonical;
  std::string text;
  int score = 0;
  std::string via;
};

struct CliDedupe {
  std::vector<CliGroupRow> rows;               // in the command line's order
  std::map<std::string, std::string> mapping;  // --mapping: text, canonical
};

// Runs "marrowfield dedupe FILE --format csv --mapping MAP |flags|" on
// |values|; |label| names the temporary files (tests may run side by
// side). Adds a test failure when the program fails or writes nothing.
CliDedupe RunCliDedupe(const std::string& label,
                       const std::vector<std::string>& values,
                       const std::string& flags);

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_ADDIN_CLI_DEDUPE_H_
