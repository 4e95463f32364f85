// Win32DebugOutput: the add-in's diagnostic lines on the debugger output
// channel (OutputDebugStringA), where a debugger or DebugView shows them.

#ifndef MARROWFIELD_ADDIN_WIN32_WIN32_DEBUG_OUTPUT_H_
#define MARROWFIELD_ADDIN_WIN32_WIN32_DEBUG_OUTPUT_H_

#include "debug_output.h"

namespace marrowfield {

class Win32DebugOutput : public DebugOutput {
 public:
  void Write(const char* text) noexcept override;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_WIN32_WIN32_DEBUG_OUTPUT_H_
