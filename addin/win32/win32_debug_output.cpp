// OutputDebugStringA behind the DebugOutput port.

#include "win32_debug_output.h"

#include <windows.h>

namespace marrowfield {

void Win32DebugOutput::Write(const char* text) noexcept {
  if (text != nullptr) OutputDebugStringA(text);
}

}  // namespace marrowfield
