// Option declarations shared by the commands.
#include "read_flags.h"

#include <CLI/CLI.hpp>
#include <cstdio>

namespace marrowfield {

namespace {

// Accepts one character (not a quote or a line break) or a name for the
// usual ones; "\t" as typed in a shell without $'...' counts as a tab.
bool ParseDelimiter(const std::string& given, char& delimiter) {
  if (given == "tab" || given == "\\t" || given == "\t") {
    delimiter = '\t';
  } else if (given == "comma") {
    delimiter = ',';
  } else if (given == "semicolon") {
    delimiter = ';';
  } else if (given.size() == 1 && given[0] != '"' && given[0] != '\n' &&
             given[0] != '\r' && static_cast<unsigned char>(given[0]) < 0x80) {
    delimiter = given[0];
  } else {
    return false;
  }
  return true;
}

}  // namespace

void AddReadOptions(CLI::App& app, ReadOptions& options) {
  CLI::Option* sheet = app.add_option_function<std::string>(
      "-s,--sheet",
      [&options](const std::string& name) { options.sheet = name; },
      "Worksheet of workbooks to search (default: the first worksheet); "
      "letter case is ignored");
  app.add_flag("--all-sheets", options.allSheets,
               "Search every worksheet of workbooks")
      ->excludes(sheet);
  app.add_option_function<std::string>(
         "--delimiter",
         [&options](const std::string& given) {
           char delimiter = 0;
           ParseDelimiter(given, delimiter);
           options.delimiter = delimiter;
         },
         "Field delimiter of delimited text: one character, or tab, comma, "
         "semicolon (default: found from the first records)")
      ->check(
          [](const std::string& given) {
            char delimiter = 0;
            return ParseDelimiter(given, delimiter)
                       ? std::string()
                       : "the delimiter must be one character, or tab, comma "
                         "or semicolon (not '" +
                             given + "')";
          },
          "CHAR");
  app.add_flag("--strict", options.strict,
               "Refuse delimited text with malformed quoting instead of "
               "reading it as Python's csv module does");
  app.add_option("--input-format", options.standardInputFormat,
                 "Format of standard input, given as FILE -")
      ->check(CLI::IsMember({"csv", "tsv", "xlsx"}))
      ->default_val("csv");
}

void AddNoFoldOption(CLI::App& app, bool& noFold) {
  app.add_flag("--no-fold", noFold,
               "Keep accented letters and typographic quotes as they are "
               "(by default they are folded to ASCII: José as Jose)");
}

TextFolding FoldingFor(bool noFold) {
  return noFold ? TextFolding::kNone : TextFolding::kUtf8;
}

CLI::Validator PercentCheck(const std::string& what) {
  return CLI::Validator(
      [what](std::string& given) {
        bool whole = !given.empty() && given.size() <= 3;
        for (const char c : given) whole = whole && c >= '0' && c <= '9';
        if (whole && std::stoi(given) <= 100) return std::string();
        return "the " + what + " must be a whole number from 0 to 100 (not '" +
               given + "')";
      },
      "0-100");
}

bool HasLetter(const std::string& text) {
  for (const char c : text) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
  }
  return false;
}

void PrintNotices(const std::vector<std::string>& notices) {
  for (const std::string& notice : notices) {
    std::fprintf(stderr, "marrowfield: %s\n", notice.c_str());
  }
}

}  // namespace marrowfield
