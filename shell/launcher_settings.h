#pragma once
// The launcher's settings file, whole: its sections and keys, the values they
// hold and their defaults, read and written through one seam. The launcher
// reads and writes it with the profile functions (app/settings_file.h), the
// folder check reads it with SettingsText (shell/settings_text.h); both go
// through LauncherSettings, so a key is spelt here and nowhere else.
//
// A new key is a constant below, a member of LauncherSettings and a line in
// its read and write; the folder check and each operator's own file
// (shell/settings_location.h) then follow without a change.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/settings_values.h"

namespace morvane {

// The CAD driven when the settings name none.
inline constexpr std::u16string_view kDefaultProgID = u"BricscadApp.AcadApplication";

struct SettingsKey {
    std::u16string_view section;
    std::u16string_view name;
};

// The window's outer rectangle at close, in screen pixels.
inline constexpr SettingsKey kWidthKey{u"Form", u"Width"};
inline constexpr SettingsKey kHeightKey{u"Form", u"Height"};
inline constexpr SettingsKey kLeftKey{u"Form", u"Left"};
inline constexpr SettingsKey kTopKey{u"Form", u"Top"};
// The ProgID of the CAD to drive.
inline constexpr SettingsKey kProgIdKey{u"Target", u"ProgID"};
// Where the operator's settings live: read from the file beside the exe
// only (an administrator's choice), never written by the launcher.
inline constexpr SettingsKey kLocationKey{u"Settings", u"Location"};
// Its value for "each operator's own file", letter case ignored.
inline constexpr std::u16string_view kPerUserLocation = u"PerUser";
// The global hotkey that brings the launcher to the front, e.g.
// "Ctrl+Shift+Space" (shell/hotkey.h reads it); never written by the
// launcher.
inline constexpr SettingsKey kActivateKey{u"Keys", u"Activate"};
// The pinned rows: keys "1", "2", … in pin order, each "command TAB file"
// (list/pins.h turns them into pins and back). A list, read and written as a
// whole section.
inline constexpr std::u16string_view kPinnedSection = u"Pinned";
// The integer keys, in the order the window's place is judged.
inline constexpr std::array<SettingsKey, 4> kPlaceKeys{kLeftKey, kTopKey, kWidthKey, kHeightKey};

// Key and value pairs of one settings section, in file order.
using SettingsPairs = std::vector<std::pair<std::u16string, std::u16string>>;

// Where the settings are read from: nullopt for a missing key; a present key
// may give an empty text. At most 2047 characters arrive, as the profile
// functions read them into a buffer of 2048.
class SettingsSource {
  public:
    virtual ~SettingsSource() = default;
    virtual std::optional<std::u16string> readText(SettingsKey key) const = 0;
    // Every key of the section with its value as readText gives it, in file
    // order; none for a missing section.
    virtual SettingsPairs readSection(std::u16string_view section) const = 0;
};

// Where the settings are written: each value as it comes, the file replaced
// whole at commit. False when the value or the file could not be written.
class SettingsSink {
  public:
    virtual ~SettingsSink() = default;
    virtual bool writeText(SettingsKey key, std::u16string_view value) = 0;
    // The section holds these pairs and no other key; no pairs removes it.
    virtual bool replaceSection(std::u16string_view section, const SettingsPairs& pairs) = 0;
    virtual bool commit() = 0;
};

// "[section] name" as a message shows a key.
std::u16string describeKey(SettingsKey key);

// The error shown when the settings file at path cannot be written:
// "%s に書き込めません" with the path.
std::u16string cannotWriteSettingsMessage(std::u16string_view path);

struct LauncherSettings {
    // The window's outer rectangle; nullopt where the key is missing or not
    // an integer (placeWindow gives the defaults, which depend on the
    // screen).
    std::optional<int32_t> width;
    std::optional<int32_t> height;
    std::optional<int32_t> left;
    std::optional<int32_t> top;
    // A present but empty value stays empty.
    std::u16string progId{kDefaultProgID};
    // The pinned rows' section as it stands (list/pins.h reads the pins).
    SettingsPairs pinned;
    // [Keys] Activate as it stands; nullopt when missing. Read only.
    std::optional<std::u16string> activate;

    static LauncherSettings read(const SettingsSource& source);
    // What close and log-off keep: the window's outer rectangle, the ProgID
    // and the pinned rows.
    static LauncherSettings toKeep(const WindowBounds& outer, std::u16string_view progId,
                                   SettingsPairs pinned);
    // Writes Width, Height, Left, Top (those present), ProgID and the pinned
    // section, in that order, integers in decimal; false at the first value
    // that fails. Activate is left as the file has it.
    bool write(SettingsSink& sink) const;
    // The pinned section alone, written at once when a pin changes.
    bool writePinned(SettingsSink& sink) const;
};

// Where the window opens: the stored size, else the designed one; the stored
// edges, else centred on the primary screen; then kept on that screen
// (keepOnScreen, judging the visible frame within the invisible insets).
WindowBounds placeWindow(const LauncherSettings& settings, int designedWidth, int designedHeight,
                         int screenWidth, int screenHeight, FrameInsets invisible = {});

} // namespace morvane
