// The program's --version: the build's one version on one line, whatever
// else the command line lacks, and listed by --help.
#include <gtest/gtest.h>

#include <string>

#include "marrowfield_version.h"
#include "program_runner.h"

namespace marrowfield {
namespace {

TEST(VersionProgram, PrintsTheBuildsVersionAloneAndSucceeds) {
  // No command is given: the version is answered before that is missed.
  const ProgramRun run = RunMarrowfield({"--version"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, std::string("marrowfield ") + MARROWFIELD_VERSION + "\n");
  EXPECT_EQ(run.err, "");
}

TEST(VersionProgram, HeaderNumbersSpellTheVersionString) {
  // Windows version resources are made of the numbers, everything else
  // states the string: the two must be the same version.
  const std::string joined = std::to_string(MARROWFIELD_VERSION_MAJOR) + "." +
                             std::to_string(MARROWFIELD_VERSION_MINOR) + "." +
                             std::to_string(MARROWFIELD_VERSION_PATCH);
  EXPECT_EQ(joined, MARROWFIELD_VERSION);
}

TEST(VersionProgram, HelpListsTheFlag) {
  const ProgramRun run = RunMarrowfield({"--help"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(run.out.find("--version"), std::string::npos) << run.out;
}

TEST(VersionProgram, AfterACommandItIsAnUnknownOption) {
  // The flag belongs to the program, not to its commands: one error line.
  const ProgramRun run = RunMarrowfield({"compare", "a", "b", "--version"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err.rfind("marrowfield: ", 0), 0u) << run.err;
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
}

}  // namespace
}  // namespace marrowfield
