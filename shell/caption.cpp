#include "shell/caption.h"

#include "cad_targets/target_line.h"
#include "list/list_file.h"
#include "platform/services.h"
#include "text/text_file.h"
#include "text/user_error.h"

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
    if (!services.files.fileExists(path))
        return std::nullopt;
    std::string bytes;
    std::u16string reason;
    if (!services.files.readFile(path, bytes, reason))
        throw UserError(cannotOpenFileMessage(path, reason));
    const auto lines = splitLines(decodeText(bytes, services.ansi).text);
    return captionFromTargetLines(lines, progID);
}

} // namespace morvane
