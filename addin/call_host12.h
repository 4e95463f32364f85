// CallHost12 and HostValue12: the Excel12 counterparts of CallHost and
// HostValue. They use no shared pool, so worksheet functions registered as
// thread-safe may call them from any of Excel's calculation threads.

#ifndef MARROWFIELD_ADDIN_CALL_HOST12_H_
#define MARROWFIELD_ADDIN_CALL_HOST12_H_

#include <cstdint>

#include "xloper12.h"

namespace marrowfield {

// True when the host offers the Excel12 interface.
bool HostOffersExcel12();

// Calls host function |function| through Excel12 with the |count| values of
// |args|; the host fills *|result| when it is not null. Returns the host's
// return code; xlretFailed when the host has no Excel12 interface, and
// xlretInvXloper without calling the host for a null argument.
int32_t CallHost12Array(int32_t function, XLOPER12* result, int32_t count,
                        XLOPER12* const* args);

template <typename... Values>
int32_t CallHost12(int32_t function, XLOPER12* result, Values*... values) {
  XLOPER12* args[] = {values..., nullptr};
  return CallHost12Array(function, result,
                         static_cast<int32_t>(sizeof...(values)), args);
}

// A value the host fills through Excel12; host memory it carries goes back
// with xlFree exactly once, when the HostValue12 is destroyed.
class HostValue12 {
 public:
  HostValue12();
  ~HostValue12();
  HostValue12(const HostValue12&) = delete;
  HostValue12& operator=(const HostValue12&) = delete;

  // Calls the host with this as the result. REQUIRES: nothing was filled
  // before. Returns the host's code; on failure the value stays nil.
  template <typename... Values>
  int32_t Call(int32_t function, Values*... values) {
    const int32_t code = CallHost12(function, &value_, values...);
    filled_ = code == 0;
    if (!filled_) value_.xltype = xltypeNil;
    return code;
  }

  const XLOPER12& value() const { return value_; }
  bool filled() const { return filled_; }

 private:
  XLOPER12 value_;
  bool filled_ = false;
};

// Makes a wide string value of |text| in |storage| (length first).
XLOPER12 WideStringValue(const char16_t* text, std::size_t length,
                         char16_t* storage);

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_CALL_HOST12_H_
