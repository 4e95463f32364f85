// Building counted strings for the host and reading them back.

#include "counted_string.h"

namespace marrowfield {

CountedString::CountedString(std::string_view text) {
  storage_.reserve(text.size() + 1);
  storage_.push_back('\0');
  storage_.append(text);
}

XLOPER CountedString::AsValue() {
  std::size_t length = storage_.size() - 1;
  if (length > kMaxCountedLength) length = kMaxCountedLength;
  storage_[0] = static_cast<char>(static_cast<unsigned char>(length));
  XLOPER value{};
  value.val.str = storage_.data();
  value.xltype = xltypeStr;
  return value;
}

std::string CountedText(const XLOPER& value) {
  if (BaseType(value) != xltypeStr || value.val.str == nullptr) return {};
  const auto length = static_cast<unsigned char>(value.val.str[0]);
  return std::string(value.val.str + 1, length);
}

}  // namespace marrowfield
