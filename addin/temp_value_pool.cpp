// The pool's slots and the three makers. Every maker writes a complete
// value (type and value part), so nothing left from an earlier call can
// reach the host.

#include "temp_value_pool.h"

#include <cstring>

namespace marrowfield {

XLOPER* TempValuePool::Take() {
  if (used_ == slots_.size()) return nullptr;
  XLOPER* slot = &slots_[used_++];
  *slot = XLOPER{};
  return slot;
}

TempValuePool& TheTempValuePool() {
  static TempValuePool pool;
  return pool;
}

XLOPER* MakeTempNumber(double number) {
  XLOPER* value = TheTempValuePool().Take();
  if (value == nullptr) return nullptr;
  value->val.num = number;
  value->xltype = xltypeNum;
  return value;
}

XLOPER* MakeTempInteger(int16_t number) {
  XLOPER* value = TheTempValuePool().Take();
  if (value == nullptr) return nullptr;
  value->val.w = number;
  value->xltype = xltypeInt;
  return value;
}

XLOPER* MakeTempString(char* placeholderString) {
  if (placeholderString == nullptr) return nullptr;
  XLOPER* value = TheTempValuePool().Take();
  if (value == nullptr) return nullptr;
  // The length byte cannot say more than 255; the host then reads the first
  // 255 characters instead of a length taken modulo 256.
  const char* text = placeholderString + 1;
  const void* end = std::memchr(text, '\0', kMaxCountedLength + 1);
  const std::size_t length =
      end == nullptr
          ? kMaxCountedLength
          : static_cast<std::size_t>(static_cast<const char*>(end) - text);
  placeholderString[0] = static_cast<char>(static_cast<unsigned char>(length));
  value->val.str = placeholderString;
  value->xltype = xltypeStr;
  return value;
}

}  // namespace marrowfield
