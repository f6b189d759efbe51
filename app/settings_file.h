#pragma once
// The settings file (an ini file) read and written key by key through the
// profile functions: the launcher's side of the settings seam
// (shell/launcher_settings.h).
#include <optional>
#include <string>
#include <string_view>

#include "shell/launcher_settings.h"
#include "shell/settings_location.h"

namespace morvane {

class FileSystem;

// files must outlive the reader.
class SettingsReader final : public SettingsSource {
  public:
    SettingsReader(FileSystem& files, std::u16string path);
    ~SettingsReader() override;
    SettingsReader(const SettingsReader&) = delete;
    SettingsReader& operator=(const SettingsReader&) = delete;

    std::optional<std::u16string> readText(SettingsKey key) const override;
    SettingsPairs readSection(std::u16string_view section) const override;

  private:
    bool hasKey(SettingsKey key) const;
    // The key's value, the key known to be there.
    std::u16string valueOf(SettingsKey key) const;
    FileSystem& files_;
    // The file the profile functions read: the settings file, or a copy of
    // it in the temporary folder when its path is too long for them.
    std::u16string profilePath_;
    bool temporaryCopy_ = false;
};

// Writes into a working copy of the file (beside it under a name of its own,
// or in the temporary folder when that path is too long for the profile
// functions) and replaces the file with it at commit, so the settings are
// never left half written, and two launchers saving at the same moment never
// touch each other's copy. A copy that cannot be made fails every write and
// the commit; no copy outlives the writer.
// files must outlive the writer.
class SettingsWriter final : public SettingsSink {
  public:
    SettingsWriter(FileSystem& files, std::u16string path);
    ~SettingsWriter() override;
    SettingsWriter(const SettingsWriter&) = delete;
    SettingsWriter& operator=(const SettingsWriter&) = delete;

    bool writeText(SettingsKey key, std::u16string_view value) override;
    bool replaceSection(std::u16string_view section, const SettingsPairs& pairs) override;
    bool commit() override;

  private:
    FileSystem& files_;
    std::u16string path_;
    std::u16string workingPath_;
    bool failed_ = false;
};

// The launcher's settings files: read and written through the profile
// functions, probed through the file services. files must outlive it.
class ProfileSettingsStorage final : public SettingsStorage {
  public:
    explicit ProfileSettingsStorage(FileSystem& files) : files_(files) {}

    bool canReplace(std::u16string_view path) override;
    std::unique_ptr<SettingsSource> read(std::u16string_view path) override;
    // Makes the file's folder first when it is missing (the operator's own
    // folder, at the first close).
    std::unique_ptr<SettingsSink> write(std::u16string_view path) override;

  private:
    FileSystem& files_;
};

} // namespace morvane
