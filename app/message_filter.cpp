#include "app/message_filter.h"

namespace morvane {
namespace {

constexpr DWORD kRetryAfterMilliseconds = 1000;
constexpr DWORD kCancelCall = static_cast<DWORD>(-1);

} // namespace

HRESULT STDMETHODCALLTYPE TMessageFilter::QueryInterface(REFIID iid, void** object) noexcept {
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
        *object = static_cast<IMessageFilter*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TMessageFilter::AddRef() noexcept {
    return static_cast<ULONG>(InterlockedIncrement(&FRefCount));
}

ULONG STDMETHODCALLTYPE TMessageFilter::Release() noexcept {
    const LONG count = InterlockedDecrement(&FRefCount);
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

DWORD STDMETHODCALLTYPE TMessageFilter::HandleInComingCall(DWORD, HTASK, DWORD,
                                                           LPINTERFACEINFO) noexcept {
    return SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE TMessageFilter::RetryRejectedCall(HTASK, DWORD, DWORD rejectType) noexcept {
    // Busy: try again in a second, for as long as it stays busy.
    return rejectType == SERVERCALL_RETRYLATER ? kRetryAfterMilliseconds : kCancelCall;
}

DWORD STDMETHODCALLTYPE TMessageFilter::MessagePending(HTASK, DWORD, DWORD) noexcept {
    return PENDINGMSG_WAITNOPROCESS;
}

HRESULT TMessageFilter::RegisterFilter() noexcept {
    FOldFilter.reset();
    return CoRegisterMessageFilter(this, FOldFilter.put());
}

HRESULT TMessageFilter::RevokeFilter() noexcept {
    ComPtr<IMessageFilter> previous;
    const HRESULT hr = CoRegisterMessageFilter(FOldFilter.get(), previous.put());
    // previous is COM's reference to this filter; dropping it ends the filter.
    previous.reset();
    return hr;
}

} // namespace morvane
