#include "cad_system_win32.h"

#include <windows.h>

#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"

namespace morvane {
namespace {

UniqueRegistryKey openKey(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return UniqueRegistryKey();
    return UniqueRegistryKey(key);
}

// A text COM allocated for the caller, or empty for none.
std::u16string takeCoTaskText(LPOLESTR text) {
    const UniqueCoTaskText owner(text);
    return text ? fromWide(text) : std::u16string();
}

// The default value of root\path, a string; nullopt when the key is missing.
std::optional<std::u16string> defaultValue(HKEY root, const std::wstring& path) {
    const UniqueRegistryKey key = openKey(root, path);
    if (!key)
        return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::u16string();
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), nullptr, nullptr, nullptr,
                         reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS)
        return std::u16string();
    value.resize(wcsnlen(value.c_str(), value.size()));
    return fromWide(value);
}

std::vector<std::wstring> subkeyNames(HKEY key) {
    std::vector<std::wstring> names;
    // Key names are at most 255 characters.
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = 256;
        const LONG result =
            RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_SUCCESS)
            names.emplace_back(name, length);
    }
    return names;
}

bool hasMember(IDispatch& object, const wchar_t* name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    return SUCCEEDED(object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
}

// The object's ActiveDocument, or null when it gives none.
ComPtr<IDispatch> activeDocument(IDispatch& application) {
    ComPtr<IDispatch> document;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"ActiveDocument")};
    if (FAILED(application.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        return document;
    DISPPARAMS none{};
    UniqueVariant value;
    ExcepInfo exception;
    if (FAILED(application.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                  value.get(), exception.get(), nullptr)))
        return document;
    if (value.get()->vt == VT_DISPATCH && value.get()->pdispVal) {
        value.get()->pdispVal->AddRef();
        document = ComPtr<IDispatch>::attach(value.get()->pdispVal);
    }
    return document;
}

std::u16string typeName(ITypeInfo& info, MEMBERID id) {
    UniqueBstr name;
    if (FAILED(info.GetDocumentation(id, name.put(), nullptr, nullptr, nullptr)) || !name.get())
        return {};
    return fromWide(name.get());
}

// The interface a type points to (IAcadDocument*, IAcadDocument**), if it
// is one the library describes.
std::u16string interfaceOf(ITypeInfo& info, const TYPEDESC& type) {
    const TYPEDESC* described = &type;
    while (described->vt == VT_PTR && described->lptdesc)
        described = described->lptdesc;
    if (described->vt != VT_USERDEFINED)
        return {};
    ComPtr<ITypeInfo> referenced;
    if (FAILED(info.GetRefTypeInfo(described->hreftype, referenced.put())))
        return {};
    return typeName(*referenced.get(), MEMBERID_NIL);
}

// A function's result: its [out, retval] parameter where it returns an
// HRESULT (an interface's view), else its own type (a dispinterface's view).
std::u16string resultInterface(ITypeInfo& info, const FUNCDESC& function) {
    if (function.elemdescFunc.tdesc.vt == VT_HRESULT) {
        for (SHORT i = 0; i < function.cParams; ++i) {
            const ELEMDESC& parameter = function.lprgelemdescParam[i];
            if (parameter.paramdesc.wParamFlags & PARAMFLAG_FRETVAL)
                return interfaceOf(info, parameter.tdesc);
        }
        return {};
    }
    return interfaceOf(info, function.elemdescFunc.tdesc);
}

DescribedInterface describe(ITypeInfo& info, const TYPEATTR& attributes) {
    DescribedInterface described{typeName(info, MEMBERID_NIL), {}};
    for (UINT i = 0; i < attributes.cFuncs; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(info.GetFuncDesc(i, &function)))
            continue;
        described.members.push_back(
            {typeName(info, function->memid), resultInterface(info, *function)});
        info.ReleaseFuncDesc(function);
    }
    // A dispinterface's properties.
    for (UINT i = 0; i < attributes.cVars; ++i) {
        VARDESC* variable = nullptr;
        if (FAILED(info.GetVarDesc(i, &variable)))
            continue;
        described.members.push_back(
            {typeName(info, variable->memid), interfaceOf(info, variable->elemdescVar.tdesc)});
        info.ReleaseVarDesc(variable);
    }
    return described;
}

