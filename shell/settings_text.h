#pragma once
// The settings file's lines read by the profile functions' rules, without
// them: where the launcher's reader cannot run (the folder check, on any
// system) and where a finding needs the line a value stands on.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/launcher_settings.h"

namespace morvane {

class SettingsText final : public SettingsSource {
  public:
    explicit SettingsText(std::vector<std::u16string> lines) : lines_(std::move(lines)) {}

    // As GetPrivateProfileString finds a key: the first of that name in a
    // section of that name, letter case ignored in both, blanks around the
    // value and one pair of quotes around it taken off, at most 2047
    // characters.
    std::optional<std::u16string> readText(SettingsKey key) const override;
    // Each key line of the sections of that name, in file order, with the
    // value readText gives its name (a key named twice gives the first
    // value twice, as the profile functions answer).
    SettingsPairs readSection(std::u16string_view section) const override;
    // The 0-based index of the line readText takes the key from.
    std::optional<size_t> lineOf(SettingsKey key) const;

  private:
    // A key's line in a section: the key's name and the line's index.
    struct KeyLine {
        std::u16string_view name;
        size_t index;
    };
    // The key lines of the sections of that name, in file order.
    std::vector<KeyLine> keyLines(std::u16string_view section) const;
    // The value on a key line, as readText gives it.
    std::u16string valueOn(size_t line) const;

    std::vector<std::u16string> lines_;
};

} // namespace morvane
