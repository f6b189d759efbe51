#include "shell/launcher_settings.h"

#include "text/letters.h"

namespace morvane {
namespace {

std::optional<int32_t> readInteger(const SettingsSource& source, SettingsKey key) {
    const auto text = source.readText(key);
    if (!text)
        return std::nullopt;
    return parseSettingsInteger(*text);
}

} // namespace

std::u16string describeKey(SettingsKey key) {
    return u"[" + std::u16string(key.section) + u"] " + std::u16string(key.name);
}

std::u16string cannotWriteSettingsMessage(std::u16string_view path) {
    return formatText(u"%s に書き込めません", {path});
}

LauncherSettings LauncherSettings::read(const SettingsSource& source) {
    LauncherSettings settings;
    settings.width = readInteger(source, kWidthKey);
    settings.height = readInteger(source, kHeightKey);
    settings.left = readInteger(source, kLeftKey);
    settings.top = readInteger(source, kTopKey);
    if (auto progId = source.readText(kProgIdKey))
        settings.progId = std::move(*progId);
    settings.pinned = source.readSection(kPinnedSection);
    settings.activate = source.readText(kActivateKey);
    return settings;
}

LauncherSettings LauncherSettings::toKeep(const WindowBounds& outer, std::u16string_view progId,
                                          SettingsPairs pinned) {
    LauncherSettings settings;
    settings.width = outer.width;
    settings.height = outer.height;
    settings.left = outer.left;
    settings.top = outer.top;
    settings.progId = progId;
    settings.pinned = std::move(pinned);
    return settings;
}

bool LauncherSettings::write(SettingsSink& sink) const {
    const std::pair<SettingsKey, std::optional<int32_t>> integers[] = {
        {kWidthKey, width}, {kHeightKey, height}, {kLeftKey, left}, {kTopKey, top}};
    for (const auto& [key, value] : integers)
        if (value && !sink.writeText(key, toDecimal(*value)))
            return false;
    return sink.writeText(kProgIdKey, progId) && writePinned(sink);
}

bool LauncherSettings::writePinned(SettingsSink& sink) const {
    return sink.replaceSection(kPinnedSection, pinned);
}

WindowBounds placeWindow(const LauncherSettings& settings, int designedWidth, int designedHeight,
                         int screenWidth, int screenHeight, FrameInsets invisible) {
    WindowBounds bounds;
    bounds.width = settings.width.value_or(designedWidth);
    bounds.height = settings.height.value_or(designedHeight);
    bounds.left = settings.left.value_or(centredEdge(screenWidth, bounds.width));
    bounds.top = settings.top.value_or(centredEdge(screenHeight, bounds.height));
    return keepOnScreen(bounds, screenWidth, screenHeight, invisible);
}

} // namespace morvane
