// Entry point of morvanex-check: arguments in, findings out.
#include <string>
#include <vector>

#include "check_tool.h"
#include "platform/services.h"
#include "text/utf.h"
#include "tools/tool_main.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>

#include "cad_system_win32.h"
#include "platform/win32/program_path.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#else
#include <cstdlib>
#include <filesystem>
#endif

namespace {

#ifdef _WIN32
// To a console in pieces: older consoles fail a single call of much over
// 64 KB, and a long folder's findings come near that. A piece never ends
// between the two halves of a surrogate pair.
void writeConsole(HANDLE console, const std::wstring& text) {
    constexpr size_t kPiece = 8192;
    for (size_t at = 0; at < text.size();) {
        size_t count = std::min(kPiece, text.size() - at);
        if (at + count < text.size() && IS_HIGH_SURROGATE(text[at + count - 1]))
            --count;
        DWORD written = 0;
        if (!WriteConsoleW(console, text.data() + at, static_cast<DWORD>(count), &written,
                           nullptr) ||
            written == 0)
            return;
        at += written;
    }
}

// A console gets the text as UTF-16 through the console API, so Japanese
// shows whatever the console's code page; a redirected stream gets UTF-8.
void write(FILE* stream, DWORD handleId, const std::u16string& text) {
    const HANDLE handle = GetStdHandle(handleId);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        writeConsole(handle, morvane::toWide(text));
        return;
    }
    morvane::writeBytes(stream, morvane::utf16ToUtf8(text));
}

// The language of Windows' own texts for this user.
morvane::Language userLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? morvane::Language::Japanese
                                                                      : morvane::Language::English;
}
#else
// The locale of messages as POSIX picks it: LC_ALL, else LC_MESSAGES, else
// LANG, the first one set and not empty.
morvane::Language userLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return morvane::languageOfLocale(morvane::utf8ToUtf16(value));
    }
    return morvane::Language::English;
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
    const morvane::CheckEnvironment environment{exeFolder, u'\\', true, &cad, userLanguage()};
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
                                                nullptr, userLanguage()};
    std::u16string out, err;
    const int code =
        morvane::runCheckTool(args, environment, morvane::platformServices(), out, err);
    morvane::writeBytes(stdout, morvane::utf16ToUtf8(out));
    morvane::writeBytes(stderr, morvane::utf16ToUtf8(err));
    return code;
}
#endif
