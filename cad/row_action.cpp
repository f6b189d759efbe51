#include "cad/row_action.h"

#include "text/letters.h"

namespace morvane {
namespace {

// Index just after the last "\" or ":", 0 when there is neither.
size_t fileNameStart(std::u16string_view path) {
    const size_t separator = path.find_last_of(u"\\:");
    return separator == std::u16string_view::npos ? 0 : separator + 1;
}

} // namespace

std::u16string resolveRowFile(std::u16string_view file, std::u16string_view programFolder) {
    if (upperAscii(file).find(u"MORVANE\\") == std::u16string::npos)
        return std::u16string(file);
    std::u16string path(programFolder);
    path += file.substr(fileNameStart(file));
    return path;
}

std::u16string rowFileExtension(std::u16string_view file) {
    const std::u16string upper = upperAscii(file);
    const size_t dot = upper.rfind(u'.');
    if (dot == std::u16string::npos || dot < fileNameStart(upper))
        return {};
    return upper.substr(dot);
}

std::u16string loadExpression(std::u16string_view path) {
    std::u16string text = u"(load \"";
    for (const char16_t c : path) {
        text += c;
        if (c == u'\\')
            text += c;
    }
    text += u"\")(princ)";
    return text;
}

std::u16string fileNotFoundText(std::u16string_view path) {
    std::u16string text(path);
    text += u'\n';
    text += kFileNotFoundMessage;
    return text;
}

RowAction decideRowAction(const ListRow& record, std::u16string_view programFolder,
                          const FileExistsFunction& fileExists) {
    RowAction action;
    std::u16string commandText = record.command;
    const std::u16string extension = rowFileExtension(record.file);
    if (extension == u".LSP") {
        std::u16string path = resolveRowFile(record.file, programFolder);
        if (!fileExists(path)) {
            action.kind = RowAction::Kind::ShowNotFound;
            action.path = std::move(path);
            return action;
        }
        commandText = loadExpression(path);
    } else if (extension == u".EXE") {
        action.kind = RowAction::Kind::StartProgram;
        action.path = resolveRowFile(record.file, programFolder);
        action.parameters = record.parameters;
        return action;
    }
    if (!commandText.empty() && !record.description.empty()) {
        action.kind = RowAction::Kind::SendCommand;
        action.commandText = std::move(commandText);
    }
    return action;
}

} // namespace morvane
