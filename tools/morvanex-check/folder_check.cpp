#include "folder_check.h"

#include <algorithm>
#include <map>
#include <optional>

#include "cad/row_action.h"
#include "cad_targets/caption.h"
#include "cad_targets/target_line.h"
#include "list/list_file.h"
#include "messages.h"
#include "quoted.h"
#include "services/services.h"
#include "shell/launcher_settings.h"
#include "shell/settings_location.h"
#include "shell/settings_text.h"
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

// A text file's lines as the launcher reads them, each with the number of
// the line an editor shows it on. The two part where a lead byte of the code
// page ends a line with a lone LF or CR: the converter takes the break into
// the lead byte's character, and the next line joins this one. Every finding
// is numbered by the editor's lines.
struct FileLines {
    std::vector<std::u16string> text;
    std::vector<int> number;
};

// The lines of raw bytes with their breaks, split where splitLines splits:
// CR LF, lone CR, lone LF.
std::vector<std::string_view> rawLinesWithBreaks(std::string_view bytes) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        lines.push_back(bytes.substr(start, i + 1 - start));
        start = i + 1;
    }
    if (start < bytes.size())
        lines.push_back(bytes.substr(start));
    return lines;
}

std::string_view withoutBreak(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

// Whether a raw line's break is still a break once converted. Should the
// system refuse the piece it took whole, the break counts as kept; the
// numbers are then only used where the line counts agree.
bool keepsBreak(const AnsiCodePage& codePage, std::string_view raw) {
    try {
        const std::u16string text = codePage.decode(raw);
        return !text.empty() && (text.back() == u'\r' || text.back() == u'\n');
    } catch (const ConversionError&) {
        return true;
    }
}

// The decoded file's lines and their numbers. With a report, an unmarked
// file's lines that are not characters of the code page it is read in (they
// show as garbage in the launcher) are reported.
FileLines readLines(std::u16string_view path, std::string_view bytes, const DecodedText& decoded,
                    const PlatformServices& services, const Messages& say, FolderReport* report) {
    FileLines lines;
    lines.text = splitLines(decoded.text);
    for (size_t i = 0; i < lines.text.size(); ++i)
        lines.number.push_back(static_cast<int>(i) + 1);
    if (decoded.encoding != TextEncoding::Ansi && decoded.encoding != TextEncoding::Cp932)
        return lines;
    const auto body = bytes.substr(0, bytes.find('\0'));
    // The code page decodeText chose: the bytes are not judged again.
    const AnsiCodePage& codePage = codePageOf(decoded.encoding, services.ansi);
    // A line is converted on its own with its break: the converter has no
    // state between characters, so it cuts where the whole file's text does.
    std::vector<int> starts;
    bool startsLine = true;
    int number = 0;
    for (const std::string_view raw : rawLinesWithBreaks(body)) {
        ++number;
        if (startsLine)
            starts.push_back(number);
        const bool hasBreak = raw.back() == '\r' || raw.back() == '\n';
        startsLine = !hasBreak || keepsBreak(codePage, raw);
        const std::string_view line = withoutBreak(raw);
        if (!report || codePage.isValid(line))
            continue;
        std::u16string message = say(MessageId::BytesNotValid, {toDecimal(codePage.number())});
        if (utf8ToUtf16Strict(line))
            message += say(MessageId::LineIsUtf8);
        if (!startsLine)
            message += say(MessageId::LineBreakTaken, {toDecimal(number + 1)});
        report->add(path, number, Severity::Error, std::move(message));
    }
    if (starts.size() == lines.text.size())
        lines.number = std::move(starts);
    return lines;
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

void checkRowFile(std::u16string_view path, int line, const ListRow& record,
                  std::u16string_view folder, const FolderCheckOptions& options,
                  const PlatformServices& services, FolderReport& report) {
    const Messages say(options.language);
    const std::u16string extension = rowFileExtension(record.file);
    const bool lisp = extension == u".LSP";
    if (!lisp && extension != u".EXE") {
        report.add(path, line, Severity::Warning,
                   say(MessageId::ThirdFieldIgnored, {quoted(record.file)}));
        return;
    }
    const std::u16string resolved = resolveRowFile(record.file, folder);
    switch (pathKind(resolved, resolved != record.file, options.windowsPaths)) {
    case PathKind::Foreign:
        report.add(path, line, Severity::Note, say(MessageId::CannotCheckHere, {resolved}));
        return;
    case PathKind::Relative:
        report.add(path, line, Severity::Note,
                   say(lisp ? MessageId::RelativeLisp : MessageId::RelativeProgram, {resolved}));
        return;
    case PathKind::Checkable:
        break;
    }
    if (services.files.fileExists(resolved))
        return;
    if (lisp)
        report.add(path, line, Severity::Error,
                   say(MessageId::LispNotFound, {resolved, quoted(kFileNotFoundMessage)}));
    else
        report.add(path, line, Severity::Error, say(MessageId::ProgramNotFound, {resolved}));
}

void checkListLines(std::u16string_view path, const FileLines& lines, const ListRows& records,
                    std::u16string_view folder, const FolderCheckOptions& options,
                    const PlatformServices& services, FolderReport& report) {
    const Messages say(options.language);
    std::map<std::u16string, int> commandLines; // upper-cased command -> first line
    for (const auto& record : records) {
        const int line = lines.number[record.row];
        if (isGroupRow(record)) {
            if (splitListFields(lines.text[record.row]).size() >= 2)
                report.add(path, line, Severity::Warning,
                           say(MessageId::EmptyDescription, {quoted(record.command)}));
            continue;
        }
        if (!record.file.empty())
            checkRowFile(path, line, record, folder, options, services, report);
        const std::u16string extension = rowFileExtension(record.file);
        if (record.command.empty()) {
            if (extension != u".LSP" && extension != u".EXE")
                report.add(path, line, Severity::Warning,
                           say(MessageId::NoCommandNoFile, {quoted(record.description)}));
            continue;
        }
        if (isBlankCode(record.command.front()) || isBlankCode(record.command.back()))
            report.add(path, line, Severity::Warning,
                       say(MessageId::BlankAroundCommand, {quoted(record.command)}));
        const auto [first, added] = commandLines.emplace(upperAscii(record.command), line);
        if (!added)
            report.add(path, line, Severity::Warning,
                       say(MessageId::DuplicateCommand,
                           {quoted(record.command), toDecimal(first->second)}));
    }
}

void checkCommandList(std::u16string_view folder, const FolderCheckOptions& options,
                      const PlatformServices& services, FolderReport& report) {
    const Messages say(options.language);
    const std::u16string path = std::u16string(folder) + std::u16string(kListFileName);
    const auto bytes = readBytes(path, services, report);
    if (!bytes) {
        if (!report.unreadable)
            report.add(path, 0, Severity::Warning, say(MessageId::NoCommandList));
        return;
    }
    const auto decoded = decodeBytes(path, *bytes, services, report);
    if (!decoded)
        return;
    const FileLines lines = readLines(path, *bytes, *decoded, services, say, &report);
    if (lines.text.empty()) {
        report.add(path, 0, Severity::Warning, say(MessageId::EmptyCommandList));
        return;
    }
    const ListRows records = parseListLines(lines.text);
    checkListLines(path, lines, records, folder, options, services, report);
}

// The target list's lines, or nullopt when there is none.
std::optional<std::vector<std::u16string>> checkTargetList(std::u16string_view folder,
                                                           const PlatformServices& services,
                                                           const Messages& say,
                                                           FolderReport& report) {
    const std::u16string path = std::u16string(folder) + std::u16string(kTargetListFileName);
    const auto bytes = readBytes(path, services, report);
    if (!bytes) {
        if (!report.unreadable)
            report.add(path, 0, Severity::Note,
                       say(MessageId::NoTargetList, {quoted(kDesignedCaption)}));
        return std::nullopt;
    }
    const auto decoded = decodeBytes(path, *bytes, services, report);
    if (!decoded)
        return std::nullopt;
    FileLines lines = readLines(path, *bytes, *decoded, services, say, &report);
    std::map<std::u16string, int> nameLines; // upper-cased name -> first line
    for (size_t i = 0; i < lines.text.size(); ++i) {
        const auto& text = lines.text[i];
        const int line = lines.number[i];
        if (text.find(u'\t') == std::u16string::npos) {
            report.add(path, line, Severity::Warning, say(MessageId::NoTab));
            continue;
        }
        const auto parts = splitTargetLine(text);
        if (parts.progId.empty())
            report.add(path, line, Severity::Warning, say(MessageId::TargetProgIdEmpty));
        if (parts.name.empty()) {
            report.add(path, line, Severity::Warning, say(MessageId::TargetNameEmpty));
            continue;
        }
        const auto [first, added] = nameLines.emplace(upperAscii(parts.name), line);
        if (!added)
            report.add(path, line, Severity::Warning,
                       say(MessageId::DuplicateTargetName,
                           {quoted(parts.name), toDecimal(first->second)}));
    }
    return std::move(lines.text);
}

// The launcher's settings files as the check sees them: read with the
// profile functions' rules, probed as the launcher probes them, never
// written. The folder's own file was read already: its lines are kept, not
// read again each time the settings are looked up.
class CheckedSettingsStorage final : public SettingsStorage {
  public:
    CheckedSettingsStorage(PlatformServices& services, std::u16string_view folderFile,
                           const std::vector<std::u16string>& folderLines)
        : services_(services), folderFile_(folderFile), folderLines_(folderLines) {}

    bool canReplace(std::u16string_view path) override {
        return services_.files.canReplaceFile(path);
    }
    std::unique_ptr<SettingsSource> read(std::u16string_view path) override {
        if (path == folderFile_)
            return std::make_unique<SettingsText>(folderLines_);
        std::string bytes;
        std::u16string reason;
        std::vector<std::u16string> lines;
        // A file that cannot be read or decoded has no keys here; the
        // folder's own file is reported as such by checkSettings.
        try {
            if (services_.files.readFile(path, bytes, reason))
                lines = splitLines(decodeText(bytes, services_.ansi).text);
        } catch (const ConversionError&) {
            lines.clear();
        }
        return std::make_unique<SettingsText>(std::move(lines));
    }
    // The check writes no settings: every value and the commit are refused.
    std::unique_ptr<SettingsSink> write(std::u16string_view) override {
        return std::make_unique<RefusingSink>();
    }

  private:
    class RefusingSink final : public SettingsSink {
      public:
        bool writeText(SettingsKey, std::u16string_view) override { return false; }
        bool replaceSection(std::u16string_view, const SettingsPairs&) override { return false; }
        bool commit() override { return false; }
    };
    PlatformServices& services_;
    std::u16string_view folderFile_;
    const std::vector<std::u16string>& folderLines_;
};

// Which settings file this user's launcher reads and writes, when it is not
// the one in the folder, and why. lineOf numbers a key's line.
template <class LineOf>
void noteSettingsPlace(const SettingsFiles& files, LineOf lineOf, const Messages& say,
                       FolderReport& report) {
    switch (files.place) {
    case SettingsPlace::BesideExe:
        return;
    case SettingsPlace::PerUserAsked:
        report.add(files.besideExe, lineOf(kLocationKey), Severity::Note,
                   say(MessageId::SettingsPerUserAsked,
                       {describeKey(kLocationKey) + u"=" + std::u16string(kPerUserLocation),
                        files.perUser}));
        return;
    case SettingsPlace::PerUserExeUnwritable:
        report.add(files.besideExe, 0, Severity::Note,
                   say(MessageId::SettingsPerUserUnwritable, {files.perUser}));
        return;
    }
}

// The hotkey the launcher would register, and why it would have none.
template <class LineOf>
void checkHotkey(std::u16string_view path, const std::optional<std::u16string>& value,
                 LineOf lineOf, const FolderCheckOptions& options, const Messages& say,
                 FolderReport& report) {
    if (!value)
        return;
    const HotkeySetting setting = parseHotkey(*value);
    std::u16string why;
    if (setting.problem)
        why = hotkeyProblemText(*setting.problem, say.language());
    else if (setting.hotkey && options.hotkeyTaken && options.hotkeyTaken(*setting.hotkey))
        why = hotkeyTakenText(*setting.hotkey, say.language());
    if (!why.empty())
        report.add(path, lineOf(kActivateKey), Severity::Warning,
                   say(MessageId::HotkeyNotUsed, {*value, why}));
}

void checkSettings(std::u16string_view folder,
                   const std::optional<std::vector<std::u16string>>& targetLines,
                   const FolderCheckOptions& options, PlatformServices& services,
                   const Messages& say, FolderReport& report) {
    const std::u16string path = std::u16string(folder) + std::u16string(kSettingsFileName);
    const auto bytes = readBytes(path, services, report);
    FileLines lines;
    const auto decoded = bytes ? decodeBytes(path, *bytes, services, report) : std::nullopt;
    if (decoded)
        lines = readLines(path, *bytes, *decoded, services, say, nullptr);
    else if (!report.unreadable)
        report.add(path, 0, Severity::Note,
                   say(MessageId::NoSettingsFile, {quoted(kDefaultProgID)}));
    const SettingsText file(lines.text);
    const auto lineOf = [&](SettingsKey key) {
        const auto index = file.lineOf(key);
        return index ? lines.number[*index] : 0;
    };
    for (const SettingsKey key : kPlaceKeys) {
        const auto value = file.readText(key);
        if (value && !parseSettingsInteger(*value))
            report.add(path, lineOf(key), Severity::Warning,
                       say(MessageId::NotANumber, {describeKey(key), *value}));
    }
    CheckedSettingsStorage storage(services, path, lines.text);
    const SettingsFiles files =
        chooseSettingsFiles(path, perUserSettingsPath(options.localAppData, path), storage);
    noteSettingsPlace(files, lineOf, say, report);
    // The ProgID this user's launcher drives: their own file's, else this
    // one's, else the default.
    report.progId = readSettings(files, storage).progId;
    const int progIdLine = lineOf(kProgIdKey);
    if (report.progId.empty())
        report.add(path, progIdLine, Severity::Warning, say(MessageId::SettingsProgIdEmpty));
    else if (!targetLines || !findTargetName(*targetLines, report.progId))
        report.add(
            path, progIdLine, Severity::Warning,
            say(MessageId::ProgIdNotInTargets, {quoted(report.progId), quoted(kDesignedCaption)}));
    checkHotkey(path, file.readText(kActivateKey), lineOf, options, say, report);
}

void checkFolderWritable(std::u16string_view folder, PlatformServices& services,
                         const Messages& say, FolderReport& result) {
    const std::u16string probe = std::u16string(folder) + std::u16string(kProbeFileName);
    std::u16string reason;
    if (services.files.writeFileAtomic(probe, "", reason)) {
        services.files.removeFile(probe);
        return;
    }
    result.add(folder, 0, Severity::Error, say(MessageId::FolderNotWritable, {reason}));
}

} // namespace

FolderReport checkFolder(std::u16string_view folder, const FolderCheckOptions& options,
                         PlatformServices& services) {
    const Messages say(options.language);
    FolderReport result;
    checkCommandList(folder, options, services, result);
    const auto targetLines = checkTargetList(folder, services, say, result);
    checkSettings(folder, targetLines, options, services, say, result);
    checkFolderWritable(folder, services, say, result);
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
