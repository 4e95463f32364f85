// Reads a whole input file into memory, with an error that says why not.
#ifndef MARROWFIELD_CLI_FILE_BYTES_H_
#define MARROWFIELD_CLI_FILE_BYTES_H_

#include <cstdint>
#include <string>

namespace marrowfield {

// Returns the bytes of the file at |path|; "-" is standard input.
// Throws InputError naming |path| and the system's reason when the file
// cannot be opened or read (missing, unreadable, a directory), and when it
// holds more than |maxBytes| (counted as read: a pipe has no size to check).
std::string ReadFileBytes(const std::string& path, uint64_t maxBytes);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_FILE_BYTES_H_
