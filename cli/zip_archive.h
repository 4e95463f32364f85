// Read-only access to the members of a zip archive held in memory, through
// libzip. An .xlsx workbook is such an archive of XML parts.
#ifndef MARROWFIELD_CLI_ZIP_ARCHIVE_H_
#define MARROWFIELD_CLI_ZIP_ARCHIVE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

struct zip;

namespace marrowfield {

// The archive could not be opened or a member could not be read; the message
// says why, without the file name (the caller adds it).
class ZipError : public std::runtime_error {
 public:
  explicit ZipError(const std::string& message) : std::runtime_error(message) {}
};

class ZipArchive {
 public:
  // Takes the archive's bytes. Throws ZipError when they are not a zip
  // archive.
  explicit ZipArchive(std::string bytes);
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // Returns the index of the member named |name|; an exact match is
  // preferred, else one that differs only in ASCII case (package part names
  // are case-insensitive).
  std::optional<uint64_t> Find(const std::string& name) const;

  // Passes the uncompressed bytes of member |index| to |sink| in pieces, the
  // last call with |last| set. Throws ZipError when the member cannot be read.
  void Stream(uint64_t index,
              const std::function<void(const char* data, std::size_t size,
                                       bool last)>& sink) const;

  // Returns the whole uncompressed member |index|.
  std::string Read(uint64_t index) const;

 private:
  std::string bytes_;  // libzip reads from here; it must outlive archive_
  struct zip* archive_ = nullptr;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_ZIP_ARCHIVE_H_
