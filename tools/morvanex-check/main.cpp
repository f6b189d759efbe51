// Entry point of morvanex-check: arguments in, findings out.
#include <string>
#include <vector>

#include "check_tool.h"
#include "platform/services.h"
#include "text/utf.h"
#include "tools/tool_main.h"

#ifdef _WIN32
#include <windows.h>

#include "cad_system_win32.h"
#include "platform/win32/program_path.h"
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
    morvane::writeBytes(stream, morvane::utf16ToUtf8(text));
}
#endif

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    const auto args = morvane::toolArguments(argc, argv);
    const std::wstring exe = morvane::thisProgramPath();
    const std::u16string exeFolder = morvane::fromWide(exe.substr(0, exe.find_last_of(L"\\/") + 1));
    const morvane::OleScope ole;
    morvane::Win32CadSystem cad;
    const morvane::CheckEnvironment environment{exeFolder, u'\\', true, &cad};
    std::u16string out, err;
    const int code =
        morvane::runCheckTool(args, environment, morvane::platformServices(), out, err);
    write(stdout, STD_OUTPUT_HANDLE, out);
    write(stderr, STD_ERROR_HANDLE, err);
    return code;
}
#else
int main(int argc, char** argv) {
    const auto args = morvane::toolArguments(argc, argv);
    std::error_code error;
    const auto current = std::filesystem::current_path(error);
    const morvane::CheckEnvironment environment{error ? u"." : current.u16string(), u'/', false,
                                                nullptr};
    std::u16string out, err;
    const int code =
        morvane::runCheckTool(args, environment, morvane::platformServices(), out, err);
    morvane::writeBytes(stdout, morvane::utf16ToUtf8(out));
    morvane::writeBytes(stderr, morvane::utf16ToUtf8(err));
    return code;
}
#endif
