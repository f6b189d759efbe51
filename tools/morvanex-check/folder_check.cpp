#include "folder_check.h"

#include <algorithm>
#include <map>
#include <optional>

#include "cad/cad_link.h"
#include "cad/row_action.h"
#include "cad_targets/target_line.h"
#include "list/list_file.h"
#include "platform/services.h"
#include "quoted.h"
#include "shell/caption.h"
#include "shell/settings_values.h"
#include "text/letters.h"
#include "text/text_file.h"
#include "text/utf.h"

namespace morvane {
namespace {

constexpr std::u16string_view kSettingsFileName = u"MorvaneX.ini";
// Written and removed again to learn whether the folder takes new files.
constexpr std::u16string_view kProbeFileName = u"morvanex-check.probe";

// The file's bytes, or nullopt when it is missing or unreadable (reported).
std::optional<std::string> readBytes(std::u16string_view path, const PlatformServices& services,
                                     FolderReport& report) {
    if (!services.files.fileExists(path))
        return std::nullopt;
    std::string bytes;
    std::u16string reason;
    if (!services.files.readFile(path, bytes, reason)) {
        report.unreadable = true;
        report.add(path, 0, Severity::Error, cannotOpenFileMessage(path, reason));
        return std::nullopt;
    }
    return bytes;
}

// The decoded text, or nullopt when the system refuses to decode it
// (reported as the launcher would: the file cannot be opened).
std::optional<DecodedText> decodeBytes(std::u16string_view path, std::string_view bytes,
                                       const PlatformServices& services, FolderReport& report) {
    try {
        return decodeText(bytes, services.ansi);
    } catch (const ConversionError& e) {
        report.unreadable = true;
        report.add(path, 0, Severity::Error, cannotOpenFileMessage(path, e.reason()));
        return std::nullopt;
    }
}

// The lines of raw bytes, broken where the decoded text breaks: CR and LF
// are never part of a character in the code pages lists are read in.
std::vector<std::string> byteLines(std::string_view bytes) {
    std::u16string units(bytes.begin(), bytes.end());
    for (auto& unit : units)
        unit &= 0xFF;
    std::vector<std::string> lines;
    for (const auto& line : splitLines(units))
        lines.emplace_back(line.begin(), line.end());
    return lines;
}

// An unmarked file's lines that are not characters of the code page it is
// read in show as garbage in the launcher.
void checkEncoding(std::u16string_view path, std::string_view bytes, const DecodedText& decoded,
                   const PlatformServices& services, FolderReport& report) {
    if (decoded.encoding != TextEncoding::Ansi && decoded.encoding != TextEncoding::Cp932)
        return;
    const auto body = bytes.substr(0, bytes.find('\0'));
    const AnsiCodePage& codePage = unmarkedCodePage(body, services.ansi);
    const auto lines = byteLines(body);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (codePage.isValid(lines[i]))
            continue;
        std::u16string message = u"bytes not valid in code page " + toDecimal(codePage.number()) +
                                 u": the line shows as garbage";
        if (utf8ToUtf16Strict(lines[i]))
            message += u"; the line is valid UTF-8: the file was saved as UTF-8 without a "
                       u"byte-order mark (save it with one)";
        report.add(path, static_cast<int>(i) + 1, Severity::Error, std::move(message));
    }
}

enum class PathKind { Checkable, Relative, Foreign };

PathKind pathKind(std::u16string_view path, bool resolvedInFolder, bool windowsPaths) {
    if (resolvedInFolder)
        return PathKind::Checkable;
    const bool driveLetter =
        path.size() >= 3 && path[1] == u':' && (path[2] == u'\\' || path[2] == u'/');
    const bool unc = path.starts_with(u"\\\\");
    if (windowsPaths)
        return driveLetter || unc ? PathKind::Checkable : PathKind::Relative;
    if (path.starts_with(u"/"))
        return PathKind::Checkable;
    return driveLetter || unc || (path.size() >= 2 && path[1] == u':') ? PathKind::Foreign
                                                                       : PathKind::Relative;
}

void checkRowFile(std::u16string_view path, const ListRow& record, std::u16string_view folder,
                  const FolderCheckOptions& options, const PlatformServices& services,
                  FolderReport& report) {
    const int line = record.row + 1;
    const std::u16string extension = rowFileExtension(record.file);
    const bool lisp = extension == u".LSP";
    if (!lisp && extension != u".EXE") {
        report.add(path, line, Severity::Warning,
                   u"the third field " + quoted(record.file) +
                       u" is neither a .lsp nor an .exe file: it is ignored");
        return;
    }
    const std::u16string resolved = resolveRowFile(record.file, folder);
    switch (pathKind(resolved, resolved != record.file, options.windowsPaths)) {
    case PathKind::Foreign:
        report.add(path, line, Severity::Note, resolved + u" cannot be checked on this system");
        return;
    case PathKind::Relative:
        report.add(path, line, Severity::Note,
                   resolved + (lisp ? u" is relative to the launcher's current folder: not checked"
                                    : u" is looked up by Windows when started: not checked"));
        return;
    case PathKind::Checkable:
        break;
    }
    if (services.files.fileExists(resolved))
        return;
    if (lisp)
        report.add(path, line, Severity::Error,
                   u"LISP file not found: " + resolved + u"; a double-click shows " +
                       quoted(kFileNotFoundMessage));
    else
        report.add(path, line, Severity::Error,
                   u"program not found: " + resolved + u"; a double-click starts nothing");
}

void checkListLines(std::u16string_view path, const std::vector<std::u16string>& lines,
                    const ListRows& records, std::u16string_view folder,
                    const FolderCheckOptions& options, const PlatformServices& services,
                    FolderReport& report) {
    std::map<std::u16string, int> commandLines; // upper-cased command -> first line
    for (const auto& record : records) {
        const int line = record.row + 1;
        if (isGroupRow(record)) {
            if (splitListFields(lines[record.row]).size() >= 2)
                report.add(path, line, Severity::Warning,
                           quoted(record.command) +
                               u" has an empty description: it is shown as a group");
            continue;
        }
        if (!record.file.empty())
            checkRowFile(path, record, folder, options, services, report);
        const std::u16string extension = rowFileExtension(record.file);
        if (record.command.empty()) {
            if (extension != u".LSP" && extension != u".EXE")
                report.add(path, line, Severity::Warning,
                           quoted(record.description) +
                               u" has no command and no file: a double-click does nothing");
            continue;
        }
        if (isBlankCode(record.command.front()) || isBlankCode(record.command.back()))
            report.add(path, line, Severity::Warning,
                       u"the command " + quoted(record.command) +
                           u" starts or ends with a blank: it is sent as typed, and many CADs "
                           u"take a space as Enter");
        const auto [first, added] = commandLines.emplace(upperAscii(record.command), line);
        if (!added)
            report.add(path, line, Severity::Warning,
                       u"the command " + quoted(record.command) + u" is also on line " +
                           toDecimal(first->second));
    }
}

void checkCommandList(std::u16string_view folder, const FolderCheckOptions& options,
                      const PlatformServices& services, FolderReport& report) {
    const std::u16string path = std::u16string(folder) + std::u16string(kListFileName);
    const auto bytes = readBytes(path, services, report);
    if (!bytes) {
        if (!report.unreadable)
            report.add(path, 0, Severity::Warning,
                       u"there is no command list: the launcher shows no commands");
        return;
    }
    const auto decoded = decodeBytes(path, *bytes, services, report);
    if (!decoded)
        return;
    checkEncoding(path, *bytes, *decoded, services, report);
    const auto lines = splitLines(decoded->text);
    if (lines.empty()) {
        report.add(path, 0, Severity::Warning,
                   u"the command list is empty: the launcher shows no commands");
        return;
    }
    const ListRows records = parseListLines(lines);
    checkListLines(path, lines, records, folder, options, services, report);
}

// The target list's lines, or nullopt when there is none.
std::optional<std::vector<std::u16string>> checkTargetList(std::u16string_view folder,
                                                           const PlatformServices& services,
                                                           FolderReport& report) {
    const std::u16string path = std::u16string(folder) + std::u16string(kTargetListFileName);
    const auto bytes = readBytes(path, services, report);
    if (!bytes) {
        if (!report.unreadable)
            report.add(path, 0, Severity::Note,
                       u"there is no target list: the caption stays " + quoted(kDesignedCaption) +
                           u" and the target dialog starts empty");
        return std::nullopt;
    }
    const auto decoded = decodeBytes(path, *bytes, services, report);
    if (!decoded)
        return std::nullopt;
    checkEncoding(path, *bytes, *decoded, services, report);
    std::vector<std::u16string> lines = splitLines(decoded->text);
    std::map<std::u16string, int> nameLines; // upper-cased name -> first line
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto& text = lines[i];
        const int line = static_cast<int>(i) + 1;
        if (text.find(u'\t') == std::u16string::npos) {
            report.add(path, line, Severity::Warning,
                       u"no TAB between a name and a ProgID: the line names no CAD");
            continue;
        }
        const auto parts = splitTargetLine(text);
        if (parts.progId.empty())
            report.add(path, line, Severity::Warning, u"the ProgID is empty");
        if (parts.name.empty()) {
            report.add(path, line, Severity::Warning, u"the name is empty");
            continue;
        }
        const auto [first, added] = nameLines.emplace(upperAscii(parts.name), line);
        if (!added)
            report.add(path, line, Severity::Warning,
                       u"the name " + quoted(parts.name) + u" is also on line " +
                           toDecimal(first->second));
    }
    return lines;
}

