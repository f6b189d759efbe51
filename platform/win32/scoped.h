#pragma once
// Move-only owners for Win32 and COM resources. Copying is deleted: every
// handle, COM pointer, BSTR and VARIANT has exactly one owner on every path.
#include <ole2.h>
#include <oleauto.h>
#include <windows.h>

#include <string_view>
#include <utility>

namespace morvane {

// A handle with a closing function and an invalid value.
template <class T, class Traits> class UniqueResource {
  public:
    UniqueResource() = default;
    explicit UniqueResource(T value) : value_(value) {}
    ~UniqueResource() { reset(); }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::invalid(); }
    T release() { return std::exchange(value_, Traits::invalid()); }
    void reset(T value = Traits::invalid()) {
        if (value_ != Traits::invalid())
            Traits::close(value_);
        value_ = value;
    }

  private:
    T value_ = Traits::invalid();
};

struct KernelHandleTraits {
    static HANDLE invalid() { return nullptr; }
    static void close(HANDLE h) { CloseHandle(h); }
};
struct FileHandleTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { CloseHandle(h); }
};
template <class G> struct GdiObjectTraits {
    static G invalid() { return nullptr; }
    static void close(G g) { DeleteObject(g); }
};
struct IconTraits {
    static HICON invalid() { return nullptr; }
    static void close(HICON h) { DestroyIcon(h); }
};
struct MenuTraits {
    static HMENU invalid() { return nullptr; }
    static void close(HMENU h) { DestroyMenu(h); }
};
struct MemoryDCTraits {
    static HDC invalid() { return nullptr; }
    static void close(HDC h) { DeleteDC(h); }
};
struct CoTaskMemoryTraits {
    static PWSTR invalid() { return nullptr; }
    static void close(PWSTR p) { CoTaskMemFree(p); }
};
struct RegistryKeyTraits {
    static HKEY invalid() { return nullptr; }
    static void close(HKEY key) { RegCloseKey(key); }
};

using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;
using UniqueFile = UniqueResource<HANDLE, FileHandleTraits>;
using UniqueFont = UniqueResource<HFONT, GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueResource<HBRUSH, GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueResource<HPEN, GdiObjectTraits<HPEN>>;
using UniqueBitmap = UniqueResource<HBITMAP, GdiObjectTraits<HBITMAP>>;
using UniqueIcon = UniqueResource<HICON, IconTraits>;
using UniqueMenu = UniqueResource<HMENU, MenuTraits>;
using UniqueMemoryDC = UniqueResource<HDC, MemoryDCTraits>; // from CreateCompatibleDC
// A text the system allocated with CoTaskMemAlloc for the caller.
using UniqueCoTaskText = UniqueResource<PWSTR, CoTaskMemoryTraits>;
// A key from RegOpenKeyExW or RegCreateKeyExW (advapi32).
using UniqueRegistryKey = UniqueResource<HKEY, RegistryKeyTraits>;

// A DC from GetDC, released to its window.
class WindowDC {
  public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectObjectScope {
  public:
    SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectObjectScope() { SelectObject(dc_, previous_); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A counted COM reference.
template <class T> class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }

    // Takes over a reference the caller already owns.
    static ComPtr attach(T* ptr) {
        ComPtr result;
        result.ptr_ = ptr;
        return result;
    }

    T* get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    // For out-parameters: releases what is held and hands out the slot.
    T** put() {
        reset();
        return &ptr_;
    }
    void reset() {
        if (ptr_)
            std::exchange(ptr_, nullptr)->Release();
    }
    T* detach() { return std::exchange(ptr_, nullptr); }

    template <class U> HRESULT queryInterface(REFIID iid, ComPtr<U>& out) const {
        return ptr_->QueryInterface(iid, reinterpret_cast<void**>(out.put()));
    }

  private:
    T* ptr_ = nullptr;
};

class UniqueBstr {
  public:
    UniqueBstr() = default;
    explicit UniqueBstr(std::wstring_view text)
        : bstr_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~UniqueBstr() { SysFreeString(bstr_); }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    UniqueBstr(UniqueBstr&& other) noexcept : bstr_(std::exchange(other.bstr_, nullptr)) {}
    BSTR get() const { return bstr_; }
    BSTR* put() {
        SysFreeString(std::exchange(bstr_, nullptr));
        return &bstr_;
    }

  private:
    BSTR bstr_ = nullptr;
};

class UniqueVariant {
  public:
    UniqueVariant() { VariantInit(&value_); }
    ~UniqueVariant() { VariantClear(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    VARIANT* get() { return &value_; }
    const VARIANT* get() const { return &value_; }

  private:
    VARIANT value_;
};

// Frees the strings a failed IDispatch::Invoke leaves in an EXCEPINFO.
class ExcepInfo {
  public:
    ExcepInfo() { ZeroMemory(&info_, sizeof info_); }
    ~ExcepInfo() {
        SysFreeString(info_.bstrSource);
        SysFreeString(info_.bstrDescription);
        SysFreeString(info_.bstrHelpFile);
    }
    ExcepInfo(const ExcepInfo&) = delete;
    ExcepInfo& operator=(const ExcepInfo&) = delete;
    EXCEPINFO* get() { return &info_; }

  private:
    EXCEPINFO info_;
};

// OleInitialize for the life of the scope (makes the thread an STA).
class OleScope {
  public:
    OleScope() : hr_(OleInitialize(nullptr)) {}
    ~OleScope() {
        if (SUCCEEDED(hr_))
            OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
    HRESULT result() const { return hr_; }

  private:
    HRESULT hr_;
};

} // namespace morvane
