// The bundled examples: customers.xlsx holds the same cells as
// customers.csv, and a search of either lists the same cells.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "program_runner.h"
#include "spreadsheet_file.h"

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

}  // namespace
}  // namespace marrowfield