// One key of the settings file as GetPrivateProfileString finds it: the
// first in the first section of that name, letter case ignored, blanks
// around the value and one pair of quotes taken off.
struct SettingsValue {
    std::u16string text;
    int line = 0;
};

std::optional<SettingsValue> findSettingsValue(const std::vector<std::u16string>& lines,
                                               std::u16string_view section,
                                               std::u16string_view key) {
    const std::u16string wantedSection = upperAscii(section);
    const std::u16string wantedKey = upperAscii(key);
    bool inSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::u16string_view text = trimBlanks(lines[i]);
        if (text.starts_with(u"[")) {
            const size_t close = text.find(u']');
            inSection = upperAscii(trimBlanks(text.substr(
                            1, close == text.npos ? text.npos : close - 1))) == wantedSection;
            continue;
        }
        const size_t equals = text.find(u'=');
        if (!inSection || equals == text.npos ||
            upperAscii(trimBlanks(text.substr(0, equals))) != wantedKey)
            continue;
        std::u16string_view value = trimBlanks(text.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return SettingsValue{std::u16string(value), static_cast<int>(i) + 1};
    }
    return std::nullopt;
}

void checkSettings(std::u16string_view folder,
                   const std::optional<std::vector<std::u16string>>& targetLines,
                   const PlatformServices& services, FolderReport& report) {
    const std::u16string path = std::u16string(folder) + std::u16string(kSettingsFileName);
    const auto bytes = readBytes(path, services, report);
    std::vector<std::u16string> lines;
    const auto decoded = bytes ? decodeBytes(path, *bytes, services, report) : std::nullopt;
    if (decoded)
        lines = splitLines(decoded->text);
    else if (!report.unreadable)
        report.add(path, 0, Severity::Note,
                   u"there is no settings file: the window opens centred on the screen and "
                   u"drives " +
                       quoted(kDefaultProgID));
    for (const auto key : {u"Left", u"Top", u"Width", u"Height"}) {
        const auto value = findSettingsValue(lines, u"Form", key);
        if (value && !parseSettingsInteger(value->text))
            report.add(path, value->line, Severity::Warning,
                       u"[Form] " + std::u16string(key) + u"=" + value->text +
                           u" is not a number: the default is used instead");
    }
    const auto progId = findSettingsValue(lines, u"Target", u"ProgID");
    report.progId = progId ? progId->text : std::u16string(kDefaultProgID);
    const int progIdLine = progId ? progId->line : 0;
    if (report.progId.empty())
        report.add(path, progIdLine, Severity::Warning,
                   u"the ProgID is empty: no CAD can be reached");
    else if (!targetLines || !findTargetName(*targetLines, report.progId))
        report.add(path, progIdLine, Severity::Warning,
                   u"the ProgID " + quoted(report.progId) +
                       u" is not in the target list: the caption stays " +
                       quoted(kDesignedCaption));
}

