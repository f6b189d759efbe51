#include "standin_registry.h"

#include <objbase.h>

#include <cstring>

#include "platform/win32/program_path.h"
#include "platform/win32/scoped.h"
#include "standin_type_library.h"

namespace standin {
namespace {

std::wstring guidText(const CLSID& clsid) {
    wchar_t text[64];
    StringFromGUID2(clsid, text, 64);
    return text;
}

bool setDefaultValue(HKEY root, const std::wstring& path, const std::wstring& value) {
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const morvane::UniqueRegistryKey key(opened);
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), nullptr, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
}

// The program that serves the class and its type library, as a CAD's
// installer registers them. Nothing creates an instance from them: the
// launcher and the checker only ever attach to a running one.
bool registerServer(HKEY root, const std::wstring& prefix, const std::wstring& id) {
    const std::wstring exe = morvane::thisProgramPath();
    const std::wstring library = exe.substr(0, exe.find_last_of(L'.')) + L".tlb";
    const std::wstring libraryKey = prefix + L"TypeLib\\" + guidText(kTypeLibraryId) + L"\\1.0";
    return writeTypeLibrary(library) &&
           setDefaultValue(root, prefix + L"CLSID\\" + id + L"\\LocalServer32",
                           L"\"" + exe + L"\"") &&
           setDefaultValue(root, prefix + L"CLSID\\" + id + L"\\TypeLib",
                           guidText(kTypeLibraryId)) &&
           setDefaultValue(root, libraryKey, L"MorvaneX stand-in CAD") &&
           setDefaultValue(root, libraryKey + L"\\0\\win64", library) &&
           setDefaultValue(root, libraryKey + L"\\FLAGS", L"0") &&
           setDefaultValue(root, libraryKey + L"\\HELPDIR",
                           exe.substr(0, exe.find_last_of(L"\\/")));
}

bool registerUnder(HKEY root, const std::wstring& prefix, const std::wstring& progId,
                   const CLSID& clsid, bool withServer) {
    const std::wstring id = guidText(clsid);
    return setDefaultValue(root, prefix + progId, L"MorvaneX stand-in CAD") &&
           setDefaultValue(root, prefix + progId + L"\\CLSID", id) &&
           setDefaultValue(root, prefix + L"CLSID\\" + id + L"\\ProgID", progId) &&
           (!withServer || registerServer(root, prefix, id));
}

} // namespace

CLSID classIdFor(const std::wstring& progId) {
    // Two FNV-1a hashes with different seeds fill the 16 bytes.
    unsigned long long hashes[2] = {14695981039346656037ull, 1099511628211ull * 7};
    for (auto& hash : hashes) {
        for (const wchar_t c : progId) {
            hash ^= static_cast<unsigned long long>(c);
            hash *= 1099511628211ull;
        }
    }
    CLSID clsid;
    std::memcpy(&clsid, hashes, sizeof clsid);
    clsid.Data3 = static_cast<unsigned short>((clsid.Data3 & 0x0fff) | 0x4000);
    clsid.Data4[0] = static_cast<unsigned char>((clsid.Data4[0] & 0x3f) | 0x80);
    return clsid;
}

bool registerProgId(const std::wstring& progId, const CLSID& clsid, bool withServer) {
    // Windows refuses new HKCR keys to ordinary users; the per-user classes
    // serve the same purpose there.
    return registerUnder(HKEY_CLASSES_ROOT, L"", progId, clsid, withServer) ||
           registerUnder(HKEY_CURRENT_USER, L"Software\\Classes\\", progId, clsid, withServer);
}

void unregisterProgId(const std::wstring& progId, const CLSID& clsid) {
    const std::wstring id = guidText(clsid);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, progId.c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + id).c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + progId).c_str());
    RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Classes\\CLSID\\" + id).c_str());
}

} // namespace standin
