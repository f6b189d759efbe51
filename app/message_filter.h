#pragma once
// The UI thread's COM message filter: while an outgoing call to the CAD
// waits, a call rejected as busy is retried every second, other input is not
// dispatched, and incoming calls are always accepted.
#include <windows.h>

#include <ole2.h>

#include "platform/win32/scoped.h"

namespace morvane {

class MessageFilter final : public IMessageFilter {
  public:
    // Create: reference count 0, previousFilter_ empty.
    MessageFilter() = default;
    MessageFilter(const MessageFilter&) = delete;
    MessageFilter& operator=(const MessageFilter&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                               LPINTERFACEINFO interfaceInfo) noexcept override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount,
                                              DWORD rejectType) noexcept override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount,
                                           DWORD pendingType) noexcept override;

    // Installs this filter; the one current until then goes to previousFilter_.
    HRESULT registerFilter() noexcept;
    // Puts previousFilter_ back and releases COM's reference to this filter, which
    // normally destroys it: do not touch the object afterwards.
    HRESULT revokeFilter() noexcept;

    ULONG referenceCount() const noexcept { return static_cast<ULONG>(refCount_); }

  private:
    ~MessageFilter() = default;

    volatile LONG refCount_ = 0;
    ComPtr<IMessageFilter> previousFilter_;
};

} // namespace morvane
