#include "cad_targets/caption.h"

#include "cad_targets/target_file.h"
#include "cad_targets/target_line.h"
#include "shell/application_title.h"

namespace morvane {

std::u16string startUpCaption(std::u16string_view name) {
    std::u16string caption(kApplicationTitle);
    caption += u" [ ";
    caption += name;
    caption += u" ]";
    return caption;
}

std::u16string chosenTargetCaption(std::u16string_view name) {
    std::u16string caption(kApplicationTitle);
    caption += u" [";
    caption += name;
    caption += u"]";
    return caption;
}

std::optional<std::u16string> captionFromTargetLines(const std::vector<std::u16string>& lines,
                                                     std::u16string_view progID) {
    const auto name = findTargetName(lines, progID);
    if (!name)
        return std::nullopt;
    return startUpCaption(*name);
}

std::optional<std::u16string> lookUpCaption(std::u16string_view folder, std::u16string_view progID,
                                            const PlatformServices& services) {
    std::u16string path(folder);
    path += kTargetListFileName;
    const auto lines = TargetListFile(std::move(path)).read(services);
    if (!lines)
        return std::nullopt;
    return captionFromTargetLines(*lines, progID);
}

} // namespace morvane
