#include "app/launcher_environment.h"

#include "platform/win32/program_path.h"
#include "platform/win32/win32_text.h"
#include "shell/settings_location.h"
#include "text/path_name.h"

namespace morvane {

LauncherEnvironment environmentOfProgram(std::u16string_view programPath,
                                         std::u16string_view localAppData) {
    LauncherEnvironment environment;
    const size_t nameStart = fileNameStart(programPath);
    environment.exeFolder = std::u16string(programPath.substr(0, nameStart));
    // A dot in the folder's name or at the start of the file name starts no
    // extension.
    const size_t dot = programPath.find_last_of(u'.');
    const bool hasExtension = dot != std::u16string_view::npos && dot > nameStart;
    environment.settingsPath =
        std::u16string(hasExtension ? programPath.substr(0, dot) : programPath) + u".ini";
    environment.userSettingsPath = perUserSettingsPath(localAppData, environment.settingsPath);
    return environment;
}

LauncherEnvironment environmentOfThisProgram() {
    return environmentOfProgram(fromWide(thisProgramPath()), fromWide(localAppDataFolder()));
}

} // namespace morvane
