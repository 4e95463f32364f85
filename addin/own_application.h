// Finding the Application object of the very host process that loaded this
// copy of the add-in. Several Excel processes may run; the one registered as
// the active object need not be ours. So each candidate is asked to run a
// legacy macro that calls back the add-in's exported CheckInstance: only in
// our own process does that call reach this copy of the library while
// g_bOkayToSetIFlag is set, and so set g_bInstanceFlag.

#ifndef MARROWFIELD_ADDIN_OWN_APPLICATION_H_
#define MARROWFIELD_ADDIN_OWN_APPLICATION_H_

#include <cstddef>
#include <string>

#include "automation_port.h"

struct IDispatch;

namespace marrowfield {

// The longest probe macro that fits the bridge's conversion buffer (293
// wide characters with the terminator); a 255-character path gives 283.
constexpr std::size_t kMaxProbeMacroLength = 292;

// The macro that has a host call CheckInstance in the library at
// |libraryPath|: cALL("<path>","CheckInstance","j").
std::string BuildProbeMacro(const std::string& libraryPath);

// Runs the probe macro on g_pdispXL: asks the host for the add-in's path
// (xlGetName), builds the macro and has the host execute it with
// ExecuteExcel4Macro, g_bOkayToSetIFlag set only around that. Returns the
// failing step's HRESULT (E_FAIL when the path cannot be had), or S_OK;
// the macro's own answer is not examined.
HResult RunCheckInstanceMacro(AutomationPort& port) noexcept;

// Walks the candidates (the active object for "Excel.Application", then
// every object of the running-object table) until one's Application answers
// the probe. REQUIRES: |out| points at g_pdispXL, which is null, so that the
// probe runs on the candidate's Application. Returns S_OK with *|out|
// holding one reference to our own Application; else *|out| is null and
// the result is the failure of CLSIDFromProgID or GetActiveObject when
// there is no active object to start from, or E_FAIL. Every other
// reference taken is released once before returning.
HResult FindOwnApplication(AutomationPort& port, IDispatch** out) noexcept;

// The Workbooks collection of |application|. Returns the failing HRESULT
// of the lookup or the call, DISP_E_PARAMNOTFOUND when the answer is not an
// object, or S_OK with *|workbooks| holding one reference.
HResult GetWorkbooks(AutomationPort& port, IDispatch* application,
                     IDispatch** workbooks) noexcept;

}  // namespace marrowfield

#endif  // MARROWFIELD_ADDIN_OWN_APPLICATION_H_
