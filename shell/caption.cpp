#include "shell/caption.h"

#include "cad_targets/target_file.h"
#include "cad_targets/target_line.h"

namespace morvane {

std::optional<std::u16string> captionFromTargetLines(const std::vector<std::u16string>& lines,
                                                     std::u16string_view progID) {
    const auto name = findTargetName(lines, progID);
    if (!name)
        return std::nullopt;
    std::u16string caption(kApplicationTitle);
    caption += u" [ ";
    caption += *name;
    caption += u" ]";
    return caption;
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
