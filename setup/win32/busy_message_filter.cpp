// The filter's answers. COM passes RetryRejectedCall the milliseconds since
// the call was first made, so the bound needs no clock of its own.

#include "busy_message_filter.h"

namespace marrowfield {

BusyMessageFilter::BusyMessageFilter(DWORD limitMs) : limitMs_(limitMs) {
  registered_ = SUCCEEDED(CoRegisterMessageFilter(this, &previous_));
}

BusyMessageFilter::~BusyMessageFilter() {
  if (!registered_) return;
  IMessageFilter* ours = nullptr;
  CoRegisterMessageFilter(previous_, &ours);
  if (previous_ != nullptr) previous_->Release();
}

HRESULT STDMETHODCALLTYPE BusyMessageFilter::QueryInterface(REFIID iid,
                                                            void** out) {
  if (out == nullptr) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
    *out = static_cast<IMessageFilter*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

DWORD STDMETHODCALLTYPE BusyMessageFilter::HandleInComingCall(DWORD, HTASK,
                                                              DWORD,
                                                              LPINTERFACEINFO) {
  return SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE BusyMessageFilter::RetryRejectedCall(HTASK,
                                                             DWORD tickCount,
                                                             DWORD rejectType) {
  // A server that refused outright will not change its mind; a busy one
  // is given time, up to the bound. (DWORD)-1 cancels the call.
  if (rejectType != SERVERCALL_RETRYLATER || tickCount >= limitMs_) {
    return static_cast<DWORD>(-1);
  }
  ++retries_;
  return kRetryIntervalMs;
}

DWORD STDMETHODCALLTYPE BusyMessageFilter::MessagePending(HTASK, DWORD, DWORD) {
  // Let the waiting call go on; the installer has no window to serve.
  return PENDINGMSG_WAITDEFPROCESS;
}

}  // namespace marrowfield
