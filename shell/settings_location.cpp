#include "shell/settings_location.h"

#include "text/letters.h"
#include "text/path_name.h"
#include "text/user_error.h"

namespace morvane {
namespace {

// The folder under %LOCALAPPDATA% that holds the operators' files.
constexpr std::u16string_view kPerUserFolder = u"MorvaneX";

// The operator's values first, the file beside the exe's for the rest.
class LayeredSource final : public SettingsSource {
  public:
    LayeredSource(const SettingsSource& first, const SettingsSource& second)
        : first_(first), second_(second) {}
    std::optional<std::u16string> readText(SettingsKey key) const override {
        if (auto value = first_.readText(key))
            return value;
        return second_.readText(key);
    }
    // A list (the pinned rows) is the operator's own: never the
    // administrator's in its place, so that pins the operator took away do
    // not come back from the file beside the exe.
    SettingsPairs readSection(std::u16string_view section) const override {
        return first_.readSection(section);
    }

  private:
    const SettingsSource& first_;
    const SettingsSource& second_;
};

} // namespace

std::u16string perUserSettingsPath(std::u16string_view localAppData,
                                   std::u16string_view besideExe) {
    if (localAppData.empty())
        return {};
    std::u16string path(localAppData);
    if (path.back() != u'\\' && path.back() != u'/')
        path += u'\\';
    path += kPerUserFolder;
    path += u'\\';
    path += besideExe.substr(fileNameStart(besideExe));
    return path;
}

SettingsFiles chooseSettingsFiles(std::u16string besideExe, std::u16string perUser,
                                  SettingsStorage& storage) {
    SettingsFiles files{SettingsPlace::BesideExe, std::move(besideExe), std::move(perUser)};
    if (files.perUser.empty())
        return files;
    const auto location = storage.read(files.besideExe)->readText(kLocationKey);
    if (location && equalIgnoringAsciiCase(*location, kPerUserLocation))
        files.place = SettingsPlace::PerUserAsked;
    else if (!storage.canReplace(files.besideExe))
        files.place = SettingsPlace::PerUserExeUnwritable;
    return files;
}

LauncherSettings readSettings(const SettingsFiles& files, SettingsStorage& storage) {
    const auto besideExe = storage.read(files.besideExe);
    if (files.place == SettingsPlace::BesideExe)
        return LauncherSettings::read(*besideExe);
    const auto perUser = storage.read(files.perUser);
    return LauncherSettings::read(LayeredSource(*perUser, *besideExe));
}

void writeSettings(const SettingsFiles& files, const LauncherSettings& settings,
                   SettingsStorage& storage) {
    const auto sink = storage.write(files.written());
    if (!settings.write(*sink) || !sink->commit())
        throw UserError(cannotWriteSettingsMessage(files.written()));
}

void writePinnedSettings(const SettingsFiles& files, const LauncherSettings& settings,
                         SettingsStorage& storage) {
    const auto sink = storage.write(files.written());
    if (!settings.writePinned(*sink) || !sink->commit())
        throw UserError(cannotWriteSettingsMessage(files.written()));
}

} // namespace morvane
