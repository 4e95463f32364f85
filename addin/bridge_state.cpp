// The bridge's globals and the two small operations on them that do not
// need COM.

#include "bridge_state.h"

#include "debug_output.h"

IDispatch* g_pdispXL = nullptr;
bool g_bOkayToSetIFlag = false;
bool g_bInstanceFlag = false;

namespace marrowfield {

int32_t CheckInstanceProbe(DebugOutput& debug) noexcept {
  debug.Write("CheckInstance\n");
  if (g_bOkayToSetIFlag) {
    debug.Write("g_bOkayToSetIFlag = true\n");
    g_bInstanceFlag = true;
  } else {
    debug.Write("g_bOkayToSetIFlag = false\n");
  }
  return 1;
}

void ForgetHostConnection() noexcept {
  g_pdispXL = nullptr;
  g_bInstanceFlag = false;
}

}  // namespace marrowfield
