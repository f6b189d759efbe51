// Started by a double-clicked ".exe" row: writes the parameters it got to
// args.txt beside itself, so a test can see what the shell passed.
#include <windows.h>

#include <string>

#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "text/utf.h"

namespace {

// The command line after the program's own (possibly quoted) name.
std::wstring parameters() {
    const wchar_t* rest = GetCommandLineW();
    const bool quoted = *rest == L'"';
    if (quoted)
        ++rest;
    while (*rest && (quoted ? *rest != L'"' : *rest != L' ' && *rest != L'\t'))
        ++rest;
    if (quoted && *rest)
        ++rest;
    while (*rest == L' ' || *rest == L'\t')
        ++rest;
    return rest;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring out(path, length);
    out = out.substr(0, out.find_last_of(L'\\') + 1) + L"args.txt";
    std::u16string reason;
    const bool written = morvane::platformServices().files.writeFileAtomic(
        morvane::fromWide(out), morvane::utf16ToUtf8(morvane::fromWide(parameters())), reason);
    return written ? 0 : 1;
}
