// Helpers for the fuzz targets: split raw fuzzer input into the strings and
// numbers an exported function takes, and stop on a broken promise.

#ifndef MARROWFIELD_TESTS_FUZZ_FUZZ_INPUT_H_
#define MARROWFIELD_TESTS_FUZZ_FUZZ_INPUT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_require.h"
#include "marrowfield.h"

namespace marrowfield {

// The engine is set up once per fuzzing process.
inline void EnsureEngine() {
  static const int ready = initialize();
  Require(ready == 0, "initialize");
}

// Reads the input front to back.
class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

  // Bytes up to the next |separator| (or the end), without it. May hold any
  // byte but a NUL, which would end the string early anyway.
  std::string Field(uint8_t separator) {
    std::string field;
    while (pos_ < size_ && data_[pos_] != separator) {
      if (data_[pos_] != 0) field.push_back(static_cast<char>(data_[pos_]));
      ++pos_;
    }
    if (pos_ < size_) ++pos_;
    return field;
  }

  std::string Rest() { return Field(0); }
  bool Done() const { return pos_ >= size_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Reads a handed-out list and closes it.
inline std::vector<std::string> Drain(ResultIterator* handle) {
  Require(handle != nullptr, "a list is handed out");
  std::vector<std::string> items;
  const int size = get_result_size(handle);
  Require(size >= 0, "list size");
  for (int i = 0; i < size; ++i) items.emplace_back(get_result_item(handle, i));
  Require(get_result_item(handle, size) == nullptr, "index past the end");
  close_result_iterator(handle);
  return items;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FUZZ_FUZZ_INPUT_H_
