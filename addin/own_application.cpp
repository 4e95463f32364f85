// The probe and the walk through the candidates. References are held in
// DispatchRefs and the walk's table in its own owner, so every path out of
// the walk, early or late, releases each of them exactly once.

#include "own_application.h"

#include <new>
#include <utility>

#include "bridge_state.h"
#include "counted_string.h"
#include "host_members.h"
#include "host_value.h"

namespace marrowfield {
namespace {

// g_bOkayToSetIFlag for exactly the life of one probe call.
class ProbeWindow {
 public:
  ProbeWindow() { g_bOkayToSetIFlag = true; }
  ~ProbeWindow() { g_bOkayToSetIFlag = false; }
  ProbeWindow(const ProbeWindow&) = delete;
  ProbeWindow& operator=(const ProbeWindow&) = delete;
};

HResult ExecuteProbe(AutomationPort& port, IDispatch* application,
                     const std::string& macro) {
  if (application == nullptr) return kEPointer;
  ProbeWindow window;
  DispId member = 0;
  HResult hr = port.GetIdOfName(application, kExecuteExcel4MacroMember,
                                kLocaleEnglishUs, &member);
  if (Failed(hr)) return hr;
  // A method in Excel's type library: a dispatcher that checks the kind
  // refuses a property get alone, so both kinds are offered, as for
  // Application and Workbooks.
  InvokeRequest request{
      member, kLocaleEnglishUs, InvokeKind::kMethodOrPropertyGet, {}};
  request.arguments.push_back(AutomationValue::String(macro));
  AutomationValue answer;
  InvokeException exception;
  uint32_t argumentError = 0;
  return port.Invoke(application, request, &answer, &exception, &argumentError);
}

// Asks |candidate| for its Application. Returns the object, or an empty
// reference when the call fails or answers with anything but an object.
DispatchRef ApplicationOf(AutomationPort& port, IDispatch* candidate,
                          DispId applicationMember) {
  InvokeRequest request{applicationMember,
                        kLocaleEnglishUs,
                        InvokeKind::kMethodOrPropertyGet,
                        {}};
  AutomationValue answer;
  InvokeException exception;
  const HResult hr =
      port.Invoke(candidate, request, &answer, &exception, nullptr);
  if (Failed(hr)) return {};
  return answer.TakeObject();
}

// The next object of the table that binds; an empty reference when the
// table has no more.
DispatchRef NextBoundCandidate(RunningObjects& table) {
  for (;;) {
    std::unique_ptr<Moniker> moniker;
    if (table.Next(&moniker) != kSOk || moniker == nullptr) return {};
    DispatchRef candidate;
    if (Succeeded(table.Bind(*moniker, &candidate)) && candidate) {
      return candidate;
    }
  }
}

HResult Walk(AutomationPort& port, IDispatch** out) {
  ClassId classId;
  HResult hr = port.ClassIdFromProgId(kApplicationProgId, &classId);
  if (Failed(hr)) return hr;
  DispatchRef candidate;
  hr = port.GetActiveObject(classId, &candidate);
  if (Failed(hr)) return hr;
  if (!candidate) return kEFail;
  DispId applicationMember = 0;
  if (Failed(port.GetIdOfName(candidate.get(), kApplicationMember,
                              kLocaleEnglishUs, &applicationMember))) {
    return kEFail;
  }
  std::unique_ptr<RunningObjects> table;
  for (;;) {
    DispatchRef application =
        ApplicationOf(port, candidate.get(), applicationMember);
    if (application) {
      *out = application.Detach();
      RunCheckInstanceMacro(port);
      if (g_bInstanceFlag) return kSOk;
      // Not ours: give the Application back before looking further.
      DispatchRef(port, *out).Reset();
      *out = nullptr;
    }
    candidate.Reset();
    if (table == nullptr && Failed(port.OpenRunningObjects(&table))) {
      return kEFail;
    }
    if (table == nullptr) return kEFail;
    candidate = NextBoundCandidate(*table);
    if (!candidate) return kEFail;
  }
}

}  // namespace

std::string BuildProbeMacro(const std::string& libraryPath) {
  // The lower-case c is what the host has always been sent; CALL's name is
  // matched without regard to case.
  return "cALL(\"" + libraryPath + "\",\"CheckInstance\",\"j\")";
}

HResult RunCheckInstanceMacro(AutomationPort& port) noexcept {
  try {
    std::string libraryPath;
    {
      HostValue path;
      if (path.Call(xlGetName) != xlretSuccess || !path.IsString()) {
        return kEFail;
      }
      libraryPath = CountedText(path.value());
    }
    const std::string macro = BuildProbeMacro(libraryPath);
    if (macro.size() > kMaxProbeMacroLength) return kEFail;
    return ExecuteProbe(port, g_pdispXL, macro);
  } catch (const std::bad_alloc&) {
    return kEOutOfMemory;
  } catch (...) {
    return kEFail;
  }
}

HResult FindOwnApplication(AutomationPort& port, IDispatch** out) noexcept {
  if (out == nullptr) return kEFail;
  // An answer from an earlier connection must not vouch for this walk's
  // candidates.
  g_bInstanceFlag = false;
  HResult hr = kEFail;
  try {
    hr = Walk(port, out);
  } catch (...) {
    hr = kEFail;
  }
  if (Succeeded(hr) && g_bInstanceFlag && *out != nullptr) return kSOk;
  if (*out != nullptr) {
    DispatchRef(port, *out).Reset();
    *out = nullptr;
  }
  // A host that is not running at all says so with its own HRESULT.
  return Failed(hr) ? hr : kEFail;
}

HResult GetWorkbooks(AutomationPort& port, IDispatch* application,
                     IDispatch** workbooks) noexcept {
  try {
    DispId member = 0;
    HResult hr = port.GetIdOfName(application, kWorkbooksMember,
                                  kLocaleEnglishUs, &member);
    if (Failed(hr)) return hr;
    InvokeRequest request{
        member, kLocaleEnglishUs, InvokeKind::kMethodOrPropertyGet, {}};
    AutomationValue answer;
    uint32_t argumentError = 0;
    hr = port.Invoke(application, request, &answer, nullptr, &argumentError);
    if (Failed(hr)) return hr;
    DispatchRef collection = answer.TakeObject();
    if (!collection) return kDispEParamNotFound;
    *workbooks = collection.Detach();
    return kSOk;
  } catch (const std::bad_alloc&) {
    return kEOutOfMemory;
  } catch (...) {
    return kEFail;
  }
}

}  // namespace marrowfield
