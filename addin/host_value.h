// HostValue: a value that the host fills in as the result of a call. When
// the host hands over memory with it (a string, an array, a reference),
// HostValue gives it back with xlFree exactly once, when it is released or
// goes out of scope; values without host memory are never passed to xlFree.

#ifndef MARROWFIELD_ADDIN_HOST_VALUE_H_
#define MARROWFIELD_ADDIN_HOST_VALUE_H_

#include <cstdint>
#include <string>

#include "call_host.h"
#include "host_functions.h"
#include "xloper.h"

namespace marrowfield {

class HostValue {
 public:
  HostValue() { Reset(); }
  ~HostValue() { Release(); }
  HostValue(const HostValue&) = delete;
  HostValue& operator=(const HostValue&) = delete;

  // Calls the host with this as the result, then releases what this held
  // before (afterwards, so temporary arguments made for this call stay
  // untouched). On a non-zero return code the value is nil: the host
  // promised nothing about it. Returns the host's code.
  template <typename... Values>
  int32_t Call(int32_t function, Values*... values) {
    const XLOPER previous = value_;
    const bool hadPrevious = filled_;
    Reset();
    const int32_t code = CallHost(function, &value_, values...);
    filled_ = code == xlretSuccess;
    if (!filled_) Reset();
    if (hadPrevious) FreeHostMemory(previous);
    return code;
  }

  // Gives any host memory back with xlFree and leaves the value nil.
  void Release();

  const XLOPER& value() const { return value_; }

  // The value itself, to pass back to the host as an argument.
  XLOPER* argument() { return &value_; }

  bool filled() const { return filled_; }
  bool IsError() const { return filled_ && BaseType(value_) == xltypeErr; }
  bool IsString() const { return filled_ && BaseType(value_) == xltypeStr; }

 private:
  // Gives |value| back with xlFree when it carries host memory.
  static void FreeHostMemory(const XLOPER& value);
  void Reset();

  XLOPER value_;
  bool filled_ = false;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_HOST_VALUE_H_
