// The bundled examples: customers.xlsx holds the same cells as
// customers.csv, a search of either lists the same cells, and the
// customers entered twice are found in their own city only.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "program_runner.h"
#include "spreadsheet_file.h"
#include "test_files.h"

namespace marrowfield {
namespace {

const std::string kCsv =
    std::string(MARROWFIELD_EXAMPLES_DIR) + "/customers.csv";
const std::string kXlsx =
    std::string(MARROWFIELD_EXAMPLES_DIR) + "/customers.xlsx";

using Placed = std::tuple<int32_t, int32_t, bool, std::string>;

std::vector<Placed> Cells(const std::string& path) {
  std::vector<Placed> cells;
  for (const GridCell& cell : LoadSheet(path, std::nullopt).cells) {
    // Number cells may be written differently ("7.50" and 7.5): only their
    // kind matters to a search.
    cells.emplace_back(cell.row, cell.column, cell.isText,
                       cell.isText ? cell.text : "");
  }
  return cells;
}

TEST(Examples, WorkbookHoldsTheCellsOfTheCsvFile) {
  const std::vector<Placed> csv = Cells(kCsv);
  EXPECT_GT(csv.size(), 1000u);
  EXPECT_EQ(Cells(kXlsx), csv);
}

std::vector<std::string> Listing(const std::string& text,
                                 const std::string& file) {
  const ProgramRun run = RunMarrowfield({"search", text, file, "-f", "json"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  std::vector<std::string> listing;
  for (const auto& result : nlohmann::json::parse(run.out)) {
    listing.push_back(result.at("cell").get<std::string>() + " " +
                      result.at("text").get<std::string>() + " " +
                      std::to_string(result.at("score").get<int>()));
  }
  return listing;
}

TEST(Examples, SearchOfEitherFileListsTheSameCells) {
  for (const char* text : {"Smith", "Katherine", "Pittsburgh"}) {
    const std::vector<std::string> fromCsv = Listing(text, kCsv);
    EXPECT_FALSE(fromCsv.empty()) << text;
    EXPECT_EQ(Listing(text, kXlsx), fromCsv) << text;
  }
}

TEST(Examples, SmithFindsItsSpellingVariantsBestFirst) {
  const std::vector<std::string> listing = Listing("Smith", kCsv);
  ASSERT_GE(listing.size(), 5u);
  EXPECT_NE(listing.front().find(" Smith 100"), std::string::npos);
  bool variant = false;
  for (const std::string& line : listing) {
    variant = variant || line.find(" Smyth ") != std::string::npos;
  }
  EXPECT_TRUE(variant);
}

// Customers C-10301 to C-10306 were entered again with their names spelt
// differently in the same city; C-10307 and C-10308 again in another city.
TEST(Examples, CustomersEnteredTwiceAreGroupedWithinTheirCity) {
  TempDir dir;
  const std::string out = dir.Path("annotated.csv");
  const ProgramRun run =
      RunMarrowfield({"dedupe", kCsv, "--name", "FirstName,LastName", "--same",
                      "City", "--annotate", out});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  constexpr int32_t kId = 1;
  constexpr int32_t kCity = 5;
  constexpr int32_t kGroup = 10;
  std::map<int32_t, std::map<int32_t, std::string>> rows;
  for (const GridCell& cell : LoadSheet(out, std::nullopt).cells)
    rows[cell.row][cell.column] = cell.text;
  ASSERT_EQ(rows[1][kGroup], "group");
  std::map<std::string, std::set<std::string>> idsOfGroup;
  std::map<std::string, std::set<std::string>> citiesOfGroup;
  std::map<std::string, std::string> groupOfId;
  for (auto& [row, cells] : rows) {
    if (row == 1 || cells[kGroup].empty()) continue;
    idsOfGroup[cells[kGroup]].insert(cells[kId]);
    citiesOfGroup[cells[kGroup]].insert(cells[kCity]);
    groupOfId[cells[kId]] = cells[kGroup];
  }
  for (const auto& [group, cities] : citiesOfGroup)
    EXPECT_EQ(cities.size(), 1u) << "group " << group;
  for (const char* id : {"C-10301", "C-10302", "C-10303", "C-10304",
                         "C-10305", "C-10306"}) {
    ASSERT_EQ(groupOfId.count(id), 1u) << id;
    const std::set<std::string>& ids = idsOfGroup[groupOfId[id]];
    EXPECT_EQ(ids.size(), 2u) << id;
    EXPECT_LT(*ids.begin(), "C-10301") << id << " joins an earlier customer";
  }
  EXPECT_EQ(groupOfId.count("C-10307"), 0u);
  EXPECT_EQ(groupOfId.count("C-10308"), 0u);
}

}  // namespace
}  // namespace marrowfield
