#include "app/message_filter.h"

#include <memory>

#include "platform/win32/debug_trace.h"

namespace morvane {
namespace {

constexpr DWORD kRetryAfterMilliseconds = 1000;
constexpr DWORD kCancelCall = static_cast<DWORD>(-1);

} // namespace

ComPtr<MessageFilter> MessageFilter::make() {
    auto filter = std::make_unique<MessageFilter>();
    filter->AddRef();
    return ComPtr<MessageFilter>::attach(filter.release());
}

MessageFilterRegistration::MessageFilterRegistration()
    : filter_(MessageFilter::make()), result_(filter_->registerFilter()) {
    if (FAILED(result_))
        traceFailure(L"message filter", L"CoRegisterMessageFilter", result_);
}

MessageFilterRegistration::~MessageFilterRegistration() {
    if (SUCCEEDED(result_))
        filter_->revokeFilter();
}

HRESULT STDMETHODCALLTYPE MessageFilter::QueryInterface(REFIID iid, void** object) noexcept {
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

ULONG STDMETHODCALLTYPE MessageFilter::AddRef() noexcept {
    return static_cast<ULONG>(InterlockedIncrement(&refCount_));
}

ULONG STDMETHODCALLTYPE MessageFilter::Release() noexcept {
    const LONG count = InterlockedDecrement(&refCount_);
    if (count == 0)
        delete this;
    return static_cast<ULONG>(count);
}

DWORD STDMETHODCALLTYPE MessageFilter::HandleInComingCall(DWORD, HTASK, DWORD,
                                                          LPINTERFACEINFO) noexcept {
    return SERVERCALL_ISHANDLED;
}

DWORD STDMETHODCALLTYPE MessageFilter::RetryRejectedCall(HTASK, DWORD, DWORD rejectType) noexcept {
    // Busy: try again in a second, for as long as it stays busy.
    return rejectType == SERVERCALL_RETRYLATER ? kRetryAfterMilliseconds : kCancelCall;
}

DWORD STDMETHODCALLTYPE MessageFilter::MessagePending(HTASK, DWORD, DWORD) noexcept {
    return PENDINGMSG_WAITNOPROCESS;
}

HRESULT MessageFilter::registerFilter() noexcept {
    previousFilter_.reset();
    return CoRegisterMessageFilter(this, previousFilter_.put());
}

HRESULT MessageFilter::revokeFilter() noexcept {
    ComPtr<IMessageFilter> previous;
    const HRESULT hr = CoRegisterMessageFilter(previousFilter_.get(), previous.put());
    // previous is COM's reference to this filter; dropping it ends the filter.
    previous.reset();
    return hr;
}

} // namespace morvane
