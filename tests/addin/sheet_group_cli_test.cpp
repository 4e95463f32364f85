// MARROWFIELD.GROUP against the command line: the same values given to
// "marrowfield dedupe --mapping" and to GROUP must name the same suggested
// spelling for every cell (the mapping lists each grouped text with its
// canonical; a text it leaves out is in no group and shows itself). Cases
// differ in data and options only; the last ones are the names corpora.

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "addin_driver.h"
#include "cli_dedupe.h"
#include "fake_xlcall32.h"
#include "sheet_function_rig.h"
#include "sheet_function_values.h"
#include "sheet_group_reader.h"

namespace marrowfield {
namespace {

// The value column of a corpus file (a header line, then group TAB value).
std::vector<std::string> CorpusValues(const std::string& path) {
  std::ifstream in(path);
  EXPECT_TRUE(in) << path;
  std::vector<std::string> values;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const std::size_t tab = line.find('\t');
    if (tab != std::string::npos) values.push_back(line.substr(tab + 1));
  }
  return values;
}

struct CliCase {
  const char* label;
  std::vector<std::string> values;
  const char* flags;    // for marrowfield dedupe
  double accuracy;      // for GROUP, < 0: left out
  const char* scoring;  // for GROUP, null: left out
};

// Text to canonical, as "marrowfield dedupe --mapping" writes it for
// |values|.
std::map<std::string, std::string> CliMapping(const CliCase& c) {
  return RunCliDedupe(std::string("group ") + c.label, c.values, c.flags)
      .mapping;
}

class SheetGroupCli : public ::testing::TestWithParam<CliCase> {
 protected:
  void SetUp() override {
    fake_xl_reset();
    driver_ = MakeAddinDriver();
    fake_xl_set_addin_path(driver_->AddinPath().c_str());
    driver_->AutoOpen();
  }
  void TearDown() override {
    driver_->AutoClose();
    driver_.reset();
    EXPECT_EQ(OutstandingSheetResults<XLOPER12>(), 0u);
    EXPECT_EQ(fake_xl_outstanding_values(), 0);
  }
  std::unique_ptr<AddinDriver> driver_;
};

TEST_P(SheetGroupCli, EveryCellNamesTheMappingsCanonical) {
  const CliCase& c = GetParam();
  const std::map<std::string, std::string> mapping = CliMapping(c);

  // The values as a column of the sheet, read through a reference.
  FillColumn(0, c.values);
  WideArguments args;
  const GroupAnswer answer = CallGroup(
      args.Area(0, static_cast<int32_t>(c.values.size()) - 1, 0, 0),
      c.accuracy >= 0 ? args.Number(c.accuracy) : args.Missing(),
      c.scoring != nullptr ? args.Utf8Text(c.scoring) : args.Missing());
  ASSERT_EQ(answer.error, -1) << c.label;
  ASSERT_EQ(answer.cells.size(), c.values.size()) << c.label;
  std::size_t grouped = 0;
  std::size_t differing = 0;
  for (std::size_t i = 0; i < c.values.size(); ++i) {
    const auto found = mapping.find(c.values[i]);
    const std::string expected =
        found == mapping.end() ? c.values[i] : found->second;
    if (found != mapping.end()) ++grouped;
    if (answer.cells[i] != expected && ++differing <= 5) {
      ADD_FAILURE() << c.label << ": cell " << i + 1 << " \"" << c.values[i]
                    << "\": GROUP \"" << answer.cells[i]
                    << "\", command line \"" << expected << "\"";
    }
  }
  EXPECT_EQ(differing, 0u) << c.label;
  // Every case groups something, so agreement is not two empty answers.
  EXPECT_GT(grouped, 0u) << c.label;
}

std::vector<CliCase> Cases() {
  const std::vector<std::string> small = {
      "Smith",   "Smyth",     "Jones",  "Smith",  "Johns",    "Catherine",
      "Kathryn", "Katherine", "Miller", "Muller", "Zbigniew", "Smith"};
  const std::vector<std::string> people = {
      "Smith, John", "John Smith", "Dr. Jon Smyth", "Mary Jones",
      "Jones, Mary", "M. Jones",   "Peter Miller",  "Muller Peter",
      "Ann Lee",     "Jon Smith",  "Mary Jones"};
  const std::vector<std::string> folded = {"José", "Jose", "Jösé",   "Zoë",
                                           "Zoe",  "Zoe",  "Müller", "Mueller"};
  // Equally frequent spellings, so the suggested one comes from how they
  // connect, and a chain whose ends are less alike.
  const std::vector<std::string> ties = {"Thompson", "Thomson", "Tomson",
                                         "Tompsen",  "Brown",   "Braun",
                                         "Browne",   "Clark",   "Clarke"};
  std::vector<std::string> corpus =
      CorpusValues(MARROWFIELD_NAMES_DIR "/names.tsv");
  const std::vector<std::string> full =
      CorpusValues(MARROWFIELD_NAMES_DIR "/full_names.tsv");
  corpus.insert(corpus.end(), full.begin(), full.end());
  return {
      {"names", small, "", -1, nullptr},
      {"names at 80", small, "-a 80", 80, nullptr},
      {"names tolerant", small, "--scoring tolerant", -1, "tolerant"},
      {"people word by word", people, "", -1, nullptr},
      {"people whole cells", people, "--whole-cell", -1, "whole-cell"},
      {"people tolerant whole cells", people, "--whole-cell --scoring tolerant",
       50, "tolerant whole-cell"},
      {"accents", folded, "", -1, nullptr},
      {"ties and chains", ties, "-a 70", 70, nullptr},
      {"corpus", corpus, "", -1, nullptr},
      {"corpus tolerant at 75", corpus, "-a 75 --scoring tolerant", 75,
       "tolerant"},
      {"corpus whole cells", corpus, "--whole-cell", -1, "whole-cell"},
  };
}

INSTANTIATE_TEST_SUITE_P(Cases, SheetGroupCli, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<CliCase>& info) {
                           std::string name;
                           for (const char* c = info.param.label; *c; ++c) {
                             name +=
                                 std::isalnum(static_cast<unsigned char>(*c))
                                     ? *c
                                     : '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace marrowfield
