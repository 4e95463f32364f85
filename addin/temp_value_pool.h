// TempValuePool: the short-lived host values the add-in builds as arguments
// for one host call. The makers fill the next free slot and hand out a
// pointer to it; CallHost empties the pool after every call, so a value
// lives exactly until the call that uses it has returned.

#ifndef MARROWFIELD_ADDIN_TEMP_VALUE_POOL_H_
#define MARROWFIELD_ADDIN_TEMP_VALUE_POOL_H_

#include <array>
#include <cstddef>
#include <cstdint>

#include "xloper.h"

namespace marrowfield {

class TempValuePool {
 public:
  // Room for 64 values of the platform's real record size (16 bytes on
  // 32-bit Excel, 24 on 64-bit). No host call takes more than seven.
  static constexpr std::size_t kCapacity = 64;

  TempValuePool() = default;
  TempValuePool(const TempValuePool&) = delete;
  TempValuePool& operator=(const TempValuePool&) = delete;

  // Returns the next free slot, or nullptr when every slot is taken.
  XLOPER* Take();

  // Makes every slot free. Pointers handed out earlier must not be used
  // afterwards.
  void Empty() { used_ = 0; }

  std::size_t size() const { return used_; }

 private:
  std::array<XLOPER, kCapacity> slots_{};
  std::size_t used_ = 0;
};

// The one pool of the add-in; the host calls it on one thread only.
TempValuePool& TheTempValuePool();

// Each maker fills the next slot of TheTempValuePool() and returns it, or
// returns nullptr when the pool is full.
XLOPER* MakeTempNumber(double number);
XLOPER* MakeTempInteger(int16_t number);

// REQUIRES: |placeholderString| is writable, NUL-terminated, and its first
// byte is a placeholder in front of the text. Writes the length of the text
// (at most 255; a longer text is cut there for the host) into that byte and
// returns a string value pointing at it. The string must outlive the call
// that uses the value. Returns nullptr for a null string or a full pool.
XLOPER* MakeTempString(char* placeholderString);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_TEMP_VALUE_POOL_H_
