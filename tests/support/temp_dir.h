#pragma once
// A fresh folder for one test, removed with everything in it afterwards.
#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace morvane::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Full path of a file in the folder, as the core's UTF-16 text.
    std::u16string file(std::u16string_view name) const;
    // The folder with a trailing separator, as the core expects a program folder.
    std::u16string folder() const;
    void write(std::u16string_view name, std::string_view bytes) const;
    std::string read(std::u16string_view name) const;
    bool exists(std::u16string_view name) const;
    // The names of the files in the folder, to see that nothing else appeared.
    std::set<std::u16string> fileNames() const;

  private:
    std::filesystem::path path_;
};

std::u16string pathText(const std::filesystem::path& path);

} // namespace morvane::test
