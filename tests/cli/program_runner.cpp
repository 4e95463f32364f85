// fork and exec with standard streams redirected to files, or standard
// error to a pseudo-terminal that is drained while the program runs (a
// terminal buffers little, and a program blocked on it would never finish).
// Everything the child needs is prepared before fork(), so that the child
// itself only redirects, sets its limits and calls exec.
#include "program_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "test_files.h"

extern char** environ;

#if defined(__SANITIZE_ADDRESS__)
#define MARROWFIELD_TEST_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MARROWFIELD_TEST_UNDER_ASAN 1
#endif
#endif

namespace marrowfield {

namespace {

// The program under test is built with the same sanitizers as the tests.
#ifdef MARROWFIELD_TEST_UNDER_ASAN
constexpr bool kUnderAsan = true;
#else
constexpr bool kUnderAsan = false;
#endif

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

int OpenOrThrow(const std::string& path, int flags) {
  const int fd = open(path.c_str(), flags | O_CLOEXEC, 0600);
  if (fd < 0) throw std::runtime_error("cannot open " + path);
  return fd;
}

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

// The environment of the child. AddressSanitizer cannot run in a bounded
// address space, so a bounded run asks it to watch resident memory instead.
std::vector<std::string> ChildEnvironment(bool bounded) {
  std::vector<std::string> environment;
  std::string asanOptions;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    if (std::strncmp(*entry, "ASAN_OPTIONS=", 13) == 0) {
      asanOptions = *entry + 13;
    } else {
      environment.emplace_back(*entry);
    }
  }
  if (bounded && kUnderAsan) {
    asanOptions += (asanOptions.empty() ? "" : ":") +
                   std::string("hard_rss_limit_mb=") +
                   std::to_string(kBoundedRunMemoryBytes >> 20);
  }
  if (!asanOptions.empty())
    environment.push_back("ASAN_OPTIONS=" + asanOptions);
  return environment;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

[[noreturn]] void RunChild(int in, int out, int err, bool bounded,
                           char* const* argv, char* const* envp) {
  if (dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(127);
  if (bounded) {
    const rlimit memory{kBoundedRunMemoryBytes, kBoundedRunMemoryBytes};
    if (!kUnderAsan && setrlimit(RLIMIT_AS, &memory) != 0) _exit(127);
    const rlimit cpu{kBoundedRunCpuSeconds, kBoundedRunCpuSeconds};
    if (setrlimit(RLIMIT_CPU, &cpu) != 0) _exit(127);
  }
  execve(argv[0], argv, envp);
  _exit(127);
}

}  // namespace

ProgramRun RunMarrowfield(const std::vector<std::string>& args,
                          const RunOptions& options) {
  const TempDir dir;
  const std::string inPath = dir.Write("stdin", options.input);
  const std::string outPath = dir.Path("stdout");
  const std::string errPath = dir.Path("stderr");

  const Descriptor in(OpenOrThrow(inPath, O_RDONLY));
  const Descriptor out(OpenOrThrow(outPath, O_WRONLY | O_CREAT | O_TRUNC));
  int masterFd = -1;
  int errFd = -1;
  if (options.stderrOnTerminal) {
    if (openpty(&masterFd, &errFd, nullptr, nullptr, nullptr) != 0) {
      throw std::runtime_error("openpty failed");
    }
    fcntl(masterFd, F_SETFD, FD_CLOEXEC);
    fcntl(errFd, F_SETFD, FD_CLOEXEC);
  } else {
    errFd = OpenOrThrow(errPath, O_WRONLY | O_CREAT | O_TRUNC);
  }
  const Descriptor master(masterFd);
  Descriptor err(errFd);

  std::vector<std::string> argvStrings = {MARROWFIELD_PROGRAM};
  argvStrings.insert(argvStrings.end(), args.begin(), args.end());
  std::vector<char*> argv = Pointers(argvStrings);
  std::vector<std::string> envStrings = ChildEnvironment(options.bounded);
  std::vector<char*> envp = Pointers(envStrings);

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("cannot start " MARROWFIELD_PROGRAM);
  if (pid == 0) {
    RunChild(in.get(), out.get(), err.get(), options.bounded, argv.data(),
             envp.data());
  }

  ProgramRun run;
  int status = 0;
  if (master.get() >= 0) {
    err.Close();
    fcntl(master.get(), F_SETFL, O_NONBLOCK);
    while (waitpid(pid, &status, WNOHANG) == 0) {
      pollfd watch{master.get(), POLLIN, 0};
      poll(&watch, 1, 50);
      ReadAvailable(master.get(), run.err);
    }
    ReadAvailable(master.get(), run.err);
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
