// The file services on a path too long for Win32's plain form: a LISP file
// deep in a project folder, written, read, kept as a backup and removed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings_file.h"
#include "platform/long_path.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "support/temp_dir.h"
#include "text/utf.h"

namespace morvane {
namespace {

std::wstring systemForm(std::u16string_view path) {
    return toWide(longPathForm(path));
}

// Nested folders below a temporary folder until the path is long; removed
// again, deepest first (they are too deep for the temporary folder's own
// clean-up).
class DeepFolder {
  public:
    DeepFolder(const test::TempDir& dir, size_t length) : path_(dir.file(u"図面")) {
        create();
        for (int level = 0; path_.size() < length; ++level) {
            path_ += u"\\プロジェクト" + fromWide(std::to_wstring(level)) + u"_" +
                     std::u16string(30, u'f');
            create();
        }
    }
    ~DeepFolder() {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it)
            RemoveDirectoryW(systemForm(*it).c_str());
    }
    DeepFolder(const DeepFolder&) = delete;
    DeepFolder& operator=(const DeepFolder&) = delete;

    const std::u16string& path() const { return path_; }
    std::vector<std::wstring> names() const {
        std::vector<std::wstring> found;
        WIN32_FIND_DATAW entry{};
        HANDLE search = FindFirstFileW(systemForm(path_ + u"\\*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE)
            return found;
        do {
            const std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..")
                found.push_back(name);
        } while (FindNextFileW(search, &entry));
        FindClose(search);
        return found;
    }

  private:
    void create() {
        ASSERT_TRUE(CreateDirectoryW(systemForm(path_).c_str(), nullptr))
            << "error " << GetLastError() << " at " << path_.size() << " characters";
        made_.push_back(path_);
    }
    std::u16string path_;
    std::vector<std::u16string> made_;
};

TEST(LongPathFiles, WorkBeyondTheShortPathLimit) {
    test::TempDir dir;
    const DeepFolder folder(dir, 300);
    const std::u16string lsp = folder.path() + u"\\tools.lsp";
    const std::u16string backup = folder.path() + u"\\tools20250717143005.lsp";
    ASSERT_GE(lsp.size(), 300u);
    auto& files = platformServices().files;
    std::u16string reason;
    std::string bytes;

    ASSERT_TRUE(files.writeFileAtomic(lsp, "(defun c:one () (princ))", reason))
        << utf16ToUtf8(reason);
    EXPECT_TRUE(files.fileExists(lsp));
    // Replacing it: the temporary file beside it is longer still.
    ASSERT_TRUE(files.writeFileAtomic(lsp, "(defun c:two () (princ))", reason))
        << utf16ToUtf8(reason);
    ASSERT_TRUE(files.readFile(lsp, bytes, reason)) << utf16ToUtf8(reason);
    EXPECT_EQ(bytes, "(defun c:two () (princ))");
    const auto stamp = files.fileStamp(lsp);
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->size, bytes.size());
    // The long form is passed on untouched by the system: the tidying is ours.
    const std::u16string untidy = folder.path() + u"/./sub/../tools.lsp";
    EXPECT_TRUE(files.fileExists(untidy));
    bytes.clear();
    ASSERT_TRUE(files.readFile(untidy, bytes, reason)) << utf16ToUtf8(reason);
    EXPECT_EQ(bytes, "(defun c:two () (princ))");
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"tools.lsp"}); // no temporary left
    // The write probe reaches that far too, and leaves nothing either.
    EXPECT_TRUE(files.canReplaceFile(lsp));
    EXPECT_TRUE(files.canReplaceFile(folder.path() + u"\\MorvaneX.ini"));
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"tools.lsp"});

    // Kept under a time-stamped name; a second move onto it is refused.
    ASSERT_TRUE(files.moveFile(lsp, backup, reason)) << utf16ToUtf8(reason);
    EXPECT_FALSE(files.fileExists(lsp));
    EXPECT_TRUE(files.fileExists(backup));
    ASSERT_TRUE(files.writeFileAtomic(lsp, "", reason));
    EXPECT_FALSE(files.moveFile(lsp, backup, reason));
    EXPECT_FALSE(reason.empty());

    EXPECT_TRUE(files.removeFile(lsp));
    EXPECT_TRUE(files.removeFile(backup));
    EXPECT_TRUE(folder.names().empty());
    reason.clear();
    EXPECT_FALSE(files.readFile(lsp, bytes, reason));
    EXPECT_FALSE(reason.empty());
}

// The files the settings take in the temporary folder: the profile
// functions' copies of a settings file at a long path.
std::vector<std::wstring> settingsCopiesInTheTemporaryFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW entry{};
    HANDLE search = FindFirstFileW((std::wstring(folder) + L"mvx*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return found;
    do {
        found.push_back(entry.cFileName);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return found;
}

// The settings file of a launcher that sits deep in a folder tree: written
// through its working copy in the temporary folder and read back key by
// key, leaving no copy behind there.
TEST(LongPathFiles, SettingsBeyondTheShortPathLimit) {
    test::TempDir dir;
    const DeepFolder folder(dir, 300);
    const std::u16string ini = folder.path() + u"\\MorvaneX.ini";
    auto& files = platformServices().files;
    const auto copiesBefore = settingsCopiesInTheTemporaryFolder();
    {
        SettingsWriter writer(files, ini);
        EXPECT_TRUE(writer.writeText(kProgIdKey, u"BricscadApp.AcadApplication"));
        EXPECT_TRUE(writer.writeText(kLeftKey, u"-12"));
        EXPECT_TRUE(writer.commit());
    }
    EXPECT_EQ(folder.names(), std::vector<std::wstring>{L"MorvaneX.ini"}) << "no working copy left";
    {
        const SettingsReader reader(files, ini);
        EXPECT_EQ(reader.readText(kProgIdKey), u"BricscadApp.AcadApplication");
        EXPECT_EQ(reader.readText(kLeftKey), u"-12");
        EXPECT_EQ(reader.readText(kTopKey), std::nullopt);
    }
    EXPECT_TRUE(files.removeFile(ini));
    EXPECT_EQ(settingsCopiesInTheTemporaryFolder(), copiesBefore) << "no working copy left";
}

} // namespace
} // namespace morvane
