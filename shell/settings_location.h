#pragma once
// Which settings files a launcher reads and writes. The file beside the exe,
// as always, unless this user cannot write it (the folder or the file) or it
// says "[Settings] Location=PerUser": then each operator has a file of their
// own, %LOCALAPPDATA%\MorvaneX\<exe name>.ini, read first and the only one
// written; the file beside the exe still gives the values the operator's
// file lacks (an administrator's defaults), and is never touched.
#include <memory>
#include <string>
#include <string_view>

#include "shell/launcher_settings.h"

namespace morvane {

// What the settings files need of the system: the profile functions in the
// launcher, the file services in the folder check, a fake in the tests.
class SettingsStorage {
  public:
    virtual ~SettingsStorage() = default;
    // Whether this user can replace the file at path: its folder takes a new
    // file and an existing file opens for writing. Finds out without
    // leaving anything behind or changing the file.
    virtual bool canReplace(std::u16string_view path) = 0;
    // The file's keys; a missing or unreadable file has none.
    virtual std::unique_ptr<SettingsSource> read(std::u16string_view path) = 0;
    // A writer that replaces the file whole at its commit; the file's folder
    // is made when it is missing.
    virtual std::unique_ptr<SettingsSink> write(std::u16string_view path) = 0;
};

// Where this user's settings are, and why.
enum class SettingsPlace {
    BesideExe,            // the folder and the file beside the exe can be written
    PerUserAsked,         // the file beside the exe says Location=PerUser
    PerUserExeUnwritable, // this user cannot write the file beside the exe
};

struct SettingsFiles {
    SettingsPlace place = SettingsPlace::BesideExe;
    std::u16string besideExe;
    // The operator's own file: read first and written unless the place is
    // BesideExe.
    std::u16string perUser;

    // The file close and log-off write.
    const std::u16string& written() const {
        return place == SettingsPlace::BesideExe ? besideExe : perUser;
    }
};

// The operator's own settings file: in localAppData's folder "MorvaneX",
// under the name of the file beside the exe. Empty when localAppData is.
std::u16string perUserSettingsPath(std::u16string_view localAppData, std::u16string_view besideExe);

// Decides at start. Location=PerUser is honoured without a probe; else the
// file beside the exe is probed. Without a per-user path (no local
// application data folder) the file beside the exe is used whatever holds.
SettingsFiles chooseSettingsFiles(std::u16string besideExe, std::u16string perUser,
                                  SettingsStorage& storage);

// Each value from the operator's file, else from the file beside the exe,
// else its default. The pinned rows, a list, come from the operator's file
// alone.
LauncherSettings readSettings(const SettingsFiles& files, SettingsStorage& storage);

// Writes the written() file only; a failure throws UserError
// "%s に書き込めません" naming it.
void writeSettings(const SettingsFiles& files, const LauncherSettings& settings,
                   SettingsStorage& storage);
// The pinned section alone into the written() file, as writeSettings writes.
void writePinnedSettings(const SettingsFiles& files, const LauncherSettings& settings,
                         SettingsStorage& storage);

} // namespace morvane
