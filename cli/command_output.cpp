// Helpers the commands share for what they print.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "commands.h"
#include "input_error.h"

namespace marrowfield {

void WriteOutput(const std::string& text) {
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
      std::fflush(stdout) != 0) {
    throw InputError(std::string("cannot write the output: ") +
                     std::strerror(errno));
  }
}

std::string JoinWithSpaces(const std::vector<std::string>& words) {
  std::string joined;
  for (const std::string& word : words) {
    if (!joined.empty()) joined.push_back(' ');
    joined += word;
  }
  return joined;
}

}  // namespace marrowfield
