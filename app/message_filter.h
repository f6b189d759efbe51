#pragma once
// The UI thread's COM message filter: while an outgoing call to the CAD
// waits, a call rejected as busy is retried every second, other input is not
// dispatched, and incoming calls are always accepted.
#include <windows.h>

#include <ole2.h>

#include "platform/win32/scoped.h"

namespace morvane {

class MessageFilter;

// The UI thread's message filter for as long as this object lives:
// registered when made, revoked when it goes.
class MessageFilterRegistration {
  public:
    MessageFilterRegistration();
    ~MessageFilterRegistration();
    MessageFilterRegistration(const MessageFilterRegistration&) = delete;
    MessageFilterRegistration& operator=(const MessageFilterRegistration&) = delete;

    // The filter while registered, or nullptr. When registering failed the
    // launcher works on, only without retrying calls the CAD rejects as busy.
    MessageFilter* filter() const { return SUCCEEDED(result_) ? filter_.get() : nullptr; }

  private:
    ComPtr<MessageFilter> filter_; // a reference of our own until the revocation is over
    HRESULT result_;
};

class MessageFilter final : public IMessageFilter {
  public:
    // Create: reference count 0, previousFilter_ empty. The last Release
    // ends the filter, as COM objects end.
    MessageFilter() = default;
    ~MessageFilter() = default;
    // A new filter holding its first reference.
    static ComPtr<MessageFilter> make();
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
    volatile LONG refCount_ = 0;
    ComPtr<IMessageFilter> previousFilter_;
};

} // namespace morvane
