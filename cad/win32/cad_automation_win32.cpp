#include "cad/win32/cad_automation_win32.h"

#include <string>

#include "platform/win32/debug_trace.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "text/utf.h"

namespace morvane {
namespace {

constexpr WORD kPropertyRead = DISPATCH_METHOD | DISPATCH_PROPERTYGET; // 3

[[noreturn]] void fail(std::u16string_view step, HRESULT hr) {
    throw CadFailure(std::u16string(step) + u" failed", static_cast<int32_t>(hr));
}

class DispatchObject final : public CadObject {
  public:
    explicit DispatchObject(ComPtr<IDispatch> dispatch) : dispatch_(std::move(dispatch)) {}

    CadValue getProperty(std::u16string_view name) override {
        DISPPARAMS params{nullptr, nullptr, 0, 0};
        UniqueVariant result;
        invoke(name, kPropertyRead, params, result.get());
        return cadValueFromVariant(*result.get());
    }

    void callMethod(std::u16string_view name, std::u16string_view argument) override {
        UniqueBstr text(std::wstring_view(wptr(argument), argument.size()));
        if (!text.get() && !argument.empty())
            fail(u"SysAllocStringLen", E_OUTOFMEMORY);
        VARIANTARG arg;
        VariantInit(&arg);
        arg.vt = VT_BSTR;
        arg.bstrVal = text.get(); // still owned by text: freed after the call
        DISPPARAMS params{&arg, nullptr, 1, 0};
        invoke(name, DISPATCH_METHOD, params, nullptr);
    }

  private:
    DISPID memberId(std::u16string_view name) {
        std::wstring wide = toWide(name);
        LPOLESTR names[] = {wide.data()};
        DISPID id = DISPID_UNKNOWN;
        const HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, GetThreadLocale(), &id);
        if (FAILED(hr))
            fail(u"GetIDsOfNames " + std::u16string(name), hr);
        return id;
    }

    void invoke(std::u16string_view name, WORD flags, DISPPARAMS& params, VARIANT* result) {
        const DISPID id = memberId(name);
        ExcepInfo exception;
        const HRESULT hr =
            dispatch_->Invoke(id, IID_NULL, 0, flags, &params, result, exception.get(), nullptr);
        if (hr == S_OK)
            return;
        std::u16string detail = u"Invoke " + std::u16string(name);
        if (hr == DISP_E_EXCEPTION && exception.get()->bstrDescription) {
            const BSTR description = exception.get()->bstrDescription;
            detail += u": " + fromWide({description, SysStringLen(description)});
        }
        throw CadFailure(std::move(detail), static_cast<int32_t>(hr));
    }

    ComPtr<IDispatch> dispatch_;
};

HWND toWindow(uint64_t window) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(window));
}

} // namespace

CadObjectPtr makeDispatchObject(IDispatch* dispatch) {
    return std::make_unique<DispatchObject>(ComPtr<IDispatch>::attach(dispatch));
}

CadValue cadValueFromVariant(const VARIANT& value) {
    switch (value.vt) {
    case VT_EMPTY:
        return CadEmpty{};
    case VT_NULL:
        return CadNull{};
    case VT_I1:
        return int64_t{value.cVal};
    case VT_I2:
        return int64_t{value.iVal};
    case VT_I4:
        return int64_t{value.lVal};
    case VT_INT:
        return int64_t{value.intVal};
    case VT_I8:
        return int64_t{value.llVal};
    case VT_BOOL:
        return int64_t{value.boolVal};
    case VT_UI1:
        return uint64_t{value.bVal};
    case VT_UI2:
        return uint64_t{value.uiVal};
    case VT_UI4:
        return uint64_t{value.ulVal};
    case VT_UINT:
        return uint64_t{value.uintVal};
    case VT_UI8:
        return uint64_t{value.ullVal};
    case VT_R4:
        return double{value.fltVal};
    case VT_R8:
        return value.dblVal;
    case VT_BSTR:
        return fromWide({value.bstrVal ? value.bstrVal : L"", SysStringLen(value.bstrVal)});
    case VT_DISPATCH:
        if (!value.pdispVal)
            return CadNull{};
        value.pdispVal->AddRef();
        return makeDispatchObject(value.pdispVal);
    default:
        return CadOther{};
    }
}

CadObjectPtr ComCadAutomation::attach(std::u16string_view progId) {
    const std::wstring name = toWide(progId);
    CLSID clsid;
    HRESULT hr = CLSIDFromProgID(name.c_str(), &clsid);
    if (FAILED(hr))
        fail(u"CLSIDFromProgID", hr);
    ComPtr<IUnknown> running;
    hr = GetActiveObject(clsid, nullptr, running.put());
    if (FAILED(hr))
        fail(u"GetActiveObject", hr);
    ComPtr<IDispatch> dispatch;
    hr = running.queryInterface(IID_IDispatch, dispatch);
    if (FAILED(hr))
        fail(u"QueryInterface IDispatch", hr);
    return std::make_unique<DispatchObject>(std::move(dispatch));
}

bool Win32CadDesktop::isIconic(uint64_t window) {
    return IsIconic(toWindow(window)) != FALSE;
}

void Win32CadDesktop::openIcon(uint64_t window) {
    OpenIcon(toWindow(window));
}

void Win32CadDesktop::setForegroundWindow(uint64_t window) {
    SetForegroundWindow(toWindow(window));
}

uint64_t Win32CadDesktop::foregroundWindow() {
    return static_cast<uint64_t>(reinterpret_cast<UINT_PTR>(GetForegroundWindow()));
}

void Win32CadDesktop::sleep(unsigned milliseconds) {
    Sleep(milliseconds);
}

void Win32CadDesktop::escapeKey(bool down) {
    keybd_event(VK_ESCAPE, 0, down ? 0 : KEYEVENTF_KEYUP, 0);
}

void traceCadChain(const CadChainResult& result) noexcept {
    if (result.completed)
        return;
    try {
        traceFailure(L"CAD " + toWide(utf8ToUtf16(result.step)), toWide(result.detail),
                     static_cast<HRESULT>(result.code));
    } catch (...) {
        // Out of memory: the trace is only for a developer.
    }
}

} // namespace morvane
