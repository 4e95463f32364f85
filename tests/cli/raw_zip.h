// Zip archives written byte by byte, for the tests of hostile workbooks: a
// member may declare any size, whatever its data holds, and a member of more
// than a gigabyte can be made in a moment from a few kilobytes of deflate
// blocks repeated.
#ifndef MARROWFIELD_TESTS_CLI_RAW_ZIP_H_
#define MARROWFIELD_TESTS_CLI_RAW_ZIP_H_

#include <cstdint>
#include <string>
#include <vector>

#include "test_files.h"

namespace marrowfield {

struct RawZipMember {
  std::string name;
  std::string data;  // as stored: raw deflate blocks when |deflated|
  bool deflated = false;
  uint32_t crc = 0;       // of the uncompressed bytes
  uint64_t declaredSize;  // what the headers claim it inflates to
};

// A member holding |content| uncompressed, its headers telling the truth.
RawZipMember StoredMember(const std::string& name, const std::string& content);

// A deflated member holding |prefix|, |chunk| repeated |repeat| times, then
// |suffix|, its headers telling the truth. Each repeat is compressed once
// from a fresh state and its bytes written again, so the member costs about
// a thousandth of what it holds.
RawZipMember RepeatedMember(const std::string& name, const std::string& prefix,
                            const std::string& chunk, uint64_t repeat,
                            const std::string& suffix);

// The members of |parts| stored uncompressed, in the same order.
std::vector<RawZipMember> StoredMembers(const ZipParts& parts);

// Returns the bytes of a zip archive of |members| (no Zip64: every size must
// fit in 32 bits).
std::string WriteRawZip(const std::vector<RawZipMember>& members);

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_CLI_RAW_ZIP_H_
