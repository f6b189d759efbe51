#include "cad_system_win32.h"

#include <windows.h>

#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"

namespace morvane {

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

} // namespace morvane
