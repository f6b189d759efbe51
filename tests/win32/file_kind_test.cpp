// Whether a path names a file, links followed: the decision as a table, and
// what the file system under test can show of it.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "platform/win32/file_kind.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "support/case_name.h"
#include "support/temp_dir.h"

namespace morvane {
namespace {

constexpr DWORD kNothing = INVALID_FILE_ATTRIBUTES;
constexpr DWORD kFile = FILE_ATTRIBUTE_ARCHIVE;
constexpr DWORD kFolder = FILE_ATTRIBUTE_DIRECTORY;
constexpr DWORD kFileLink = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE;
constexpr DWORD kFolderLink = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY;

struct KindCase {
    const char* name;
    friend void PrintTo(const KindCase& c, std::ostream* os) { *os << c.name; }
    DWORD own;
    std::optional<DWORD> target;
    bool isFile;
};

class FileFollowingLinks : public testing::TestWithParam<KindCase> {};

TEST_P(FileFollowingLinks, CountsALinkByWhatItPointsAt) {
    const auto& c = GetParam();
    EXPECT_EQ(isFileFollowingLinks(c.own, c.target), c.isFile);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileFollowingLinks,
    testing::Values(KindCase{"nothing", kNothing, std::nullopt, false},
                    KindCase{"plain file", kFile, std::nullopt, true},
                    KindCase{"read-only file", FILE_ATTRIBUTE_READONLY, std::nullopt, true},
                    KindCase{"folder", kFolder, std::nullopt, false},
                    KindCase{"link to a file", kFileLink, kFile, true},
                    KindCase{"broken link", kFileLink, std::nullopt, false},
                    KindCase{"file link to a folder", kFileLink, kFolder, false},
                    KindCase{"folder link to a file", kFolderLink, kFile, true},
                    KindCase{"folder link to a folder", kFolderLink, kFolder, false},
                    KindCase{"broken folder link", kFolderLink, std::nullopt, false}),
    test::CaseName());

TEST(FileFollowingLinks, AsksTheFileSystem) {
    test::TempDir dir;
    dir.write(u"a.lsp", "(princ)");
    CreateDirectoryW(toWide(dir.file(u"sub")).c_str(), nullptr);
    const auto& files = platformServices().files;
    EXPECT_TRUE(files.fileExists(dir.file(u"a.lsp")));
    EXPECT_FALSE(files.fileExists(dir.file(u"sub")));
    EXPECT_FALSE(files.fileExists(dir.file(u"none.lsp")));

    // Links, as far as this system makes them and reads them back (Wine
    // makes links it cannot follow itself: there only the broken one shows).
    const std::wstring brokenLink = toWide(dir.file(u"broken-link.lsp"));
    if (!CreateSymbolicLinkW(brokenLink.c_str(), toWide(dir.file(u"gone.lsp")).c_str(), 0))
        GTEST_SKIP() << "no symbolic links here (error " << GetLastError() << ")";
    EXPECT_FALSE(files.fileExists(dir.file(u"broken-link.lsp")));
    const std::wstring fileLink = toWide(dir.file(u"file-link.lsp"));
    ASSERT_TRUE(CreateSymbolicLinkW(fileLink.c_str(), toWide(dir.file(u"a.lsp")).c_str(), 0));
    if (GetFileAttributesW(fileLink.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "links made here do not resolve";
    EXPECT_TRUE(files.fileExists(dir.file(u"file-link.lsp")));
    const std::wstring folderLink = toWide(dir.file(u"folder-link"));
    ASSERT_TRUE(CreateSymbolicLinkW(folderLink.c_str(), toWide(dir.file(u"sub")).c_str(),
                                    SYMBOLIC_LINK_FLAG_DIRECTORY));
    EXPECT_FALSE(files.fileExists(dir.file(u"folder-link")));
}

} // namespace
} // namespace morvane
