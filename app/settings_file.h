#pragma once
// The settings file (an ini file beside the executable), read and written
// key by key through the profile functions.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvane {

class FileSystem;

// files must outlive the reader.
class SettingsReader {
  public:
    SettingsReader(FileSystem& files, std::u16string path);
    ~SettingsReader();
    SettingsReader(const SettingsReader&) = delete;
    SettingsReader& operator=(const SettingsReader&) = delete;
    // nullopt when the key is missing; a present key may give an empty text.
    // At most 2047 characters arrive.
    std::optional<std::u16string> readText(std::u16string_view section,
                                           std::u16string_view key) const;
    // nullopt when missing, empty or not an integer.
    std::optional<int32_t> readInteger(std::u16string_view section, std::u16string_view key) const;
    // Every key of the section with its value, in file order, read as
    // readText reads each; none for a missing section.
    std::vector<std::pair<std::u16string, std::u16string>>
    readSection(std::u16string_view section) const;

  private:
    bool hasKey(std::u16string_view section, std::u16string_view key) const;
    FileSystem& files_;
    // The file the profile functions read: the settings file, or a copy of
    // it in the temporary folder when its path is too long for them.
    std::u16string profilePath_;
    bool temporaryCopy_ = false;
};

// Writes into a working copy of the file (beside it under a name of its own,
// or in the temporary folder when that path is too long for the profile
// functions) and replaces the file with it at commit, so the settings are
// never left half written, and two launchers saving at the same moment never
// touch each other's copy.
// Any failure throws UserError "%s に書き込めません" naming the settings file.
// files must outlive the writer.
class SettingsWriter {
  public:
    SettingsWriter(FileSystem& files, std::u16string path);
    ~SettingsWriter();
    SettingsWriter(const SettingsWriter&) = delete;
    SettingsWriter& operator=(const SettingsWriter&) = delete;

    void writeText(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    void writeInteger(std::u16string_view section, std::u16string_view key, long long value);
    // The section holds these keys and values and no other; no pairs
    // removes it.
    void replaceSection(std::u16string_view section,
                        const std::vector<std::pair<std::u16string, std::u16string>>& pairs);
    void commit();

  private:
    [[noreturn]] void fail() const;
    FileSystem& files_;
    std::u16string path_;
    std::u16string workingPath_;
};

} // namespace morvane
