// Entry point of morvanex-index: arguments in, rows and messages out.
#include <string>
#include <vector>

#include "index_tool.h"
#include "services/services.h"
#include "text/utf.h"
#include "tools/tool_main.h"

namespace {

int run(const std::vector<std::u16string>& args) {
    std::string out, err;
    const int code = morvane::runIndexTool(args, morvane::platformServices(), out, err);
    // The tool's UTF-8 goes back to UTF-16 without loss, for a console.
    morvane::writeText(stdout, morvane::utf8ToUtf16(out));
    morvane::writeText(stderr, morvane::utf8ToUtf16(err));
    return code;
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return run(morvane::toolArguments(argc, argv));
}
#else
int main(int argc, char** argv) {
    return run(morvane::toolArguments(argc, argv));
}
#endif
