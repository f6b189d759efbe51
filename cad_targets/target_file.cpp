#include "cad_targets/target_file.h"

#include "list/list_file.h"
#include "services/services.h"
#include "text/user_error.h"

namespace morvane {

std::optional<std::vector<std::u16string>> TargetListFile::read(const PlatformServices& services) {
    if (!services.files.fileExists(path_))
        return std::nullopt;
    const DecodedText decoded = readDecodedFile(path_, services);
    encoding_ = decoded.encoding;
    return splitLines(decoded.text);
}

TextEncoding TargetListFile::encoding(const AnsiCodePage& ansi) const {
    return encoding_.value_or(newFileEncoding(ansi));
}

void TargetListFile::write(const std::vector<std::u16string>& lines,
                           const PlatformServices& services) const {
    std::string bytes;
    try {
        bytes = encodeLines(lines, encoding(services.ansi), services.ansi);
    } catch (const ConversionError& e) {
        throw UserError(cannotCreateFileMessage(path_, e.reason()));
    }
    std::u16string reason;
    if (!services.files.writeFileAtomic(path_, bytes, reason))
        throw UserError(cannotCreateFileMessage(path_, reason));
}

std::u16string cannotCreateFileMessage(std::u16string_view path, std::u16string_view reason) {
    std::u16string text(u"ファイル \"");
    text += path;
    text += u"\" を作成できません。";
    text += reason;
    return text;
}

} // namespace morvane
