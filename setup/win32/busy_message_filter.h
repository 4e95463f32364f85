// BusyMessageFilter: the installer's COM message filter. An Excel that is
// busy (starting, loading an add-in, showing a dialog) rejects calls from
// outside with SERVERCALL_RETRYLATER; without a filter COM fails such a
// call at once with RPC_E_CALL_REJECTED. This filter has COM retry it
// every kRetryIntervalMs until kRetryLimitMs have passed since the call
// was first rejected, and then gives up, so the call fails with
// RPC_E_CALL_REJECTED and the installer reports it: it never waits for
// ever. Registered for the life of the object, on the calling thread (an
// STA), with CoRegisterMessageFilter.

#ifndef MARROWFIELD_SETUP_WIN32_BUSY_MESSAGE_FILTER_H_
#define MARROWFIELD_SETUP_WIN32_BUSY_MESSAGE_FILTER_H_

#include <objidl.h>
#include <windows.h>

namespace marrowfield {

constexpr DWORD kRetryIntervalMs = 250;
constexpr DWORD kRetryLimitMs = 60000;

class BusyMessageFilter : public IMessageFilter {
 public:
  // Registers this filter; the previous one is restored by the destructor.
  // |limitMs| bounds the retrying of one call.
  explicit BusyMessageFilter(DWORD limitMs = kRetryLimitMs);
  ~BusyMessageFilter();
  BusyMessageFilter(const BusyMessageFilter&) = delete;
  BusyMessageFilter& operator=(const BusyMessageFilter&) = delete;

  // Calls retried so far.
  int retries() const { return retries_; }

  // IUnknown: the object lives on the stack; COM's references do not own it.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  // IMessageFilter.
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller,
                                             DWORD tickCount,
                                             LPINTERFACEINFO info) override;
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount,
                                            DWORD rejectType) override;
  DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount,
                                         DWORD pendingType) override;

 private:
  DWORD limitMs_;
  IMessageFilter* previous_ = nullptr;
  bool registered_ = false;
  int retries_ = 0;
};

}  // namespace marrowfield

#endif  // MARROWFIELD_SETUP_WIN32_BUSY_MESSAGE_FILTER_H_