std::vector<DescribedInterface> describe(ITypeLib& library) {
    std::vector<DescribedInterface> interfaces;
    for (UINT i = 0, count = library.GetTypeInfoCount(); i < count; ++i) {
        TYPEKIND kind{};
        if (FAILED(library.GetTypeInfoType(i, &kind)) ||
            (kind != TKIND_DISPATCH && kind != TKIND_INTERFACE))
            continue;
        ComPtr<ITypeInfo> info;
        if (FAILED(library.GetTypeInfo(i, info.put())))
            continue;
        TYPEATTR* attributes = nullptr;
        if (FAILED(info->GetTypeAttr(&attributes)))
            continue;
        interfaces.push_back(describe(*info.get(), *attributes));
        info->ReleaseTypeAttr(attributes);
    }
    return interfaces;
}

// "major.minor" in hexadecimal, as TypeLib\{...} names its versions.
std::optional<std::pair<WORD, WORD>> parseVersion(const std::wstring& text) {
    const size_t dot = text.find(L'.');
    if (dot == std::wstring::npos || dot == 0 || dot + 1 == text.size())
        return std::nullopt;
    wchar_t* end = nullptr;
    const unsigned long major = wcstoul(text.c_str(), &end, 16);
    if (end != text.c_str() + dot)
        return std::nullopt;
    const unsigned long minor = wcstoul(text.c_str() + dot + 1, &end, 16);
    if (*end != L'\0' || major > 0xFFFF || minor > 0xFFFF)
        return std::nullopt;
    return std::pair{static_cast<WORD>(major), static_cast<WORD>(minor)};
}

// The class's type library (CLSID\{...}\TypeLib) in its highest registered
// version: "{LIBID}" and the version, or nullopt.
std::optional<std::pair<GUID, std::pair<WORD, WORD>>>
typeLibraryVersion(std::u16string_view classId) {
    const auto libraryId =
        defaultValue(HKEY_CLASSES_ROOT, L"CLSID\\" + toWide(classId) + L"\\TypeLib");
    GUID library{};
    if (!libraryId || FAILED(CLSIDFromString(toWide(*libraryId).c_str(), &library)))
        return std::nullopt;
    const UniqueRegistryKey versions =
        openKey(HKEY_CLASSES_ROOT, L"TypeLib\\" + toWide(*libraryId));
    if (!versions)
        return std::nullopt;
    std::optional<std::pair<WORD, WORD>> highest;
    for (const auto& name : subkeyNames(versions.get())) {
        const auto version = parseVersion(name);
        if (version && (!highest || *version > *highest))
            highest = version;
    }
    if (!highest)
        return std::nullopt;
    return std::pair{library, *highest};
}

} // namespace

bool Win32CadSystem::isRegistered(std::u16string_view progId) {
    CLSID clsid;
    return SUCCEEDED(CLSIDFromProgID(toWide(progId).c_str(), &clsid));
}

bool Win32CadSystem::isElevated() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    const UniqueHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    return GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

bool Win32CadSystem::isWindow(uint64_t window) {
    return window != 0 && IsWindow(reinterpret_cast<HWND>(static_cast<uintptr_t>(window)));
}

std::vector<std::u16string> Win32CadSystem::runningObjects() {
    std::vector<std::u16string> names;
    ComPtr<IRunningObjectTable> table;
    ComPtr<IEnumMoniker> monikers;
    ComPtr<IBindCtx> context;
    if (FAILED(GetRunningObjectTable(0, table.put())) ||
        FAILED(table->EnumRunning(monikers.put())) || !monikers ||
        FAILED(CreateBindCtx(0, context.put())))
        return names;
    for (;;) {
        ComPtr<IMoniker> moniker;
        if (monikers->Next(1, moniker.put(), nullptr) != S_OK)
            break;
        LPOLESTR name = nullptr;
        const HRESULT named = moniker->GetDisplayName(context.get(), nullptr, &name);
        const std::u16string text = takeCoTaskText(name);
        if (SUCCEEDED(named))
            names.push_back(text);
    }
    return names;
}

