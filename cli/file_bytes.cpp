// Whole-file reads through stdio, so that errno can name the reason for a
// failure in the error line.
#include "file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "input_error.h"

namespace marrowfield {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

[[noreturn]] void ThrowSystemError(const std::string& path, const char* what,
                                   int error) {
  throw InputError(path + ": " + what + ": " + std::strerror(error));
}

std::string ReadStream(std::FILE* file, const std::string& path) {
  std::string bytes;
  char buffer[1 << 16];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    bytes.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  // A directory opens fine on Linux but fails on the first read (EISDIR).
  if (std::ferror(file)) ThrowSystemError(path, "cannot read", errno);
  return bytes;
}

}  // namespace

std::string ReadFileBytes(const std::string& path) {
  if (path == "-") return ReadStream(stdin, "standard input");
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) ThrowSystemError(path, "cannot open", errno);
  return ReadStream(file.get(), path);
}

}  // namespace marrowfield
