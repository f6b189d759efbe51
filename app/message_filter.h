#pragma once
// The UI thread's COM message filter: while an outgoing call to the CAD
// waits, a call rejected as busy is retried every second, other input is not
// dispatched, and incoming calls are always accepted.
#include <windows.h>

#include <ole2.h>

#include "platform/win32/scoped.h"

namespace morvane {

class TMessageFilter final : public IMessageFilter {
  public:
    // Create: reference count 0, FOldFilter empty.
    TMessageFilter() = default;
    TMessageFilter(const TMessageFilter&) = delete;
    TMessageFilter& operator=(const TMessageFilter&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override;
    ULONG STDMETHODCALLTYPE Release() noexcept override;

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                               LPINTERFACEINFO interfaceInfo) noexcept override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK callee, DWORD tickCount,
                                              DWORD rejectType) noexcept override;
    DWORD STDMETHODCALLTYPE MessagePending(HTASK callee, DWORD tickCount,
                                           DWORD pendingType) noexcept override;

    // Installs this filter; the one current until then goes to FOldFilter.
    HRESULT RegisterFilter() noexcept;
    // Puts FOldFilter back and releases COM's reference to this filter, which
    // normally destroys it: do not touch the object afterwards.
    HRESULT RevokeFilter() noexcept;

    ULONG referenceCount() const noexcept { return static_cast<ULONG>(FRefCount); }

  private:
    ~TMessageFilter() = default;

    volatile LONG FRefCount = 0;
    ComPtr<IMessageFilter> FOldFilter;
};

} // namespace morvane
