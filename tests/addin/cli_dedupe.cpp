// Running the command line's dedupe from a test and reading its answers.

#include "cli_dedupe.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace marrowfield {

std::vector<std::vector<std::string>> ReadCliCsv(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream whole;
  whole << in.rdbuf();
  const std::string text = whole.str();
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.push_back(field);
      field.clear();
    } else if (c == '\r') {
      continue;
    } else if (c == '\n') {
      row.push_back(field);
      field.clear();
      rows.push_back(row);
      row.clear();
    } else {
      field += c;
    }
  }
  return rows;
}

CliDedupe RunCliDedupe(const std::string& label,
                       const std::vector<std::string>& values,
                       const std::string& flags) {
  std::string name;
  for (char l : label) {
    name += std::isalnum(static_cast<unsigned char>(l)) ? l : '_';
  }
  const std::string base = ::testing::TempDir() + "cli_dedupe_" + name;
  const std::string input = base + ".tsv";
  const std::string output = base + ".csv";
  const std::string mapping = base + ".map.csv";
  {
    std::ofstream out(input, std::ios::binary);
    for (const std::string& value : values) out << value << "\n";
  }
  std::remove(output.c_str());
  std::remove(mapping.c_str());
  const std::string command = std::string(MARROWFIELD_CLI) + " dedupe '" +
                              input + "' --format csv --mapping '" + mapping +
                              "' " + flags + " > '" + output + "' 2>/dev/null";
  const int status = std::system(command.c_str());
  // 0 with groups, 1 without; both write their answers.
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1)
      << label << ": " << command;
  CliDedupe answer;
  const std::vector<std::vector<std::string>> rows = ReadCliCsv(output);
  EXPECT_FALSE(rows.empty()) << label << ": no CSV written";
  for (std::size_t r = 1; r < rows.size(); ++r) {
    EXPECT_GE(rows[r].size(), 6u) << label;
    if (rows[r].size() < 6) continue;
    CliGroupRow row;
    row.group = std::atoi(rows[r][0].c_str());
    row.canonical = rows[r][1];
    row.text = rows[r][2];
    row.score = std::atoi(rows[r][4].c_str());
    row.via = rows[r][5];
    answer.rows.push_back(row);
  }
  const std::vector<std::vector<std::string>> pairs = ReadCliCsv(mapping);
  EXPECT_FALSE(pairs.empty()) << label << ": no mapping written";
  for (std::size_t r = 1; r < pairs.size(); ++r) {
    EXPECT_EQ(pairs[r].size(), 2u) << label;
    if (pairs[r].size() == 2) answer.mapping[pairs[r][0]] = pairs[r][1];
  }
  std::remove(input.c_str());
  std::remove(output.c_str());
  std::remove(mapping.c_str());
  return answer;
}

}  // namespace marrowfield
