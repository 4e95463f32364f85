// Reads a whole input file into memory, with an error that says why not.
#ifndef MARROWFIELD_CLI_FILE_BYTES_H_
#define MARROWFIELD_CLI_FILE_BYTES_H_

#include <string>

namespace marrowfield {

// Returns the bytes of the file at |path|; "-" is standard input.
// Throws InputError naming |path| and the system's reason when the file
// cannot be opened or read (missing, unreadable, a directory).
std::string ReadFileBytes(const std::string& path);

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_FILE_BYTES_H_
