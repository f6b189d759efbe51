#pragma once
// What the command-line tools' entry points share: their arguments as UTF-16
// (wmain's on Windows, so non-ASCII paths survive; UTF-8 elsewhere) and their
// texts written out whole, to a Windows console as its own characters.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "text/utf.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>

#include "platform/win32/win32_text.h"
#endif

namespace morvane {

inline void writeBytes(std::FILE* stream, std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

#ifdef _WIN32
inline std::vector<std::u16string> toolArguments(int argc, wchar_t** argv) {
    // Lines end in LF as on every platform; no CR LF translation.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i) {
        const std::wstring_view arg(argv[i]);
        args.emplace_back(arg.begin(), arg.end());
    }
    return args;
}

// To a console in pieces: older consoles fail a single call of much over
// 64 KB, and a long folder's findings or a big file's rows come near that.
// A piece never ends between the two halves of a surrogate pair.
inline void writeConsole(HANDLE console, std::wstring_view text) {
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

// stdout or stderr. A console gets the text as UTF-16 through the console
// API, so Japanese shows whatever the console's code page (932 by default
// in Japan, where UTF-8 bytes would show as garbage); a redirected stream
// gets UTF-8.
inline void writeText(std::FILE* stream, std::u16string_view text) {
    const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        writeConsole(handle, toWide(text));
        return;
    }
    writeBytes(stream, utf16ToUtf8(text));
}
#else
inline std::vector<std::u16string> toolArguments(int argc, char** argv) {
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(utf8ToUtf16(argv[i]));
    return args;
}

inline void writeText(std::FILE* stream, std::u16string_view text) {
    writeBytes(stream, utf16ToUtf8(text));
}
#endif

} // namespace morvane
