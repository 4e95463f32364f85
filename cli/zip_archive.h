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
#include <string_view>

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
  // Takes the archive's bytes; all members read from it may inflate to at
  // most |maxInflatedBytes| together. Throws ZipError when the bytes are not
  // a zip archive.
  ZipArchive(std::string bytes, uint64_t maxInflatedBytes);
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // Returns the index of the member named |name|; an exact match is
  // preferred, else one that differs only in ASCII case (package part names
  // are case-insensitive).
  std::optional<uint64_t> Find(const std::string& name) const;

  // Passes the uncompressed bytes of member |index| to |sink| in pieces, the
  // last call with |last| set. Throws InputError, before passing them on,
  // when the member's bytes would pass |maxBytes| or the archive's total:
  // the sizes are counted as they are inflated, since a header can claim
  // anything (a header that admits more is refused before inflating).
  // Throws ZipError when the member cannot be read.
  void Stream(uint64_t index, uint64_t maxBytes,
              const std::function<void(const char* data, std::size_t size,
                                       bool last)>& sink);

  // Writes the archive to |outPath| with member |replaced| holding
  // |replacement| (deflated) and every other member, its name, its time
  // and the archive comment as they are, the members in their order; the
  // other members' compressed bytes are copied, not inflated again.
  // Throws ZipError when the copy cannot be written.
  void WriteCopy(const std::string& outPath, uint64_t replaced,
                 std::string_view replacement) const;

 private:
  // Throws InputError when |size| more bytes of member |index|, which has
  // given |sizeSoFar| already, would pass a limit.
  void CheckInflated(uint64_t index, uint64_t maxBytes, uint64_t sizeSoFar,
                     uint64_t size) const;

  std::string bytes_;  // libzip reads from here; it must outlive archive_
  struct zip* archive_ = nullptr;
  uint64_t maxInflatedBytes_;
  uint64_t inflatedBytes_ = 0;  // by every Stream() so far
};

}  // namespace marrowfield

#endif  // MARROWFIELD_CLI_ZIP_ARCHIVE_H_
