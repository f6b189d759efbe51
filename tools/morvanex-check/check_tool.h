#pragma once
// morvanex-check [FOLDER] [--cad [--progid PROGID]] [--lang ja|en]: what is
// wrong with a MorvaneX folder, one finding a line, whether its CAD can be
// reached and, without --progid, which CADs this PC has.
// morvanex-check --list-cads [--lang ja|en]: only the CADs this PC has.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "messages.h"
#include "shell/hotkey.h"

namespace morvane {

struct PlatformServices;
class CadSystem;
class CadCatalog;

enum CheckToolExit { kNoError = 0, kErrorsFound = 1, kCheckUsageError = 2, kUnreadable = 3 };

struct CheckEnvironment {
    // Checked when no FOLDER is given.
    std::u16string defaultFolder;
    char16_t separator = u'/';
    // Windows paths: drive letters and UNC names can be checked.
    bool windowsPaths = false;
    // Null where --cad cannot run.
    CadSystem* cad = nullptr;
    // Null where --list-cads cannot run.
    CadCatalog* catalog = nullptr;
    // The user's language, unless --lang says otherwise.
    MessageLanguage language = MessageLanguage::kEnglish;
    // Whether FOLDER is a folder; std::filesystem's answer where none is given.
    std::function<bool(std::u16string_view)> isFolder;
    // Whether another program holds this hotkey; null where that cannot be
    // known.
    std::function<bool(const Hotkey&)> hotkeyTaken;
    // This user's %LOCALAPPDATA%, or that name where the system has none.
    std::u16string localAppData = u"%LOCALAPPDATA%";
};

// args exclude the program name. Findings and the summary go to out, usage
// errors to err.
int runCheckTool(const std::vector<std::u16string>& args, const CheckEnvironment& environment,
                 PlatformServices& services, std::u16string& out, std::u16string& err);

} // namespace morvane
