// Replacing a file through a working copy when the last steps fail, as a
// file server's delayed write error makes them fail; and the settings file
// written by two launchers at once, or by one whose write fails.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/settings_file.h"
#include "platform/win32/file_writing.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "support/case_name.h"
#include "support/temp_dir.h"
#include "text/user_error.h"

namespace morvane {
namespace {

// Does the step, then reports the error a file server reports after it.
class FailingSteps final : public WorkingCopySteps {
  public:
    bool failFlush = false, failClose = false;
    static constexpr DWORD kError = ERROR_NETNAME_DELETED;

    bool flush(HANDLE file) const override {
        return WorkingCopySteps::flush(file) && fails(failFlush);
    }
    bool close(HANDLE file) const override {
        return WorkingCopySteps::close(file) && fails(failClose);
    }

  private:
    static bool fails(bool fail) {
        if (fail)
            SetLastError(kError);
        return !fail;
    }
};

struct StepCase {
    const char* name;
    friend void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }
    bool failFlush, failClose;
};

class FailingStep : public testing::TestWithParam<StepCase> {};

TEST_P(FailingStep, LeavesTheOldFileAndNoWorkingCopy) {
    test::TempDir dir;
    dir.write(u"MorvaneList.txt", "old list\r\n");
    FailingSteps steps;
    steps.failFlush = GetParam().failFlush;
    steps.failClose = GetParam().failClose;
    std::u16string reason;
    EXPECT_FALSE(
        replaceFileAtomically(dir.file(u"MorvaneList.txt"), "half a new list", reason, steps));
    EXPECT_EQ(reason, systemErrorText(FailingSteps::kError));
    EXPECT_EQ(dir.read(u"MorvaneList.txt"), "old list\r\n");
    EXPECT_EQ(dir.fileNames(), std::set<std::u16string>{u"MorvaneList.txt"});
}

INSTANTIATE_TEST_SUITE_P(Steps, FailingStep,
                         testing::Values(StepCase{"flush", true, false},
                                         StepCase{"close", false, true}),
                         test::CaseName());

// The real file system, but the settings file's replacement fails at the
// close, as on a file server.
class ServerFiles final : public FileSystem {
  public:
    explicit ServerFiles(std::u16string failing) : failing_(std::move(failing)) {
        steps_.failClose = true;
    }
    bool fileExists(std::u16string_view path) const override { return real().fileExists(path); }
    bool readFile(std::u16string_view path, std::string& bytes,
                  std::u16string& reason) const override {
        return real().readFile(path, bytes, reason);
    }
    bool writeFileAtomic(std::u16string_view path, std::string_view bytes,
                         std::u16string& reason) override {
        if (path == failing_)
            return replaceFileAtomically(path, bytes, reason, steps_);
        return real().writeFileAtomic(path, bytes, reason);
    }
    std::u16string workingCopyPath(std::u16string_view path) override {
        return real().workingCopyPath(path);
    }
    bool moveFile(std::u16string_view from, std::u16string_view to,
                  std::u16string& reason) override {
        return real().moveFile(from, to, reason);
    }
    bool removeFile(std::u16string_view path) override { return real().removeFile(path); }
    std::optional<FileStamp> fileStamp(std::u16string_view path) const override {
        return real().fileStamp(path);
    }
    bool canReplaceFile(std::u16string_view path) override { return real().canReplaceFile(path); }

  private:
    static FileSystem& real() { return platformServices().files; }
    std::u16string failing_;
    FailingSteps steps_;
};

TEST(SettingsWriter, FailedReplacementKeepsTheOldFileAndNoWorkingCopy) {
    test::TempDir dir;
    const std::string old = "[Target]\r\nProgID=Old.Application\r\n";
    dir.write(u"MorvaneX.ini", old);
    ServerFiles files(dir.file(u"MorvaneX.ini"));
    ProfileSettingsStorage storage(files);
    const SettingsFiles besideExe{SettingsPlace::BesideExe, dir.file(u"MorvaneX.ini"), u""};
    LauncherSettings settings;
    settings.progId = u"New.Application";
    try {
        writeSettings(besideExe, settings, storage);
        ADD_FAILURE() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(e.message(), dir.file(u"MorvaneX.ini") + u" に書き込めません");
    }
    EXPECT_EQ(dir.read(u"MorvaneX.ini"), old);
    EXPECT_EQ(dir.fileNames(), std::set<std::u16string>{u"MorvaneX.ini"});
}

// Two launchers closing at log-off: each commits its own copy, the last one
// wins, and neither removes or commits the other's.
TEST(SettingsWriter, TwoAtOnceKeepToTheirOwnWorkingCopies) {
    test::TempDir dir;
    auto& files = platformServices().files;
    const auto ini = dir.file(u"MorvaneX.ini");
    const auto progId = [&] { return SettingsReader(files, ini).readText(kProgIdKey); };
    {
        SettingsWriter first(files, ini);
        SettingsWriter second(files, ini);
        EXPECT_TRUE(first.writeText(kProgIdKey, u"First.Application"));
        EXPECT_TRUE(second.writeText(kProgIdKey, u"Second.Application"));
        EXPECT_TRUE(first.commit());
        EXPECT_EQ(progId(), u"First.Application");
        {
            SettingsWriter third(files, ini);
            EXPECT_TRUE(third.writeText(kLeftKey, u"3"));
        } // given up: its copy goes, the others' stay
        EXPECT_TRUE(second.commit());
        EXPECT_EQ(progId(), u"Second.Application");
    }
    EXPECT_EQ(dir.fileNames(), std::set<std::u16string>{u"MorvaneX.ini"});
}

} // namespace
} // namespace morvane
