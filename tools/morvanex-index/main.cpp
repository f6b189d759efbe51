// Entry point of morvanex-index: arguments in, rows and messages out.
#include <cstdio>
#include <string>
#include <vector>

#include "index_tool.h"
#include "platform/services.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include "text/utf.h"
#endif

namespace {

int run(std::vector<std::u16string> args) {
    std::string out, err;
    const int code = morvane::runIndexTool(args, morvane::platformServices(), out, err);
    std::fwrite(out.data(), 1, out.size(), stdout);
    std::fwrite(err.data(), 1, err.size(), stderr);
    std::fflush(stdout);
    return code;
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    // Rows end in LF as on every platform; no CR LF translation.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg(argv[i]);
        args.emplace_back(arg.begin(), arg.end());
    }
    return run(std::move(args));
}
#else
int main(int argc, char** argv) {
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(morvane::utf8ToUtf16(argv[i]));
    return run(std::move(args));
}
#endif
