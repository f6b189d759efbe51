#include "app/settings_file.h"

#include <windows.h>

#include <vector>

#include "platform/long_path.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"

namespace morvane {
namespace {

constexpr DWORD kTextBufferSize = 2048;

// The profile functions find their file through a buffer of MAX_PATH
// characters, so a settings file at a longer path is read and written as a
// copy in the temporary folder; the file itself is reached through the file
// services, which take a path of any length.
bool profileFunctionsTake(std::u16string_view path) {
    return path.size() < MAX_PATH;
}

// A new empty file in the temporary folder, or an empty path.
std::u16string makeTemporaryFile() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    wchar_t file[MAX_PATH] = {};
    if (length == 0 || length >= MAX_PATH - 14 || !GetTempFileNameW(folder, L"mvx", 0, file))
        return {};
    return fromWide(file);
}

// Key names of a section, as the profile functions list them.
std::vector<std::wstring> keysOf(const std::wstring& path, const std::wstring& section) {
    std::vector<wchar_t> buffer(4096);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetPrivateProfileStringW(section.c_str(), nullptr, L"", buffer.data(),
                                                      size, path.c_str());
        if (length + 2 < size)
            break;
        buffer.resize(buffer.size() * 2);
    }
    std::vector<std::wstring> keys;
    for (const wchar_t* key = buffer.data(); *key; key += wcslen(key) + 1)
        keys.emplace_back(key);
    return keys;
}

} // namespace

SettingsReader::SettingsReader(FileSystem& files, std::u16string path)
    : files_(files), profilePath_(std::move(path)) {
    if (profileFunctionsTake(profilePath_))
        return;
    // A file that cannot be read, or a copy that cannot be made, reads as no
    // file: every key missing.
    std::string bytes;
    std::u16string reason;
    const bool read = files_.readFile(profilePath_, bytes, reason);
    profilePath_ = makeTemporaryFile();
    temporaryCopy_ = !profilePath_.empty();
    if (temporaryCopy_ && read)
        files_.writeFileAtomic(profilePath_, bytes, reason);
}

SettingsReader::~SettingsReader() {
    if (temporaryCopy_)
        files_.removeFile(profilePath_);
}

bool SettingsReader::hasKey(SettingsKey key) const {
    if (profilePath_.empty())
        return false;
    const std::wstring wantedKey = toWide(key.name);
    for (const auto& name : keysOf(toWide(profilePath_), toWide(key.section)))
        if (CompareStringOrdinal(name.c_str(), -1, wantedKey.c_str(), -1, TRUE) == CSTR_EQUAL)
            return true;
    return false;
}

std::u16string SettingsReader::valueOf(SettingsKey key) const {
    wchar_t buffer[kTextBufferSize] = {};
    const DWORD length =
        GetPrivateProfileStringW(toWide(key.section).c_str(), toWide(key.name).c_str(), L"", buffer,
                                 kTextBufferSize, toWide(profilePath_).c_str());
    return fromWide(std::wstring_view(buffer, length));
}

std::optional<std::u16string> SettingsReader::readText(SettingsKey key) const {
    if (!hasKey(key))
        return std::nullopt;
    return valueOf(key);
}

SettingsPairs SettingsReader::readSection(std::u16string_view section) const {
    SettingsPairs pairs;
    if (profilePath_.empty())
        return pairs;
    // The keys come from the file's own listing: each is there, so its value
    // is read without listing the section again for it.
    for (const auto& key : keysOf(toWide(profilePath_), toWide(section))) {
        std::u16string name = fromWide(key);
        std::u16string value = valueOf({section, name});
        pairs.emplace_back(std::move(name), std::move(value));
    }
    return pairs;
}

SettingsWriter::SettingsWriter(FileSystem& files, std::u16string path)
    : files_(files), path_(std::move(path)), workingPath_(files_.workingCopyPath(path_)) {
    if (!profileFunctionsTake(workingPath_)) {
        workingPath_ = makeTemporaryFile();
        if (workingPath_.empty()) {
            failed_ = true;
            return;
        }
    }
    std::string bytes;
    std::u16string reason;
    // A writer that was never made leaves no copy: the destructor removes it.
    failed_ = (files_.fileExists(path_) && !files_.readFile(path_, bytes, reason)) ||
              !files_.writeFileAtomic(workingPath_, bytes, reason);
}

SettingsWriter::~SettingsWriter() {
    if (!workingPath_.empty())
        files_.removeFile(workingPath_);
}

bool SettingsWriter::writeText(SettingsKey key, std::u16string_view value) {
    failed_ = failed_ ||
              !WritePrivateProfileStringW(toWide(key.section).c_str(), toWide(key.name).c_str(),
                                          toWide(value).c_str(), toWide(workingPath_).c_str());
    return !failed_;
}

bool SettingsWriter::replaceSection(std::u16string_view section, const SettingsPairs& pairs) {
    // Removing the section first leaves no key of a longer earlier list.
    failed_ = failed_ || !WritePrivateProfileStringW(toWide(section).c_str(), nullptr, nullptr,
                                                     toWide(workingPath_).c_str());
    for (const auto& [key, value] : pairs)
        writeText({section, key}, value);
    return !failed_;
}

bool SettingsWriter::commit() {
    if (failed_)
        return false;
    // Flush the profile cache so the working copy holds every value.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, toWide(workingPath_).c_str());
    std::string bytes;
    std::u16string reason;
    failed_ = !files_.readFile(workingPath_, bytes, reason) ||
              !files_.writeFileAtomic(path_, bytes, reason);
    return !failed_;
}

bool ProfileSettingsStorage::canReplace(std::u16string_view path) {
    return files_.canReplaceFile(path);
}

std::unique_ptr<SettingsSource> ProfileSettingsStorage::read(std::u16string_view path) {
    return std::make_unique<SettingsReader>(files_, std::u16string(path));
}

std::unique_ptr<SettingsSink> ProfileSettingsStorage::write(std::u16string_view path) {
    const size_t separator = path.find_last_of(u"\\/");
    if (separator != std::u16string_view::npos) {
        // One level: the folder above it (%LOCALAPPDATA%) is the system's.
        const std::wstring folder = toWide(longPathForm(path.substr(0, separator)));
        if (GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES)
            CreateDirectoryW(folder.c_str(), nullptr);
    }
    return std::make_unique<SettingsWriter>(files_, std::u16string(path));
}

} // namespace morvane
