// The fake host's record as C++ values, read through the fake's C
// functions so that it works the same whether the fake is linked in or
// loaded as XLCALL32.DLL.

#ifndef MARROWFIELD_TESTS_FAKES_RECORDED_CALLS_H_
#define MARROWFIELD_TESTS_FAKES_RECORDED_CALLS_H_

#include <string>
#include <vector>

#include "fake_xlcall32.h"

namespace marrowfield {

struct RecordedCall {
  int function;
  std::vector<std::string> args;
};

inline std::vector<RecordedCall> RecordedCalls() {
  std::vector<RecordedCall> calls;
  const int count = fake_xl_call_count();
  for (int call = 0; call < count; ++call) {
    RecordedCall recorded{fake_xl_call_function(call), {}};
    const int args = fake_xl_call_arg_count(call);
    for (int arg = 0; arg < args; ++arg) {
      recorded.args.emplace_back(fake_xl_call_arg(call, arg));
    }
    calls.push_back(std::move(recorded));
  }
  return calls;
}

// The argument lists of the recorded calls of |function|, oldest first.
inline std::vector<std::vector<std::string>> RecordedArgsOf(int function) {
  std::vector<std::vector<std::string>> found;
  for (RecordedCall& call : RecordedCalls()) {
    if (call.function == function) found.push_back(std::move(call.args));
  }
  return found;
}

}  // namespace marrowfield

#endif  // MARROWFIELD_TESTS_FAKES_RECORDED_CALLS_H_
