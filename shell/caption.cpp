#include "shell/caption.h"

#include "list/list_file.h"
#include "platform/services.h"
#include "text/text_file.h"
#include "text/user_error.h"

namespace morvane {

std::optional<std::u16string> captionFromTargetLines(const std::vector<std::u16string>& lines,
                                                     std::u16string_view progID) {
    std::u16string needle = u"\t";
    needle += progID;
    for (const auto& line : lines) {
        const size_t at = line.find(needle);
        if (at == std::u16string::npos)
            continue;
        std::u16string caption(kApplicationTitle);
        caption += u" [ ";
        caption.append(line, 0, at);
        caption += u" ]";
        return caption;
    }
    return std::nullopt;
}

std::optional<std::u16string> lookUpCaption(std::u16string_view folder, std::u16string_view progID,
                                            const PlatformServices& services) {
    std::u16string path(folder);
    path += kTargetListName;
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