LiveMembers Win32CadSystem::askRunning(std::u16string_view classId) {
    LiveMembers live;
    CLSID clsid{};
    ComPtr<IUnknown> running;
    ComPtr<IDispatch> application;
    if (FAILED(CLSIDFromString(toWide(classId).c_str(), &clsid)) ||
        FAILED(GetActiveObject(clsid, nullptr, running.put())) ||
        FAILED(running.queryInterface(IID_IDispatch, application)))
        return live;
    live.reached = true;
    live.hwnd = hasMember(*application.get(), L"HWND");
    live.activeDocument = hasMember(*application.get(), L"ActiveDocument");
    if (!live.hwnd || !live.activeDocument)
        return live;
    if (const ComPtr<IDispatch> document = activeDocument(*application.get()))
        live.sendCommand = hasMember(*document.get(), L"SendCommand");
    return live;
}

std::vector<RegisteredProgId> Win32CadSystem::registeredProgIds() {
    std::vector<RegisteredProgId> found;
    const UniqueRegistryKey root = openKey(HKEY_CLASSES_ROOT, L"");
    if (!root)
        return found;
    for (const auto& name : subkeyNames(root.get())) {
        // File name extensions, and the keys that hold all classes.
        if (name.empty() || name[0] == L'.' || name == L"CLSID")
            continue;
        const auto classId = defaultValue(HKEY_CLASSES_ROOT, name + L"\\CLSID");
        if (!classId || classId->empty())
            continue;
        found.push_back({fromWide(name), *classId,
                         defaultValue(HKEY_CLASSES_ROOT, name + L"\\CurVer").value_or(u""),
                         defaultValue(HKEY_CLASSES_ROOT, name).value_or(u"")});
    }
    return found;
}

std::optional<ClassRegistration> Win32CadSystem::classRegistration(std::u16string_view classId) {
    const std::wstring classKey = L"CLSID\\" + toWide(classId);
    CLSID clsid{};
    if (!openKey(HKEY_CLASSES_ROOT, classKey) ||
        FAILED(CLSIDFromString(toWide(classId).c_str(), &clsid)))
        return std::nullopt;
    ClassRegistration registration;
    LPOLESTR progId = nullptr;
    const HRESULT named = ProgIDFromCLSID(clsid, &progId);
    const std::u16string text = takeCoTaskText(progId);
    if (SUCCEEDED(named))
        registration.progId = text;
    registration.versionIndependentProgId =
        defaultValue(HKEY_CLASSES_ROOT, classKey + L"\\VersionIndependentProgID").value_or(u"");
    registration.localServer =
        static_cast<bool>(openKey(HKEY_CLASSES_ROOT, classKey + L"\\LocalServer32"));
    return registration;
}

// Loaded from where the registry says (LoadRegTypeLib); the class itself is
// never created.
std::optional<std::vector<DescribedInterface>>
Win32CadSystem::typeLibrary(std::u16string_view classId) {
    const auto version = typeLibraryVersion(classId);
    if (!version)
        return std::nullopt;
    wchar_t libraryText[40] = {};
    StringFromGUID2(version->first, libraryText, 40);
    const std::wstring key = std::wstring(libraryText) + L" " +
                             std::to_wstring(version->second.first) + L"." +
                             std::to_wstring(version->second.second);
    if (const auto known = libraries_.find(key); known != libraries_.end())
        return known->second;
    std::optional<std::vector<DescribedInterface>> described;
    ComPtr<ITypeLib> loaded;
    if (SUCCEEDED(LoadRegTypeLib(version->first, version->second.first, version->second.second,
                                 LOCALE_NEUTRAL, loaded.put())))
        described = describe(*loaded.get());
    libraries_.emplace(key, described);
    return described;
}

} // namespace morvane
