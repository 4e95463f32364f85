// The Excel12 calls. The argument array lives on the caller's stack, which
// is what makes these calls safe on several threads at once.

#include "call_host12.h"

#include <array>

#include "host_callback_library12.h"
#include "host_functions.h"

namespace marrowfield {
namespace {

// Excel12v takes at most 255 arguments.
constexpr int32_t kMaxArguments = 255;

}  // namespace

bool HostOffersExcel12() { return FindExcel12Entry() != nullptr; }

int32_t CallHost12Array(int32_t function, XLOPER12* result, int32_t count,
                        XLOPER12* const* args) {
  const Excel12Entry entry = FindExcel12Entry();
  if (entry == nullptr) return xlretFailed;
  if (count < 0 || count > kMaxArguments) return xlretInvXloper;
  if (count > 0 && args == nullptr) return xlretInvXloper;
  std::array<XLOPER12*, kMaxArguments> list{};
  for (int32_t i = 0; i < count; ++i) {
    if (args[i] == nullptr) return xlretInvXloper;
    list[static_cast<std::size_t>(i)] = args[i];
  }
  return entry(function, count, list.data(), result);
}

HostValue12::HostValue12() : value_{} { value_.xltype = xltypeNil; }

HostValue12::~HostValue12() {
  if (filled_ && CarriesHostMemory(value_)) {
    CallHost12(xlFree, nullptr, &value_);
  }
}

XLOPER12 WideStringValue(const char16_t* text, std::size_t length,
                         char16_t* storage) {
  storage[0] = static_cast<char16_t>(length);
  for (std::size_t i = 0; i < length; ++i) storage[i + 1] = text[i];
  XLOPER12 value{};
  value.val.str = storage;
  value.xltype = xltypeStr;
  return value;
}

}  // namespace marrowfield
