// posix_spawn with standard streams redirected to files, or standard error
// to a pseudo-terminal that is drained while the program runs (a terminal
// buffers little, and a program blocked on it would never finish).
#include "program_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "test_files.h"

extern char** environ;

namespace marrowfield {

namespace {

class FileActions {
 public:
  FileActions() { posix_spawn_file_actions_init(&actions_); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

void ReadAvailable(int fd, std::string& into) {
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) return;
    into.append(buffer, static_cast<std::size_t>(got));
  }
}

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

ProgramRun RunMarrowfield(const std::vector<std::string>& args,
                          const RunOptions& options) {
  const TempDir dir;
  const std::string inPath = dir.Write("stdin", options.input);
  const std::string outPath = dir.Path("stdout");
  const std::string errPath = dir.Path("stderr");

  FileActions actions;
  posix_spawn_file_actions_addopen(actions.get(), 0, inPath.c_str(), O_RDONLY,
                                   0);
  posix_spawn_file_actions_addopen(actions.get(), 1, outPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  int master = -1;
  int slave = -1;
  if (options.stderrOnTerminal) {
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
      throw std::runtime_error("openpty failed");
    }
    posix_spawn_file_actions_adddup2(actions.get(), slave, 2);
    posix_spawn_file_actions_addclose(actions.get(), master);
  } else {
    posix_spawn_file_actions_addopen(actions.get(), 2, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
  }

  std::vector<std::string> argv0 = {MARROWFIELD_PROGRAM};
  argv0.insert(argv0.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argv0) argv.push_back(arg.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, MARROWFIELD_PROGRAM, actions.get(),
                                  nullptr, argv.data(), environ);
  if (slave >= 0) close(slave);
  if (spawned != 0) {
    if (master >= 0) close(master);
    throw std::runtime_error("cannot start " MARROWFIELD_PROGRAM);
  }

  ProgramRun run;
  int status = 0;
  if (master >= 0) {
    fcntl(master, F_SETFL, O_NONBLOCK);
    while (waitpid(pid, &status, WNOHANG) == 0) {
      pollfd watch{master, POLLIN, 0};
      poll(&watch, 1, 50);
      ReadAvailable(master, run.err);
    }
    ReadAvailable(master, run.err);
    close(master);
  } else {
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.err = ReadWholeFile(errPath);
  }
  run.exitCode = ExitCodeOf(status);
  run.out = ReadWholeFile(outPath);
  return run;
}

}  // namespace marrowfield
