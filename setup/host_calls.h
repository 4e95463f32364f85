// The installer's calls into the host: starting it, and invoking one
// member of one object. Each failure becomes a ComError carrying the
// HRESULT and whatever error information the call left.

#ifndef MARROWFIELD_SETUP_HOST_CALLS_H_
#define MARROWFIELD_SETUP_HOST_CALLS_H_

#include <vector>

#include "automation_port.h"
#include "automation_value.h"

namespace marrowfield {

// Starts the host application by its ProgID (a text in braces is the
// class identifier itself) with the installer's class contexts and runs
// it. Throws ComError with the failing HRESULT, or E_POINTER when the
// start answered with no object.
DispatchRef StartHost(AutomationPort& port);

// Invokes |member| on |object| with |arguments| in their natural order.
// A call a busy host rejects (RPC_E_CALL_REJECTED, RPC_E_SERVERCALL_
// RETRYLATER) is tried again every quarter second for up to a minute from
// the first try. Returns the result when |wantResult| is set (empty
// otherwise). Throws
// ComError: E_POINTER for a null object; for an exception the host raised,
// the host's own code with its source and description; for any other
// failure the HRESULT with the error information the object left, if any.
AutomationValue InvokeMember(AutomationPort& port, const DispatchRef& object,
                             DispId member, InvokeKind kind,
                             std::vector<AutomationValue> arguments,
                             bool wantResult);

// The object of an object result (null for anything else), which the
// caller now owns.
DispatchRef ObjectResult(AutomationValue value);

}  // namespace marrowfield

#endif  // MARROWFIELD_SETUP_HOST_CALLS_H_