void checkFolderWritable(std::u16string_view folder, PlatformServices& services,
                         FolderReport& result) {
    const std::u16string probe = std::u16string(folder) + std::u16string(kProbeFileName);
    std::u16string reason;
    if (services.files.writeFileAtomic(probe, "", reason)) {
        services.files.removeFile(probe);
        return;
    }
    result.add(folder, 0, Severity::Error,
               u"the folder cannot be written (" + reason +
                   u"): settings and new lists cannot be saved");
}

} // namespace

FolderReport checkFolder(std::u16string_view folder, const FolderCheckOptions& options,
                         PlatformServices& services) {
    FolderReport result;
    checkCommandList(folder, options, services, result);
    const auto targetLines = checkTargetList(folder, services, result);
    checkSettings(folder, targetLines, services, result);
    checkFolderWritable(folder, services, result);
    // Each file's findings in line order; the files in the order checked.
    std::map<std::u16string, size_t> fileOrder;
    for (const auto& finding : result.findings)
        fileOrder.emplace(finding.path, fileOrder.size());
    std::stable_sort(result.findings.begin(), result.findings.end(),
                     [&](const Finding& a, const Finding& b) {
                         const size_t fileA = fileOrder[a.path], fileB = fileOrder[b.path];
                         return fileA != fileB ? fileA < fileB : a.line < b.line;
                     });
    return result;
}

std::u16string formatFinding(const Finding& finding) {
    std::u16string text = finding.path;
    if (finding.line > 0) {
        text += u':';
        text += toDecimal(finding.line);
    }
    switch (finding.severity) {
    case Severity::Error:
        text += u": error: ";
        break;
    case Severity::Warning:
        text += u": warning: ";
        break;
    case Severity::Note:
        text += u": note: ";
        break;
    }
    return text + finding.message;
}

} // namespace morvane
