#pragma once
// Reading and writing TargetCAD_APIVersion.txt. The encoding found at the
// last read is remembered and written back with its mark (code page 932
// stays 932 on a system whose ANSI code page is UTF-8); a list that never
// read its file is written as a new file (newFileEncoding).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/text_file.h"

namespace morvane {

class AnsiCodePage;
struct PlatformServices;

class TargetListFile {
  public:
    explicit TargetListFile(std::u16string path) : path_(std::move(path)) {}

    const std::u16string& path() const { return path_; }
    // The encoding write uses.
    TextEncoding encoding(const AnsiCodePage& ansi) const;

    // The file's lines, or nullopt when there is no file. A file that exists
    // but cannot be opened or decoded throws "ファイル %s は開けません。 %s ".
    std::optional<std::vector<std::u16string>> read(const PlatformServices& services);

    // Replaces the file atomically, so a failed write leaves the old file
    // whole. Failure, the encoding's included, throws
    // "ファイル "path" を作成できません。" + reason.
    void write(const std::vector<std::u16string>& lines, const PlatformServices& services) const;

  private:
    std::u16string path_;
    std::optional<TextEncoding> encoding_; // none before a file was read
};

std::u16string cannotCreateFileMessage(std::u16string_view path, std::u16string_view reason);

} // namespace morvane
