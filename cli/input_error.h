// The one error type of the file readers: a message fit to print as it is,
// naming the file and, where known, the line or the sheet.
#ifndef MARROWFIELD_CLI_INPUT_ERROR_H_
#define MARROWFIELD_CLI_INPUT_ERROR_H_

#include <stdexcept>
#include <string>

namespace marrowfield {

class InputError : public std::runtime_error {
 public:
  explicit InputError(const std::string& message)
      : std::runtime_error(message) {}
};

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_INPUT_ERROR_H_
