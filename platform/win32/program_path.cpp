#include "platform/win32/program_path.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "platform/win32/scoped.h"

namespace morvane {

std::wstring thisProgramPath() {
    // GetModuleFileNameW cuts a path that does not fit; the buffer grows
    // until it does.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring localAppDataFolder() {
    PWSTR path = nullptr;
    // The folder is there for every profile; it is not made here.
    const HRESULT result =
        SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_DONT_VERIFY, nullptr, &path);
    const UniqueCoTaskText owner(path); // the caller frees it, success or not
    return SUCCEEDED(result) && path ? std::wstring(path) : std::wstring();
}

} // namespace morvane
