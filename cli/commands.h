// The subcommands of the marrowfield program. Each Add function declares a
// subcommand with its arguments on |parent| and returns the function that
// runs it once the command line has been parsed. A run returns the exit
// status: 0 with results, 1 when nothing matched; it throws InputError (a
// line fit to print) for bad files and bad arguments, which become status 2.
#ifndef MARROWFIELD_CLI_COMMANDS_H_
#define MARROWFIELD_CLI_COMMANDS_H_

#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace marrowfield {

struct Subcommand {
  CLI::App* app;
  std::function<int()> run;
};

Subcommand AddSearchCommand(CLI::App& parent);
Subcommand AddCompareCommand(CLI::App& parent);
Subcommand AddPhonesCommand(CLI::App& parent);
Subcommand AddCodeCommand(CLI::App& parent);
Subcommand AddSimilarCommand(CLI::App& parent);
Subcommand AddMatchCommand(CLI::App& parent);
Subcommand AddDedupeCommand(CLI::App& parent);
Subcommand AddLinkCommand(CLI::App& parent);
Subcommand AddExplainCommand(CLI::App& parent);

// Writes |text| to standard output in one piece. Throws InputError when the
// output cannot be written (a full disk, a closed pipe).
void WriteOutput(const std::string& text);

// Returns |words| separated by single spaces.
std::string JoinWithSpaces(const std::vector<std::string>& words);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_COMMANDS_H_
