// Releasing host values: only the types that carry host memory go back to
// the host, so an error or a number returned by a call is simply dropped.

#include "host_value.h"

#include "xloper12.h"

namespace marrowfield {

void HostValue::FreeHostMemory(const XLOPER& value) {
  if (!CarriesHostMemory(value)) return;
  XLOPER copy = value;
  CallHost(xlFree, nullptr, &copy);
}

void HostValue::Release() {
  if (filled_) FreeHostMemory(value_);
  Reset();
}

void HostValue::Reset() {
  value_ = XLOPER{};
  value_.xltype = xltypeNil;
  filled_ = false;
}

}  // namespace marrowfield
