// Both tools in a folder whose path is longer than Win32's plain form
// allows: the index tool writing a list there, and the checker given the
// folder as a full path and as a path relative to its current folder. (Wine
// takes such paths in any form; Windows only in the \\?\ form, or where the
// system allows long paths and the exe's manifest says longPathAware.)
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "check_exe.h"
#include "check_tool_win32.h"
#include "deep_folder.h"
#include "platform/long_path.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "support/temp_dir.h"
#include "text/utf.h"

namespace morvane {
namespace {

std::wstring quotedArgument(std::u16string_view path) {
    return L"\"" + toWide(path) + L"\"";
}

TEST(ToolsLongPathWine, BothToolsWorkInAFolderOfOver300Characters) {
    test::TempDir dir;
    test::DeepFolder folder(dir, u"図面", 300);
    ASSERT_GE(folder.path().size(), 300u);
    folder.write(u"tools.lsp", ";; Draw a box\n(defun c:box () 1)\n");
    folder.write(u"MorvaneList.txt", "old list\r\n");
    folder.write(u"TargetCAD_APIVersion.txt", "BricsCAD\tBricscadApp.AcadApplication\r\n");
    folder.write(u"MorvaneX.ini", "[Target]\r\nProgID=BricscadApp.AcadApplication\r\n");

    // The list of tools.lsp replaces the old one, which is kept.
    const test::ExeRun index = test::runToolToFile(
        L"" MORVANE_INDEX_EXE, quotedArgument(folder.file(u"tools.lsp")) + L" --exe-dir " +
                                   quotedArgument(folder.path()) + L" --out " +
                                   quotedArgument(folder.file(u"MorvaneList.txt")));
    EXPECT_EQ(index.code, 0u) << index.out;
    EXPECT_NE(index.out.find("the old list is kept as"), std::string::npos) << index.out;
    const auto names = folder.names();
    EXPECT_EQ(names.size(), 5u);
    EXPECT_EQ(std::count_if(names.begin(), names.end(),
                            [](const auto& name) {
                                return name.starts_with(u"MorvaneList2") && name.ends_with(u".txt");
                            }),
              1);

    // The new list's LOAD row names Morvane\tools.lsp, which the checker
    // finds in the folder; the folder takes the checker's probe file.
    struct Way {
        const char* name;
        std::u16string folder;
    };
    for (const Way& way :
         {Way{"full path", folder.path()}, Way{"relative path", folder.relative()}}) {
        SCOPED_TRACE(way.name);
        const test::ExeRun check =
            test::runToolToFile(L"" MORVANE_CHECK_EXE, quotedArgument(way.folder) + L" --lang en",
                                toWide(dir.folder()));
        EXPECT_TRUE(check.ended);
        EXPECT_EQ(check.code, 0u) << check.out;
        EXPECT_EQ(check.out, "0 errors, 0 warnings\n");
        // The probe file is gone again.
        EXPECT_EQ(folder.names().size(), 5u);
    }
}

// As Windows without the long-path policy: a path of MAX_PATH or more that
// the file services cannot put in the \\?\ form (they do so for full paths
// only) is refused. Wine takes such paths.
class LongRelativePathsRefused final : public FileSystem {
  public:
    explicit LongRelativePathsRefused(FileSystem& files) : files_(files) {}
    bool fileExists(std::u16string_view path) const override {
        return !refused(path) && files_.fileExists(path);
    }
    bool readFile(std::u16string_view path, std::string& bytes,
                  std::u16string& reason) const override {
        return refuse(path, reason) && files_.readFile(path, bytes, reason);
    }
    bool writeFileAtomic(std::u16string_view path, std::string_view bytes,
                         std::u16string& reason) override {
        return refuse(path, reason) && files_.writeFileAtomic(path, bytes, reason);
    }
    bool moveFile(std::u16string_view from, std::u16string_view to,
                  std::u16string& reason) override {
        return refuse(from, reason) && refuse(to, reason) && files_.moveFile(from, to, reason);
    }
    std::u16string workingCopyPath(std::u16string_view path) override {
        return files_.workingCopyPath(path);
    }
    bool removeFile(std::u16string_view path) override {
        return !refused(path) && files_.removeFile(path);
    }
    std::optional<FileStamp> fileStamp(std::u16string_view path) const override {
        return refused(path) ? std::nullopt : files_.fileStamp(path);
    }
    bool canReplaceFile(std::u16string_view path) override {
        return !refused(path) && files_.canReplaceFile(path);
    }

  private:
    static bool refused(std::u16string_view path) {
        return path.size() >= MAX_PATH && longPathForm(path) == path;
    }
    static bool refuse(std::u16string_view path, std::u16string& reason) {
        if (!refused(path))
            return true;
        reason = u"the file name is too long";
        return false;
    }
    FileSystem& files_;
};

// Restores the current folder when done.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::u16string& folder) {
        GetCurrentDirectoryW(MAX_PATH, previous_);
        SetCurrentDirectoryW(toWide(folder).c_str());
    }
    ~CurrentFolder() { SetCurrentDirectoryW(previous_); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

  private:
    wchar_t previous_[MAX_PATH] = {};
};

// The checker as its exe runs it, given a folder relative to a short current
// folder: every path it hands the file services is full, so they can give it
// the long form.
TEST(ToolsLongPathWine, TheCheckerHandsTheFileServicesFullPaths) {
    test::TempDir dir;
    test::DeepFolder folder(dir, u"図面", 300);
    folder.write(u"sample.lsp", "(princ)\r\n");
    folder.write(u"MorvaneList.txt", "LISP\tsample\tMorvane\\sample.lsp\r\n");
    folder.write(u"TargetCAD_APIVersion.txt", "BricsCAD\tBricscadApp.AcadApplication\r\n");
    folder.write(u"MorvaneX.ini", "[Target]\r\nProgID=BricscadApp.AcadApplication\r\n");
    const CurrentFolder current(dir.folder());
    auto& system = platformServices();
    LongRelativePathsRefused strict(system.files);
    PlatformServices services{system.ansi, system.collator, strict, system.clock};
    std::u16string out, err;
    EXPECT_EQ(runCheckToolOnWindows({folder.relative()}, services, nullptr, nullptr,
                                    MessageLanguage::kEnglish, out, err),
              0)
        << utf16ToUtf8(out);
    EXPECT_EQ(out, u"0 errors, 0 warnings\n") << utf16ToUtf8(out);
    EXPECT_EQ(err, u"");
    EXPECT_EQ(folder.names().size(), 4u);
}

} // namespace
} // namespace morvane
