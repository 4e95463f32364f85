// Host calls and the translation of their failures. An exception the host
// raised (DISP_E_EXCEPTION) is reported by the code inside it, as the
// automation runtime does: an scode as it stands, an older wCode as the
// IDispatch error 0x80040200 + wCode.

#include "host_calls.h"

#include <cstdint>
#include <utility>

#include "com_error.h"
#include "installer_members.h"

namespace marrowfield {
namespace {

// What COM answers for a call a busy server turned away: rejected, or told
// to retry later. A message filter may already have retried; either way
// the call is tried again until kBusyLimitMs have passed since it was
// first made, so that the installer rides out a busy Excel but never waits
// for ever.
constexpr HResult kRpcECallRejected = static_cast<HResult>(0x80010001u);
constexpr HResult kRpcEServerCallRetryLater = static_cast<HResult>(0x8001010Au);
constexpr uint64_t kBusyLimitMs = 60000;
constexpr uint32_t kBusyPauseMs = 250;

constexpr uint32_t kDispatchErrorBase = 0x80040200u;
constexpr uint32_t kDispatchErrorLast = 0x8004FFFFu;
constexpr int32_t kLastWCode = 0xFE00;

HResult ExceptionCode(int32_t code) {
  if (code < 0) return code;
  if (code == 0) return kDispEException;
  if (code >= kLastWCode) return static_cast<HResult>(kDispatchErrorLast);
  return static_cast<HResult>(kDispatchErrorBase + static_cast<uint32_t>(code));
}

}  // namespace

DispatchRef StartHost(AutomationPort& port) {
  ClassId classId;
  HResult hr = port.ClassIdFromProgId(installer::kHostProgId, &classId);
  if (Failed(hr)) throw ComError(hr);
  DispatchRef application;
  hr =
      port.CreateInstance(classId, installer::kHostClassContexts, &application);
  if (Failed(hr)) throw ComError(hr);
  if (!application) throw ComError(kEPointer);
  return application;
}

AutomationValue InvokeMember(AutomationPort& port, const DispatchRef& object,
                             DispId member, InvokeKind kind,
                             std::vector<AutomationValue> arguments,
                             bool wantResult) {
  if (!object) throw ComError(kEPointer);
  InvokeRequest request{member, installer::kLocale, kind, std::move(arguments)};
  AutomationValue result;
  InvokeException exception;
  const uint64_t started = port.TickMs();
  HResult hr = kSOk;
  for (;;) {
    hr = port.Invoke(object.get(), request, wantResult ? &result : nullptr,
                     &exception, nullptr);
    if (hr != kRpcECallRejected && hr != kRpcEServerCallRetryLater) break;
    if (port.TickMs() - started >= kBusyLimitMs) break;
    port.SleepMs(kBusyPauseMs);
  }
  if (Succeeded(hr)) return result;
  if (hr == kDispEException) {
    throw ComError(ExceptionCode(exception.code), exception.source,
                   exception.description);
  }
  std::string source;
  std::string description;
  if (port.TakeErrorInfo(object.get(), &source, &description)) {
    throw ComError(hr, std::move(source), std::move(description));
  }
  throw ComError(hr);
}

DispatchRef ObjectResult(AutomationValue value) { return value.TakeObject(); }

}  // namespace marrowfield
