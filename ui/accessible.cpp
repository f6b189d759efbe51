#include "ui/accessible.h"

#include <memory>
#include <new>
#include <string>
#include <utility>

#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "ui/window_hook.h"

namespace morvane {
namespace {

// oleacc, looked up at the first question an assistive technology asks:
// most sessions never ask, and each module loaded at start costs Wine time.
struct Oleacc {
    using CreateStandardFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
    CreateStandardFn createStandard = nullptr;
    LresultFromObjectFn lresultFromObject = nullptr;
};

template <class Function> Function exportOf(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const Oleacc& oleacc() {
    static const Oleacc loaded = [] {
        Oleacc found;
        if (HMODULE module = LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            found.createStandard =
                exportOf<Oleacc::CreateStandardFn>(module, "CreateStdAccessibleObject");
            found.lresultFromObject =
                exportOf<Oleacc::LresultFromObjectFn>(module, "LresultFromObject");
        }
        return found;
    }();
    return loaded;
}

bool isSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The system's client object with the name and role given: every question
// about the control itself or its parts goes to the system's object, but
// those two about the control itself.
class DescribedAccessible final : public IAccessible, public IOleWindow {
  public:
    DescribedAccessible(HWND window, ComPtr<IAccessible> standard, std::wstring name, LONG role)
        : window_(window), standard_(std::move(standard)), name_(std::move(name)), role_(role) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
            IsEqualIID(iid, __uuidof(IAccessible))) {
            *out = static_cast<IAccessible*>(this);
        } else if (IsEqualIID(iid, __uuidof(IOleWindow))) {
            *out = static_cast<IOleWindow*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override {
        return standard_->Invoke(member, iid, locale, flags, params, result, exception,
                                 argumentError);
    }

    // IAccessible: the name and role of the control itself are ours.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!isSelf(child) || name_.empty())
            return standard_->get_accName(child, name);
        if (!name)
            return E_POINTER;
        *name = SysAllocStringLen(name_.data(), static_cast<UINT>(name_.size()));
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!isSelf(child))
            return standard_->get_accRole(child, role);
        if (!role)
            return E_POINTER;
        VariantInit(role);
        role->vt = VT_I4;
        role->lVal = role_;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return standard_->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

    // IOleWindow: which window this is, for WindowFromAccessibleObject.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window)
            return E_POINTER;
        *window = window_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  private:
    ~DescribedAccessible() = default;

    LONG references_ = 1;
    HWND window_;
    ComPtr<IAccessible> standard_;
    std::wstring name_;
    LONG role_;
};

struct Description {
    std::u16string name;
    LONG role;
};

// hook.data: the control's Description, freed with the control.
LRESULT describedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, WindowHook& hook) noexcept {
    auto* description = static_cast<Description*>(hook.data);
    if (msg == WM_GETOBJECT && description) {
        if (const LRESULT answer =
                answerGetObject(hwnd, wp, lp, description->name, description->role))
            return answer;
    } else if (msg == WM_NCDESTROY) {
        delete description;
        hook.data = nullptr;
    }
    return callNextHook(hwnd, msg, wp, lp, hook);
}

} // namespace

void describeForAccessibility(HWND control, std::u16string_view name, LONG role) {
    addWindowHook(control, describedProc, new Description{std::u16string(name), role});
}

LRESULT answerGetObject(HWND window, WPARAM wp, LPARAM lp, std::u16string_view name, LONG role) {
    // The object id is a DWORD, whatever the width of LPARAM.
    if (static_cast<LONG>(static_cast<DWORD>(lp)) != OBJID_CLIENT)
        return 0;
    const Oleacc& functions = oleacc();
    if (!functions.createStandard || !functions.lresultFromObject)
        return 0;
    try {
        ComPtr<IAccessible> standard;
        if (FAILED(functions.createStandard(window, OBJID_CLIENT, __uuidof(IAccessible),
                                            reinterpret_cast<void**>(standard.put()))) ||
            !standard)
            return 0;
        auto* described = new DescribedAccessible(window, std::move(standard), toWide(name), role);
        // LresultFromObject takes its own reference for the asker.
        const LRESULT answer = functions.lresultFromObject(__uuidof(IAccessible), wp,
                                                           static_cast<IAccessible*>(described));
        described->Release();
        return answer > 0 ? answer : 0;
    } catch (...) {
        return 0; // out of memory: the system's own object answers
    }
}

} // namespace morvane
