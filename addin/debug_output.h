// DebugOutput: the port through which the add-in writes its diagnostic
// lines. They go to the debugger output channel on Windows and never reach
// the user.

#ifndef MARROWFIELD_ADDIN_DEBUG_OUTPUT_H_
#define MARROWFIELD_ADDIN_DEBUG_OUTPUT_H_

namespace marrowfield {

class DebugOutput {
 public:
  virtual ~DebugOutput() = default;

  // Writes |text| as it is; callers supply their own line feeds.
  // Must not throw.
  virtual void Write(const char* text) noexcept = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_DEBUG_OUTPUT_H_
