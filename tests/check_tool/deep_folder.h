#pragma once
// A folder nested below a temporary folder until its path is longer than
// Win32's plain form allows, made and removed through the \\?\ form (the
// temporary folder's own clean-up cannot reach that deep).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/long_path.h"
#include "platform/win32/win32_text.h"
#include "support/temp_dir.h"

namespace morvane::test {

class DeepFolder {
  public:
    // The first level is `first` in dir; the path ends without a separator.
    DeepFolder(const TempDir& dir, std::u16string_view first, size_t length)
        : path_(dir.file(first)), relative_(first) {
        create();
        for (int level = 0; path_.size() < length; ++level) {
            const std::u16string name = u"プロジェクト" + fromWide(std::to_wstring(level)) + u"_" +
                                        std::u16string(30, u'f');
            path_ += u"\\" + name;
            relative_ += u"\\" + name;
            create();
        }
    }
    // Each level with its files, deepest first.
    ~DeepFolder() {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
            for (const auto& name : namesIn(*it))
                DeleteFileW(systemForm(*it + u"\\" + name).c_str());
            RemoveDirectoryW(systemForm(*it).c_str());
        }
    }
    DeepFolder(const DeepFolder&) = delete;
    DeepFolder& operator=(const DeepFolder&) = delete;

    const std::u16string& path() const { return path_; }
    // The path from the temporary folder.
    const std::u16string& relative() const { return relative_; }
    std::u16string file(std::u16string_view name) const {
        return path_ + u"\\" + std::u16string(name);
    }
    // A file the folder holds, removed with it.
    void write(std::u16string_view name, std::string_view bytes) {
        const std::wstring path = systemForm(file(name));
        const UniqueFile out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(out) << "error " << GetLastError();
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                              nullptr));
    }
    // The names of the deepest level's files and folders.
    std::vector<std::u16string> names() const { return namesIn(path_); }

    static std::wstring systemForm(std::u16string_view path) { return toWide(longPathForm(path)); }

  private:
    static std::vector<std::u16string> namesIn(const std::u16string& folder) {
        std::vector<std::u16string> found;
        WIN32_FIND_DATAW entry{};
        HANDLE search = FindFirstFileW(systemForm(folder + u"\\*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE)
            return found;
        do {
            const std::u16string name = fromWide(entry.cFileName);
            if (name != u"." && name != u"..")
                found.push_back(name);
        } while (FindNextFileW(search, &entry));
        FindClose(search);
        return found;
    }
    void create() {
        ASSERT_TRUE(CreateDirectoryW(systemForm(path_).c_str(), nullptr))
            << "error " << GetLastError() << " at " << path_.size() << " characters";
        made_.push_back(path_);
    }
    std::u16string path_;
    std::u16string relative_;
    std::vector<std::u16string> made_;
};

} // namespace morvane::test
