// The marrowfield program: search spreadsheets and word lists by sound.
// Parses the command line, runs one subcommand and turns every failure into
// one line on standard error and exit status 2.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "commands.h"

namespace {

constexpr int kExitError = 2;

// CLI11 messages are one line already; make sure of it.
std::string OneLine(std::string message) {
  for (char& c : message) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  while (!message.empty() && message.back() == ' ') message.pop_back();
  return message;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "marrowfield: %s\n", OneLine(message).c_str());
  return kExitError;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    CLI::App app(
        "Find words and names that sound alike: search CSV and XLSX "
        "files, compare words, show phones and codes.",
        "marrowfield");
    app.footer(
        "Put -- before a word or text that starts with a dash, so that it is "
        "not read as an option: marrowfield compare -- -Smith Smith");
    app.require_subcommand(1);
    const std::vector<marrowfield::Subcommand> commands = {
        marrowfield::AddSearchCommand(app),
        marrowfield::AddCompareCommand(app),
        marrowfield::AddPhonesCommand(app),
        marrowfield::AddCodeCommand(app),
        marrowfield::AddSimilarCommand(app),
        marrowfield::AddMatchCommand(app),
        marrowfield::AddDedupeCommand(app),
        marrowfield::AddLinkCommand(app),
        marrowfield::AddExplainCommand(app),
    };
    try {
      app.parse(argc, argv);
    } catch (const CLI::CallForHelp& help) {
      return app.exit(help);
    } catch (const CLI::CallForAllHelp& help) {
      return app.exit(help);
    } catch (const CLI::ParseError& error) {
      return Fail(std::string(error.what()) + " (see marrowfield --help)");
    }
    for (const marrowfield::Subcommand& command : commands) {
      if (command.app->parsed()) return command.run();
    }
    return Fail("no command given (see marrowfield --help)");
  } catch (const std::bad_alloc&) {
    return Fail("out of memory");
  } catch (const std::exception& error) {
    return Fail(error.what());
  }
}
