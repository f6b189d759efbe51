// Entry point of morvanex-check: arguments in, findings out.
#include <cstdio>
#include <string>
#include <vector>

#include "check_tool.h"
#include "platform/services.h"
#include "text/utf.h"

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include "cad_system_win32.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#else
#include <filesystem>
#endif

namespace {

#ifdef _WIN32
// A console gets the text as UTF-16 through the console API, so Japanese
// shows whatever the console's code page; a redirected stream gets UTF-8.
void write(FILE* stream, DWORD handleId, const std::u16string& text) {
    const HANDLE handle = GetStdHandle(handleId);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        const std::wstring wide = morvane::toWide(text);
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    const std::string bytes = morvane::utf16ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

std::u16string exeFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return morvane::fromWide(path.substr(0, path.find_last_of(L"\\/") + 1));
}
#else
void write(FILE* stream, const std::u16string& text) {
    const std::string bytes = morvane::utf16ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}
#endif

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(morvane::fromWide(argv[i]));
    const morvane::OleScope ole;
    morvane::Win32CadSystem cad;
    const morvane::CheckEnvironment environment{exeFolder(), u'\\', true, &cad};
    std::u16string out, err;
    const int code =
        morvane::runCheckTool(args, environment, morvane::platformServices(), out, err);
    write(stdout, STD_OUTPUT_HANDLE, out);
    write(stderr, STD_ERROR_HANDLE, err);
    return code;
}
#else
int main(int argc, char** argv) {
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(morvane::utf8ToUtf16(argv[i]));
    std::error_code error;
    const auto current = std::filesystem::current_path(error);
    const morvane::CheckEnvironment environment{error ? u"." : current.u16string(), u'/', false,
                                                nullptr};
    std::u16string out, err;
    const int code =
        morvane::runCheckTool(args, environment, morvane::platformServices(), out, err);
    write(stdout, out);
    write(stderr, err);
    return code;
}
#endif
