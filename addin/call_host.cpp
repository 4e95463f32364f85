// CallHost over Excel4v. The pool is emptied on every path out, including a
// refused call, so temporary values never pile up across calls.

#include "call_host.h"

#include <array>

#include "host_callback_library.h"
#include "host_functions.h"
#include "temp_value_pool.h"

namespace marrowfield {
namespace {

// Excel4v takes at most 255 arguments (30 for Excel4).
constexpr int32_t kMaxArguments = 255;

class EmptyPoolOnExit {
 public:
  EmptyPoolOnExit() = default;
  EmptyPoolOnExit(const EmptyPoolOnExit&) = delete;
  EmptyPoolOnExit& operator=(const EmptyPoolOnExit&) = delete;
  ~EmptyPoolOnExit() { TheTempValuePool().Empty(); }
};

}  // namespace

int32_t CallHostArray(int32_t function, XLOPER* result, int32_t count,
                      XLOPER* const* args) {
  EmptyPoolOnExit emptyPool;
  if (count < 0 || count > kMaxArguments) return xlretInvXloper;
  if (count > 0 && args == nullptr) return xlretInvXloper;
  std::array<XLOPER*, kMaxArguments> list{};
  for (int32_t i = 0; i < count; ++i) {
    // A null argument would be read by the host as a value at address 0.
    if (args[i] == nullptr) return xlretInvXloper;
    list[static_cast<std::size_t>(i)] = args[i];
  }
  return Excel4v(function, result, count, list.data());
}

}  // namespace marrowfield
