#include "check_tool_win32.h"

#include <windows.h>

#include "check_tool.h"
#include "platform/win32/file_writing.h"
#include "platform/win32/program_path.h"
#include "platform/win32/win32_text.h"

namespace morvane {

std::u16string fullPath(std::u16string_view path) {
    const std::wstring given = toWide(path);
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return std::u16string(path);
        // Too small a buffer gives the size needed, the null included.
        if (length < full.size()) {
            full.resize(length);
            return fromWide(full);
        }
        full.resize(length);
    }
}

bool hotkeyHeldElsewhere(const Hotkey& hotkey) {
    // Registered for the thread and given back at once: a refusal means
    // another program (a running launcher too) holds it.
    constexpr int kProbeId = 1;
    if (!RegisterHotKey(nullptr, kProbeId, registrationModifiers(hotkey), hotkey.virtualKey))
        return true;
    UnregisterHotKey(nullptr, kProbeId);
    return false;
}

bool isFolder(std::u16string_view path) {
    const DWORD attributes = GetFileAttributesW(systemPath(fullPath(path)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int runCheckToolOnWindows(const std::vector<std::u16string>& args, PlatformServices& services,
                          CadSystem* cad, CadCatalog* catalog, MessageLanguage userLanguage,
                          std::u16string& out, std::u16string& err) {
    const std::wstring exe = thisProgramPath();
    const std::u16string exeFolder = fromWide(exe.substr(0, exe.find_last_of(L"\\/") + 1));
    const CheckEnvironment environment{exeFolder,
                                       u'\\',
                                       true,
                                       cad,
                                       catalog,
                                       userLanguage,
                                       isFolder,
                                       hotkeyHeldElsewhere,
                                       fromWide(localAppDataFolder())};
    FullPathFiles files(services.files);
    PlatformServices fullPathServices{services.ansi, services.collator, files, services.clock};
    return runCheckTool(args, environment, fullPathServices, out, err);
}

} // namespace morvane
