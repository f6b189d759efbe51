// The running platform's services: POSIX natively, Win32 under Wine, on the
// same fixtures.
#include <gtest/gtest.h>

#include "services/services.h"
#include "support/temp_dir.h"
#include "text/utf.h"

namespace morvane {
namespace {

TEST(PlatformServices, ShiftJisRoundTrip) {
    const auto& ansi = platformServices().ansi;
    const std::string sjis = "\x83\x52\x83\x7d\x83\x93\x83\x68 ABC \x82\xa0"; // コマンド ABC あ
    EXPECT_EQ(ansi.decode(sjis), u"コマンド ABC あ");
    EXPECT_EQ(ansi.encode(u"コマンド ABC あ"), sjis);
    EXPECT_EQ(ansi.decode("\x5c"), u"\\"); // the path separator survives
}

TEST(PlatformServices, CollatorIgnoresCase) {
    const auto& collator = platformServices().collator;
    EXPECT_EQ(collator.compareIgnoreCase(u"Box", u"bOX"), 0);
    EXPECT_LT(collator.compareIgnoreCase(u"a", u"B"), 0);
    EXPECT_GT(collator.compareIgnoreCase(u"zoom", u"Box"), 0);
    EXPECT_LT(collator.compareIgnoreCase(u"c:Box ,", u"c:Boxes ,"), 0);
    EXPECT_LT(collator.compareIgnoreCase(u"C:zm2 ,         ,17", u"C:zm2 ,inner ,20,2"), 0);
    EXPECT_LT(collator.compareIgnoreCase(u"C:zm2 ,", u"my-scale ,"), 0);
    EXPECT_LT(collator.compareIgnoreCase(u"a1", u"aa"), 0);
}

TEST(PlatformServices, FileExistsIsFalseForFolders) {
    test::TempDir dir;
    dir.write(u"a.txt", "x");
    std::filesystem::create_directory(dir.path() / "sub");
    const auto& files = platformServices().files;
    EXPECT_TRUE(files.fileExists(dir.file(u"a.txt")));
    EXPECT_FALSE(files.fileExists(dir.file(u"sub")));
    EXPECT_FALSE(files.fileExists(dir.file(u"none.txt")));
}

TEST(PlatformServices, ReadsWritesAndMovesFilesWithJapaneseNames) {
    test::TempDir dir;
    auto& files = platformServices().files;
    std::u16string reason;
    const auto path = dir.file(u"リスト.txt");
    ASSERT_TRUE(files.writeFileAtomic(path, std::string("a\0b", 3), reason));
    ASSERT_TRUE(files.writeFileAtomic(path, "new", reason)); // replaces
    std::string bytes;
    ASSERT_TRUE(files.readFile(path, bytes, reason));
    EXPECT_EQ(bytes, "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "no temporary file left behind";

    dir.write(u"taken.txt", "old");
    EXPECT_FALSE(files.moveFile(path, dir.file(u"taken.txt"), reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(dir.read(u"taken.txt"), "old");
    ASSERT_TRUE(files.moveFile(path, dir.file(u"moved.txt"), reason));
    EXPECT_FALSE(files.fileExists(path));
    EXPECT_EQ(dir.read(u"moved.txt"), "new");
    EXPECT_TRUE(files.removeFile(dir.file(u"moved.txt")));
}

// Two writers of one file at the same moment (two launchers saving at
// log-off) never share a working copy: each call gets a name of its own
// beside the file, which a write in between leaves alone.
TEST(PlatformServices, WorkingCopiesHaveNamesOfTheirOwn) {
    test::TempDir dir;
    auto& files = platformServices().files;
    const auto path = dir.file(u"MorvaneX.ini");
    const auto first = files.workingCopyPath(path);
    const auto second = files.workingCopyPath(path);
    EXPECT_NE(first, second);
    for (const auto& name : {first, second})
        EXPECT_TRUE(name.starts_with(path + u".")) << utf16ToUtf8(name);
    std::u16string reason;
    ASSERT_TRUE(files.writeFileAtomic(first, "theirs", reason));
    ASSERT_TRUE(files.writeFileAtomic(path, "mine", reason));
    EXPECT_EQ(dir.read(u"MorvaneX.ini"), "mine");
    std::string bytes;
    ASSERT_TRUE(files.readFile(first, bytes, reason));
    EXPECT_EQ(bytes, "theirs");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(PlatformServices, FailuresCarryTheSystemsReason) {
    test::TempDir dir;
    auto& files = platformServices().files;
    std::u16string reason;
    std::string bytes;
    EXPECT_FALSE(files.readFile(dir.file(u"none.txt"), bytes, reason));
    EXPECT_FALSE(reason.empty());
    reason.clear();
    EXPECT_FALSE(files.writeFileAtomic(dir.file(u"no-such-folder/x.txt"), "x", reason));
    EXPECT_FALSE(reason.empty());
}

TEST(PlatformServices, FileStampsTellVersionsOfAFileApart) {
    test::TempDir dir;
    const auto& files = platformServices().files;
    EXPECT_FALSE(files.fileStamp(dir.file(u"none.txt")));
    std::filesystem::create_directory(dir.path() / "sub");
    EXPECT_FALSE(files.fileStamp(dir.file(u"sub"))) << "a folder is no file";

    const auto path = dir.file(u"リスト.txt");
    dir.write(u"リスト.txt", "abc");
    const auto first = files.fileStamp(path);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, 3u);
    EXPECT_EQ(files.fileStamp(path), first) << "nothing changed";

    // Rewritten with as many bytes: only the time tells. It is set, as a
    // rewrite within the file system's time resolution would not move it.
    const auto native = dir.path() / u"リスト.txt";
    const auto written = std::filesystem::last_write_time(native);
    dir.write(u"リスト.txt", "xyz");
    std::filesystem::last_write_time(native, written + std::chrono::seconds(2));
    const auto second = files.fileStamp(path);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->size, 3u);
    EXPECT_NE(second, first);

    dir.write(u"リスト.txt", "abcd");
    std::filesystem::last_write_time(native, written + std::chrono::seconds(2));
    EXPECT_EQ(files.fileStamp(path)->size, 4u);
    EXPECT_NE(files.fileStamp(path), second) << "the same time, another size";
}

TEST(PlatformServices, ClockGivesAPlausibleLocalTime) {
    const auto t = platformServices().clock.now();
    EXPECT_GE(t.year, 2024);
    EXPECT_TRUE(t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31);
    EXPECT_TRUE(t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59);
}

} // namespace
} // namespace morvane
