// The program's results against the dialog's algorithm applied to the same
// cells: every text cell scored with compare_words(searchText, text), both
// folded to ASCII, kept
// at or above the accuracy, sorted best first and then by bytes. The cells
// come from the file readers, the expected list from the engine directly,
// and the program's list from its JSON output.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "engine_environment.h"
#include "marrowfield.h"
#include "marrowfield/text_folding.h"
#include "program_runner.h"
#include "spreadsheet_file.h"
#include "test_files.h"

namespace marrowfield {
namespace {

using Listed = std::tuple<int, std::string, int, int>;  // score, text, row, col

bool DialogBefore(const Listed& a, const Listed& b) {
  if (std::get<0>(a) != std::get<0>(b)) return std::get<0>(a) > std::get<0>(b);
  const std::string& x = std::get<1>(a);
  const std::string& y = std::get<1>(b);
  return std::lexicographical_compare(
      x.begin(), x.end(), y.begin(), y.end(), [](char p, char q) {
        return static_cast<unsigned char>(p) < static_cast<unsigned char>(q);
      });
}

std::vector<Listed> DialogResults(const std::string& searchText, int accuracy,
                                  const CellGrid& cells) {
  std::vector<Listed> listed;
  for (const GridCell& cell : cells) {
    if (!cell.isText || cell.text.empty()) continue;
    const int score = compare_words(FoldToAscii(searchText).c_str(),
                                    FoldToAscii(cell.text).c_str());
    if (score >= accuracy) {
      listed.emplace_back(score, cell.text, cell.row, cell.column);
    }
  }
  std::sort(listed.begin(), listed.end(), DialogBefore);
  return listed;
}

std::vector<Listed> ProgramResults(const std::string& searchText, int accuracy,
                                   const std::string& file) {
  const ProgramRun run =
      RunMarrowfield({"search", searchText, file, "-a",
                      std::to_string(accuracy), "-f", "json"});
  EXPECT_LE(run.exitCode, 1) << run.err;
  std::vector<Listed> listed;
  for (const auto& object : nlohmann::json::parse(run.out)) {
    listed.emplace_back(
        object.at("score").get<int>(), object.at("text").get<std::string>(),
        object.at("row").get<int>(), object.at("column").get<int>());
  }
  return listed;
}

void ExpectSameListing(const std::vector<Listed>& expected,
                       const std::vector<Listed>& actual) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) {
    EXPECT_EQ(std::get<0>(actual[i]), std::get<0>(expected[i])) << "at " << i;
    EXPECT_EQ(std::get<1>(actual[i]), std::get<1>(expected[i])) << "at " << i;
  }
  // Equal texts with equal scores may list their cells in either order.
  std::vector<Listed> a = actual;
  std::vector<Listed> e = expected;
  std::sort(a.begin(), a.end());
  std::sort(e.begin(), e.end());
  EXPECT_EQ(a, e);
}

const char* const kNames =
    "Id,First,Last,City,Phone,Amount\n"
    "1,John,Smith,Boston,(617) 555-0101,120.50\n"
    "2,Jon,Smyth,Bostan,617-555-0102,99\n"
    "3,Catherine,Smithe,\"Pittsburgh, PA\",+1 412 555 0103,-5\n"
    "4,Katherine,Schmidt,Pittsburg,412.555.0104,1e3\n"
    "5,Kathryn,Smith,Philadelphia,,\n"
    "6,\"Sean \"\"Shaun\"\"\",Smit,Filadelfia,555-0106,7.25\n"
    "7,Shawn,Schmitt,Cincinnati,555-0107,0\n"
    "8,Seán,O'Neil,Cincinati,555-0108,3\n"
    "9,Geoffrey,Smith,\"New\nYork\",555-0109,1\n"
    "10,Jeffrey,Smithers,Albuquerque,555-0110,12\n";

class ProgramAgreesWithDialog
    : public ::testing::TestWithParam<std::tuple<const char*, int>> {};

TEST_P(ProgramAgreesWithDialog, OnCsv) {
  const TempDir dir;
  const std::string file = dir.Write("names.csv", kNames);
  const auto [text, accuracy] = GetParam();
  ExpectSameListing(
      DialogResults(text, accuracy, LoadSheet(file, std::nullopt).cells),
      ProgramResults(text, accuracy, file));
}

TEST_P(ProgramAgreesWithDialog, OnXlsx) {
  const TempDir dir;
  const CellGrid cells = LoadSheet(dir.Write("n.csv", kNames), {}).cells;
  const std::string file =
      dir.Write("names.xlsx", BuildZip(WorkbookFromCells("Names", cells)));
  const auto [text, accuracy] = GetParam();
  ExpectSameListing(DialogResults(text, accuracy, cells),
                    ProgramResults(text, accuracy, file));
}

INSTANTIATE_TEST_SUITE_P(
    SearchTextsAndLevels, ProgramAgreesWithDialog,
    ::testing::Combine(::testing::Values("Smith", "Katherine", "Pittsburgh",
                                         "Shawn"),
                       ::testing::Values(0, 60, 90)));

}  // namespace
}  // namespace marrowfield
