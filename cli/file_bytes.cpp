// Whole-file reads through stdio, so that errno can name the reason for a
// failure in the error line.
#include "file_bytes.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "input_error.h"
#include "reader_limits.h"

namespace marrowfield {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

[[noreturn]] void ThrowSystemError(const std::string& path, const char* what,
                                   int error) {
  throw InputError(path + ": " + what + ": " + std::strerror(error));
}

[[noreturn]] void ThrowTooLarge(const std::string& path, uint64_t maxBytes) {
  throw InputError(path + ": larger than " + DescribeBytes(maxBytes) +
                   " (the limit for an input file)");
}

std::string ReadStream(std::FILE* file, const std::string& path,
                       uint64_t maxBytes) {
  std::string bytes;
  // A regular file's size refuses a large file before it is read, and spares
  // the copies of a growing buffer (the file would be in memory twice while
  // one is made). The count below still holds for pipes and growing files.
  struct stat info;
  if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode)) {
    const auto size = static_cast<uint64_t>(info.st_size);
    if (size > maxBytes) ThrowTooLarge(path, maxBytes);
    bytes.reserve(static_cast<std::size_t>(size));
  }
  char buffer[1 << 16];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    if (got > maxBytes - bytes.size()) ThrowTooLarge(path, maxBytes);
    bytes.append(buffer, got);
    if (got < sizeof buffer) break;
  }
  // A directory opens fine on Linux but fails on the first read (EISDIR).
  if (std::ferror(file)) ThrowSystemError(path, "cannot read", errno);
  return bytes;
}

}  // namespace

std::string ReadFileBytes(const std::string& path, uint64_t maxBytes) {
  if (path == "-") return ReadStream(stdin, "standard input", maxBytes);
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) ThrowSystemError(path, "cannot open", errno);
  return ReadStream(file.get(), path, maxBytes);
}

}  // namespace marrowfield
