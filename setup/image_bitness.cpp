// Reading the two header fields. Every read is checked, so a short or
// foreign file is 0, never an error.

#include "image_bitness.h"

#include <cstdint>
#include <fstream>

namespace marrowfield {
namespace {

constexpr std::streamoff kPeOffsetField = 0x3C;
constexpr uint16_t kMachineI386 = 0x014C;
constexpr uint16_t kMachineAmd64 = 0x8664;

bool ReadLittleEndian(std::istream& in, std::streamoff at, int bytes,
                      uint32_t* value) {
  in.clear();
  in.seekg(at);
  unsigned char buffer[4] = {};
  if (!in.read(reinterpret_cast<char*>(buffer), bytes)) return false;
  *value = 0;
  for (int i = bytes - 1; i >= 0; --i) *value = (*value << 8) | buffer[i];
  return true;
}

}  // namespace

int ImageBitnessOf(std::istream& image) {
  uint32_t magic = 0;
  if (!ReadLittleEndian(image, 0, 2, &magic) || magic != 0x5A4D)
    return 0;  // MZ
  uint32_t peOffset = 0;
  if (!ReadLittleEndian(image, kPeOffsetField, 4, &peOffset)) return 0;
  uint32_t signature = 0;
  if (!ReadLittleEndian(image, peOffset, 4, &signature) ||
      signature != 0x00004550) {  // "PE\0\0"
    return 0;
  }
  uint32_t machine = 0;
  if (!ReadLittleEndian(image, static_cast<std::streamoff>(peOffset) + 4, 2,
                        &machine)) {
    return 0;
  }
  if (machine == kMachineI386) return 32;
  if (machine == kMachineAmd64) return 64;
  return 0;
}

int ImageBitnessOfFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return -1;
  return ImageBitnessOf(file);
}

}  // namespace marrowfield
