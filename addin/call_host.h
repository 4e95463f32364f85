// CallHost: the one way the add-in's registration and menu code calls the
// host's callback library. It passes the arguments to Excel4v as an array
// and then empties TempValuePool, whatever the host answered.

#ifndef MARROWFIELD_ADDIN_CALL_HOST_H_
#define MARROWFIELD_ADDIN_CALL_HOST_H_

#include <cstdint>

#include "xloper.h"

namespace marrowfield {

// Calls host function |function| with the |count| values of |args|; the
// host fills *|result| when it is not null. Empties TheTempValuePool()
// before returning. Returns the host's return code, or xlretInvXloper
// without calling the host when an argument is null (a maker found the
// pool full) or |count| is out of range.
int32_t CallHostArray(int32_t function, XLOPER* result, int32_t count,
                      XLOPER* const* args);

// CallHost(function, result, values...): the same with the values listed.
template <typename... Values>
int32_t CallHost(int32_t function, XLOPER* result, Values*... values) {
  XLOPER* args[] = {values..., nullptr};
  return CallHostArray(function, result,
                       static_cast<int32_t>(sizeof...(values)), args);
}

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_CALL_HOST_H_
