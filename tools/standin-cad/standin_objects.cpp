#include "standin_objects.h"

#include <string>

namespace standin {
namespace {

const DispatchBase::Member kApplicationMembers[] = {{L"HWND", kHwnd},
                                                    {L"ActiveDocument", kActiveDocument}};
const DispatchBase::Member kDocumentMembers[] = {{L"SendCommand", kSendCommand}};

std::wstring hexText(unsigned long long value) {
    wchar_t text[24];
    swprintf(text, 24, L"%llx", value);
    return text;
}

} // namespace

HRESULT DispatchBase::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT DispatchBase::GetTypeInfoCount(UINT* count) {
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT DispatchBase::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) {
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        for (size_t m = 0; m < count_; ++m) {
            if (_wcsicmp(names[i], members_[m].name) == 0)
                ids[i] = members_[m].id;
        }
        if (ids[i] == DISPID_UNKNOWN)
            result = DISP_E_UNKNOWNNAME;
        log_.add(L"names", std::wstring(names[i]) + L" count=" + std::to_wstring(count) +
                               L" lcid=" + std::to_wstring(lcid));
    }
    return result;
}

const wchar_t* DispatchBase::memberName(DISPID id) const {
    for (size_t m = 0; m < count_; ++m) {
        if (members_[m].id == id)
            return members_[m].name;
    }
    return L"?";
}

void DispatchBase::logInvoke(DISPID id, WORD flags, LCID lcid, const DISPPARAMS* params) {
    std::wstring detail = std::wstring(memberName(id)) + L" flags=" + std::to_wstring(flags) +
                          L" lcid=" + std::to_wstring(lcid);
    if (params) {
        detail += L" args=" + std::to_wstring(params->cArgs) + L" named=" +
                  std::to_wstring(params->cNamedArgs);
        if (params->cArgs > 0)
            detail += L" vt=" + std::to_wstring(params->rgvarg[0].vt);
    }
    log_.add(L"invoke", detail);
}

Document::Document(EventLog& log)
    : DispatchBase(kDocumentMembers, std::size(kDocumentMembers), log) {}

HRESULT Document::Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params,
                         VARIANT* result, EXCEPINFO*, UINT*) {
    if (beforeCall)
        beforeCall();
    logInvoke(id, flags, lcid, params);
    if (id != kSendCommand)
        return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_METHOD) || !params)
        return DISP_E_MEMBERNOTFOUND;
    if (params->cArgs != 1)
        return DISP_E_BADPARAMCOUNT;
    const VARIANT& arg = params->rgvarg[0];
    if (arg.vt != VT_BSTR)
        return DISP_E_TYPEMISMATCH;
    const std::wstring_view text(arg.bstrVal ? arg.bstrVal : L"", SysStringLen(arg.bstrVal));
    log_.add(L"command", text);
    if (onCommand)
        onCommand(text);
    if (result)
        VariantInit(result);
    return S_OK;
}

Application::Application(EventLog& log, const Options& options, Document& document)
    : DispatchBase(kApplicationMembers, std::size(kApplicationMembers), log), options_(options),
      document_(document) {}

HRESULT Application::Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params,
                            VARIANT* result, EXCEPINFO*, UINT*) {
    if (beforeCall)
        beforeCall();
    logInvoke(id, flags, lcid, params);
    if (!(flags & DISPATCH_PROPERTYGET) || !result)
        return DISP_E_MEMBERNOTFOUND;
    if (params && params->cArgs != 0)
        return DISP_E_BADPARAMCOUNT;
    VariantInit(result);
    switch (id) {
    case kHwnd:
        return readHwnd(result);
    case kActiveDocument:
        if (options_.noDocument)
            return S_OK; // VT_EMPTY: no document open
        result->vt = VT_DISPATCH;
        result->pdispVal = &document_;
        document_.AddRef();
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT Application::readHwnd(VARIANT* result) const {
    const auto handle = static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window_));
    switch (options_.hwndType) {
    case HwndType::I4:
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(handle);
        break;
    case HwndType::I8:
        result->vt = VT_I8;
        result->llVal = static_cast<LONGLONG>(handle);
        break;
    case HwndType::Bstr:
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(std::to_wstring(handle).c_str());
        if (!result->bstrVal)
            return E_OUTOFMEMORY;
        break;
    }
    log_.add(L"hwnd", hexText(handle));
    return S_OK;
}

HRESULT BusyFilter::QueryInterface(REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
        *out = static_cast<IMessageFilter*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

DWORD BusyFilter::busyRemaining() {
    if (options_.busyMs == 0)
        return 0;
    if (!busyStarted_) {
        busyStarted_ = true;
        busyStart_ = GetTickCount();
    }
    const DWORD elapsed = GetTickCount() - busyStart_;
    return elapsed < options_.busyMs ? options_.busyMs - elapsed : 0;
}

DWORD BusyFilter::HandleInComingCall(DWORD callType, HTASK, DWORD, LPINTERFACEINFO info) {
    const std::wstring detail = L"type=" + std::to_wstring(callType) + L" method=" +
                                std::to_wstring(info ? info->wMethod : 0);
    if (options_.reject) {
        log_.add(L"filter", L"REJECTED " + detail);
        return SERVERCALL_REJECTED;
    }
    if (busyRemaining() > 0) {
        log_.add(L"filter", L"RETRYLATER " + detail);
        return SERVERCALL_RETRYLATER;
    }
    log_.add(L"filter", L"ISHANDLED " + detail);
    return SERVERCALL_ISHANDLED;
}

} // namespace standin
