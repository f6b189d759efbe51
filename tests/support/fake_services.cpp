#include "support/fake_services.h"

#include "text/letters.h"
#include "text/path_name.h"
#include "text/utf.h"

namespace morvane::test {

namespace {

constexpr unsigned kUtf8 = 65001;
// Stands for the system's text of ERROR_INVALID_FLAGS.
constexpr std::u16string_view kInvalidFlags = u"フラグが無効です";

} // namespace

std::u16string Utf8AnsiCodePage::decode(std::string_view bytes) const {
    if (!bytes.empty() && !code_page::decodeTakes(kUtf8, decodeFlags))
        throw ConversionError(std::u16string(kInvalidFlags));
    return utf8ToUtf16(bytes);
}

std::string Utf8AnsiCodePage::encode(std::u16string_view text) const {
    if (!text.empty() && !code_page::encodeTakes(kUtf8, encodeFlags))
        throw ConversionError(std::u16string(kInvalidFlags));
    return utf16ToUtf8(text);
}

bool Utf8AnsiCodePage::isValid(std::string_view bytes) const {
    return utf8ToUtf16Strict(bytes).has_value();
}

bool FakeFileSystem::fileExists(std::u16string_view path) const {
    const std::u16string key(path);
    return files.count(key) || unreadable.count(key);
}

bool FakeFileSystem::readFile(std::u16string_view path, std::string& bytes,
                              std::u16string& reason) const {
    const std::u16string key(path);
    if (auto it = unreadable.find(key); it != unreadable.end()) {
        reason = it->second;
        return false;
    }
    auto it = files.find(key);
    if (it == files.end()) {
        reason = u"not found";
        return false;
    }
    bytes = it->second;
    return true;
}

bool FakeFileSystem::writeFileAtomic(std::u16string_view path, std::string_view bytes,
                                     std::u16string& reason) {
    const std::u16string key(path);
    if (auto it = unreadable.find(key); it != unreadable.end()) {
        reason = it->second;
        return false;
    }
    if (!canReplaceFile(path)) {
        reason = u"access denied";
        return false;
    }
    files[key] = std::string(bytes);
    lastWrites[key] = ++writes_;
    return true;
}

std::u16string FakeFileSystem::workingCopyPath(std::u16string_view path) {
    return std::u16string(path) + u".~" + toDecimal(++workingCopies);
}

bool FakeFileSystem::moveFile(std::u16string_view from, std::u16string_view to,
                              std::u16string& reason) {
    const std::u16string source(from), target(to);
    if (!files.count(source) || files.count(target)) {
        reason = u"cannot move";
        return false;
    }
    files[target] = std::move(files[source]);
    files.erase(source);
    if (auto time = lastWrites.find(source); time != lastWrites.end()) {
        lastWrites[target] = time->second;
        lastWrites.erase(source);
    }
    return true;
}

bool FakeFileSystem::removeFile(std::u16string_view path) {
    return files.erase(std::u16string(path)) > 0;
}

std::optional<FileStamp> FakeFileSystem::fileStamp(std::u16string_view path) const {
    const std::u16string key(path);
    const auto time = lastWrites.find(key);
    const uint64_t lastWrite = time == lastWrites.end() ? 0 : time->second;
    // A file that cannot be read still has its entry in the folder.
    if (unreadable.count(key))
        return FileStamp{lastWrite, 0};
    const auto file = files.find(key);
    if (file == files.end())
        return std::nullopt;
    return FileStamp{lastWrite, file->second.size()};
}

bool FakeFileSystem::canReplaceFile(std::u16string_view path) {
    const std::u16string folder(path.substr(0, fileNameStart(path)));
    return !unwritable.count(std::u16string(path)) && !unwritable.count(folder);
}

} // namespace morvane::test
