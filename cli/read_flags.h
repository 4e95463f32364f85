// The command-line options of reading files and of folding text, declared
// once so that every command that reads files or scores words offers them
// with the same names, help and checks.
#ifndef MARROWFIELD_CLI_READ_FLAGS_H_
#define MARROWFIELD_CLI_READ_FLAGS_H_

#include <memory>
#include <string>
#include <vector>

#include "marrowfield/text_folding.h"
#include "spreadsheet_file.h"

namespace CLI {
class App;
class Validator;
}  // namespace CLI

namespace marrowfield {

// Declares --sheet, --all-sheets, --delimiter, --strict and --input-format
// on |app|, parsed into |options|, which must outlive |app|'s parse.
void AddReadOptions(CLI::App& app, ReadOptions& options);

// Declares --no-fold on |app|; |noFold| is set when it is given.
void AddNoFoldOption(CLI::App& app, bool& noFold);

// The folding that --no-fold (or its absence) asks for. Command-line
// arguments and the files read are UTF-8 by then (Windows-1252 bytes are
// folded as such).
TextFolding FoldingFor(bool noFold);

// A check for a whole number from 0 to 100 whose error says so:
// "the accuracy must be a whole number from 0 to 100 (not 'abc')".
CLI::Validator PercentCheck(const std::string& what);

// Returns true when |text| holds an ASCII letter, the only bytes that sound.
bool HasLetter(const std::string& text);

// Writes |notices| to standard error, each as "marrowfield: NOTICE".
void PrintNotices(const std::vector<std::string>& notices);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_READ_FLAGS_H_
