#pragma once
// What the command-line tools' entry points share: their arguments as UTF-16
// (wmain's on Windows, so non-ASCII paths survive; UTF-8 elsewhere) and
// output bytes written whole.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include "text/utf.h"
#endif

namespace morvane {

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
#else
inline std::vector<std::u16string> toolArguments(int argc, char** argv) {
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(utf8ToUtf16(argv[i]));
    return args;
}
#endif

inline void writeBytes(std::FILE* stream, std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

} // namespace morvane
