#include "lisp/dropped_list.h"

#include "lisp/lsp_index.h"
#include "list/list_file.h"
#include "services/services.h"
#include "text/letters.h"
#include "text/path_name.h"
#include "text/text_file.h"
#include "text/user_error.h"

namespace morvane {
namespace {

#ifdef _WIN32
constexpr char16_t kNativeSeparator = u'\\';
#else
constexpr char16_t kNativeSeparator = u'/';
#endif

bool isSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

std::u16string withSeparator(std::u16string_view folder) {
    std::u16string text(folder);
    if (text.empty() || !isSeparator(text.back()))
        text += kNativeSeparator;
    return text;
}

bool startsWithUtf8Mark(std::string_view bytes) {
    return bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF";
}

// The second reading: unmarked files in the ANSI code page, marked ones as
// their mark says, UTF-8 strictly.
std::optional<DecodedText> decodeWithAnsiFallback(std::string_view bytes,
                                                  const AnsiCodePage& ansi) {
    if (startsWithUtf8Mark(bytes))
        return decodeTextStrictUtf8(bytes);
    return decodeText(bytes, ansi);
}

std::string readBytes(std::u16string_view path, const FileSystem& files) {
    std::string bytes;
    std::u16string reason;
    if (!files.readFile(path, bytes, reason))
        throw UserError(cannotOpenFileMessage(path, reason));
    return bytes;
}

std::u16string twoDigits(int value) {
    auto text = toDecimal(value);
    return text.size() < 2 ? u"0" + text : text;
}

// Beside the list, named after it: an earlier backup is never overwritten.
std::u16string freeBackupPath(const FileSystem& files, std::u16string_view listPath,
                              const LocalTime& time) {
    const auto folder = listPath.substr(0, fileNameStart(listPath));
    const auto name = backupFileName(groupTitleOf(listPath), time);
    const auto first = std::u16string(folder) + name;
    if (!files.fileExists(first))
        return first;
    const auto stem = std::u16string(folder) + name.substr(0, name.size() - 4);
    for (long long n = 1;; ++n) {
        auto candidate = stem + u'-' + toDecimal(n) + u".txt";
        if (!files.fileExists(candidate))
            return candidate;
    }
}

} // namespace

LspLines readLspFile(std::u16string_view path, const PlatformServices& services) {
    {
        const auto bytes = readBytes(path, services.files);
        if (auto strict = decodeTextStrictUtf8(bytes))
            return splitLines(strict->text);
    }
    // Read again, as the first reading may have failed for any reason.
    const auto bytes = readBytes(path, services.files);
    std::optional<DecodedText> decoded;
    try {
        decoded = decodeWithAnsiFallback(bytes, services.ansi);
    } catch (const ConversionError& e) {
        throw UserError(cannotOpenFileMessage(path, e.reason()));
    }
    if (!decoded)
        throw UserError(u"No mapping for the Unicode character exists in the target multi-byte "
                        u"code page");
    return splitLines(decoded->text);
}

std::optional<std::u16string> pickDroppedLsp(const std::vector<std::u16string>& names) {
    for (const auto& name : names) {
        const auto file = fileNameOf(name);
        const size_t dot = file.rfind(u'.');
        if (dot != std::u16string_view::npos && upperAscii(file.substr(dot)) == u".LSP")
            return name;
    }
    return std::nullopt;
}

std::u16string_view fileNameOf(std::u16string_view path) {
    return path.substr(fileNameStart(path));
}

std::u16string_view groupTitleOf(std::u16string_view path) {
    const auto name = fileNameOf(path);
    return name.substr(0, name.rfind(u'.'));
}

std::u16string loadPathFor(std::u16string_view lspPath, std::u16string_view programFolder) {
    const auto folder = lspPath.substr(0, fileNameStart(lspPath));
    if (!programFolder.empty() && folder == withSeparator(programFolder))
        return u"Morvane\\" + std::u16string(fileNameOf(lspPath));
    return std::u16string(lspPath);
}

LspLines buildDroppedList(std::u16string_view lspPath, std::u16string_view programFolder,
                          const LspLines& lines, const TextCollator& collator) {
    LspLines rows;
    rows.emplace_back(groupTitleOf(lspPath));
    makeLspIndex(lines, rows, collator);
    if (rows.size() == 1)
        return {};
    rows.push_back(u"LOAD\tロード " + std::u16string(fileNameOf(lspPath)) + u'\t' +
                   loadPathFor(lspPath, programFolder));
    return rows;
}

std::u16string replaceQuestion(size_t rowCount) {
    return toDecimal(static_cast<long long>(rowCount) - 1) +
           u" 個のコマンドが検出されました．\nコマンドリストを置き換えますか？\n"
           u"(現在のコマンドリストは日付時刻を追加したファイル名で保存されます)";
}

std::u16string backupFileName(std::u16string_view listStem, const LocalTime& time) {
    auto year = toDecimal(time.year);
    while (year.size() < 4)
        year.insert(year.begin(), u'0');
    return std::u16string(listStem) + year + twoDigits(time.month) + twoDigits(time.day) +
           twoDigits(time.hour) + twoDigits(time.minute) + twoDigits(time.second) + u".txt";
}

InstalledList installDroppedList(std::u16string_view programFolder, const LspLines& rows,
                                 PlatformServices& services) {
    return installListFile(withSeparator(programFolder) + std::u16string(kListFileName), rows,
                           services);
}

TextEncoding newListEncoding(std::u16string_view listPath, const PlatformServices& services) {
    const TextEncoding firstList = newFileEncoding(services.ansi);
    // New files are ANSI where the ANSI code page is not UTF-8: so is every list.
    if (firstList == TextEncoding::Ansi)
        return TextEncoding::Ansi;
    if (!services.files.fileExists(listPath))
        return firstList;
    const auto bytes = readBytes(listPath, services.files);
    try {
        return encodingOf(bytes, services.ansi);
    } catch (const ConversionError& e) {
        throw UserError(cannotOpenFileMessage(listPath, e.reason()));
    }
}

InstalledList installListFile(std::u16string_view listPath, const LspLines& rows,
                              PlatformServices& services) {
    auto& files = services.files;
    InstalledList installed{std::u16string(listPath), {}};
    std::string bytes;
    try {
        bytes = encodeLines(rows, newListEncoding(listPath, services), services.ansi);
    } catch (const ConversionError& e) {
        throw UserError(cannotCreateListFileMessage(installed.listPath, e.reason()));
    }
    const auto tempPath = files.workingCopyPath(listPath);
    std::u16string reason;
    if (!files.writeFileAtomic(tempPath, bytes, reason))
        throw UserError(cannotCreateListFileMessage(installed.listPath, reason));
    if (files.fileExists(installed.listPath)) {
        installed.backupPath = freeBackupPath(files, listPath, services.clock.now());
        if (!files.moveFile(installed.listPath, installed.backupPath, reason)) {
            files.removeFile(tempPath);
            throw UserError(formatText(u"ファイル %s を %s に移動できません。 %s ",
                                       {installed.listPath, installed.backupPath, reason}));
        }
    }
    if (!files.moveFile(tempPath, installed.listPath, reason)) {
        std::u16string ignored;
        if (!installed.backupPath.empty())
            files.moveFile(installed.backupPath, installed.listPath, ignored);
        files.removeFile(tempPath);
        throw UserError(cannotCreateListFileMessage(installed.listPath, reason));
    }
    return installed;
}

std::u16string cannotCreateListFileMessage(std::u16string_view path, std::u16string_view reason) {
    return u"ファイル \"" + std::u16string(path) + u"\" を作成できません。" +
           std::u16string(reason);
}

} // namespace morvane
