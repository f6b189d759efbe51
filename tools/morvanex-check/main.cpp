// Entry point of morvanex-check: arguments in, findings out.
#include <string>
#include <vector>

#include "check_tool.h"
#include "services/services.h"
#include "text/utf.h"
#include "tools/tool_main.h"

#ifdef _WIN32
#include <windows.h>

#include "cad_system_win32.h"
#include "check_tool_win32.h"
#include "platform/win32/scoped.h"
#else
#include <cstdlib>
#include <filesystem>
#endif

namespace {

#ifdef _WIN32
// The language of Windows' own texts for this user.
morvane::MessageLanguage userLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE
               ? morvane::MessageLanguage::kJapanese
               : morvane::MessageLanguage::kEnglish;
}
#else
// The locale of messages as POSIX picks it: LC_ALL, else LC_MESSAGES, else
// LANG, the first one set and not empty.
morvane::MessageLanguage userLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return morvane::languageOfLocale(morvane::utf8ToUtf16(value));
    }
    return morvane::MessageLanguage::kEnglish;
}
#endif

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    const auto args = morvane::toolArguments(argc, argv);
    const morvane::OleScope ole;
    morvane::Win32CadSystem cad;
    std::u16string out, err;
    const int code = morvane::runCheckToolOnWindows(args, morvane::platformServices(), &cad, &cad,
                                                    userLanguage(), out, err);
    morvane::writeText(stdout, out);
    morvane::writeText(stderr, err);
    return code;
}
#else
int main(int argc, char** argv) {
    const auto args = morvane::toolArguments(argc, argv);
    std::error_code error;
    const auto current = std::filesystem::current_path(error);
    const morvane::CheckEnvironment environment{
        error ? u"." : current.u16string(), u'/', false, nullptr, nullptr, userLanguage(), {}, {}};
    std::u16string out, err;
    const int code =
        morvane::runCheckTool(args, environment, morvane::platformServices(), out, err);
    morvane::writeText(stdout, out);
    morvane::writeText(stderr, err);
    return code;
}
#endif
