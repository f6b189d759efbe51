#pragma once
// The stand-in's automation objects, reached by late binding only: the
// application (HWND, ActiveDocument) and its document (SendCommand). And the
// message filter that plays a busy or unwilling CAD.
#include <ole2.h>
#include <windows.h>

#include <functional>

#include "standin_log.h"
#include "standin_options.h"

namespace standin {

// The members' ids, as the type library describes them too.
constexpr DISPID kHwnd = 1;
constexpr DISPID kActiveDocument = 2;
constexpr DISPID kSendCommand = 1;

// IDispatch by hand over a fixed member table. The objects live as long as
// the process, so the reference count only counts.
class DispatchBase : public IDispatch {
  public:
    struct Member {
        const wchar_t* name;
        DISPID id;
    };
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&refs_); }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                            DISPID* ids) override;
    // Runs before every Invoke: a busy stand-in finishes its work first.
    std::function<void()> beforeCall;

  protected:
    DispatchBase(const Member* members, size_t count, EventLog& log)
        : log_(log), members_(members), count_(count) {}
    virtual ~DispatchBase() = default;
    const wchar_t* memberName(DISPID id) const;
    // One line for every Invoke: member, flags, locale, argument counts.
    void logInvoke(DISPID id, WORD flags, LCID lcid, const DISPPARAMS* params);
    EventLog& log_;

  private:
    const Member* members_;
    size_t count_;
    LONG refs_ = 1;
};

class Document final : public DispatchBase {
  public:
    explicit Document(EventLog& log);
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override;
    std::function<void(std::wstring_view)> onCommand;
};

class Application final : public DispatchBase {
  public:
    Application(EventLog& log, const Options& options, Document& document);
    void setWindow(HWND window) { window_ = window; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) override;

  private:
    HRESULT readHwnd(VARIANT* result) const;
    const Options& options_;
    Document& document_;
    HWND window_ = nullptr;
};

// Answers incoming calls: all accepted, or RETRYLATER for busyMs from the
// first call, or REJECTED for every call.
class BusyFilter final : public IMessageFilter {
  public:
    BusyFilter(EventLog& log, const Options& options) : log_(log), options_(options) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override { return InterlockedDecrement(&refs_); }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD callType, HTASK caller, DWORD tickCount,
                                               LPINTERFACEINFO info) override;
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
        return static_cast<DWORD>(-1);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }
    // Milliseconds the busy time still lasts, starting it on the first call.
    DWORD busyRemaining();

  private:
    EventLog& log_;
    const Options& options_;
    DWORD busyStart_ = 0;
    bool busyStarted_ = false;
    LONG refs_ = 1;
};

} // namespace standin
