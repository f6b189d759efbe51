#include "platform/win32/program_path.h"

#include <windows.h>

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

} // namespace morvane
