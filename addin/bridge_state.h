// The automation bridge's process-wide state: the host's Application
// object and the two flags of the probe that tells the own host process
// apart from others. The probe macro run in the candidate host calls back
// the exported CheckInstance, which lands in CheckInstanceProbe.

#ifndef MARROWFIELD_ADDIN_BRIDGE_STATE_H_
#define MARROWFIELD_ADDIN_BRIDGE_STATE_H_

#include <cstdint>

struct IDispatch;

namespace marrowfield {

class DebugOutput;

}  // namespace marrowfield

// The Application object of the own host process; holds one reference
// while connected, null otherwise.
extern IDispatch* g_pdispXL;
// True only while the bridge runs its probe macro.
extern bool g_bOkayToSetIFlag;
// Set by the probe when it reached this copy of the add-in.
extern bool g_bInstanceFlag;

namespace marrowfield {

// The body of the exported CheckInstance: notes on |debug| that it ran and
// whether the probe was expected, sets g_bInstanceFlag when it was.
// Returns 1.
int32_t CheckInstanceProbe(DebugOutput& debug) noexcept;

// Forgets the connection after its reference has been released: clears
// g_pdispXL and g_bInstanceFlag, so the next connect searches afresh
// instead of reusing a released object or an old probe answer.
void ForgetHostConnection() noexcept;

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_BRIDGE_STATE_H_
