// The watch of the exe folder for the live lists, for real: a hidden
// message-only window hears of a rewritten list, the watch ends cleanly
// while changes are under way, and a folder that cannot be watched leaves
// the two-second check alone to find changes.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "list/list_file.h"
#include "live/live_lists.h"
#include "platform/win32/folder_watch.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "support/temp_dir.h"

namespace morvane {
namespace {

constexpr UINT kChangedMessage = WM_APP + 17;
constexpr LiveFileSet kListBit = liveFileBit(LiveFile::CommandList);
constexpr LiveFileSet kTargetsBit = liveFileBit(LiveFile::TargetList);

// A window nobody sees that only receives posted messages.
class MessageWindow {
  public:
    MessageWindow()
        : hwnd_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                nullptr)) {}
    ~MessageWindow() {
        DestroyWindow(hwnd_);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, kChangedMessage, kChangedMessage, PM_REMOVE)) {
        }
    }
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

    // Takes the watch's message off the queue, waiting up to timeout.
    bool waitForChange(DWORD timeoutMs) const {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        for (;;) {
            MSG msg;
            if (PeekMessageW(&msg, hwnd_, kChangedMessage, kChangedMessage, PM_REMOVE))
                return true;
            const ULONGLONG now = GetTickCount64();
            if (now >= end)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now),
                                      QS_POSTMESSAGE);
        }
    }
    // The watch's messages waiting in the queue, left there.
    int waitingChanges() const {
        int count = 0;
        MSG msg;
        while (PeekMessageW(&msg, hwnd_, kChangedMessage, kChangedMessage, PM_REMOVE))
            ++count;
        return count;
    }

  private:
    HWND hwnd_;
};

std::unique_ptr<FolderWatch> watchOf(const std::u16string& folder, const MessageWindow& window) {
    return std::make_unique<FolderWatch>(folder, &liveFilesNamed, kBothLiveFiles, window.hwnd(),
                                         kChangedMessage);
}

void writeAtomically(const test::TempDir& dir, std::u16string_view name, std::string_view bytes) {
    std::u16string reason;
    ASSERT_TRUE(platformServices().files.writeFileAtomic(dir.file(name), bytes, reason));
}

// The bits of every message until one carries want, or five seconds pass.
LiveFileSet changesUntil(const MessageWindow& window, FolderWatch& watch, LiveFileSet want) {
    LiveFileSet seen = 0;
    while (!(seen & want) && window.waitForChange(5000))
        seen |= watch.takeChanges();
    return seen;
}

TEST(FolderWatch, TellsTheWindowWhenAListIsRewritten) {
    test::TempDir dir;
    dir.write(u"MorvaneList.txt", "G\r\nA\tone\r\n");
    dir.write(u"TargetCAD_APIVersion.txt", "CAD\tCad.Application\r\n");
    MessageWindow window;
    auto watch = watchOf(dir.folder(), window);
    ASSERT_TRUE(watch->watching());

    // As an editor saves: a working copy renamed over the file.
    writeAtomically(dir, u"MorvaneList.txt", "G\r\nA\ttwo\r\n");
    EXPECT_EQ(changesUntil(window, *watch, kListBit), kListBit);
    EXPECT_EQ(watch->takeChanges(), 0u);

    // Written in place, after a file of no interest: the other file's
    // change only, whichever messages carry them.
    dir.write(u"notes.txt", "x");
    {
        UniqueFile file(CreateFileW(toWide(dir.file(u"TargetCAD_APIVersion.txt")).c_str(),
                                    GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                    nullptr));
        ASSERT_TRUE(file);
        constexpr std::string_view kLine = "Second\tCad.Application\r\n";
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), kLine.data(), static_cast<DWORD>(kLine.size()), &written,
                              nullptr));
    }
    EXPECT_EQ(changesUntil(window, *watch, kTargetsBit), kTargetsBit);

    // Deleted, and made again.
    std::filesystem::remove(dir.path() / "MorvaneList.txt");
    EXPECT_EQ(changesUntil(window, *watch, kListBit), kListBit);
    dir.write(u"MorvaneList.txt", "G\r\n");
    EXPECT_EQ(changesUntil(window, *watch, kListBit), kListBit);
}

TEST(FolderWatch, PostsOneMessageUntilTheChangesAreTaken) {
    test::TempDir dir;
    MessageWindow window;
    auto watch = watchOf(dir.folder(), window);
    ASSERT_TRUE(watch->watching());
    for (int i = 0; i < 5; ++i)
        writeAtomically(dir, u"MorvaneList.txt", "G\r\nA\tx" + std::to_string(i) + "\r\n");
    ASSERT_TRUE(window.waitForChange(5000));
    // More changes while one message waits post no other.
    writeAtomically(dir, u"TargetCAD_APIVersion.txt", "CAD\tCad.Application\r\n");
    Sleep(300);
    EXPECT_EQ(window.waitingChanges(), 0);
    const LiveFileSet taken = watch->takeChanges();
    EXPECT_TRUE(taken & kListBit);
    // Taken: the next change posts again.
    writeAtomically(dir, u"MorvaneList.txt", "G\r\n");
    EXPECT_TRUE(changesUntil(window, *watch, kListBit) & kListBit);
}

TEST(FolderWatch, EndsCleanlyWhileChangesAreUnderWay) {
    test::TempDir dir;
    MessageWindow window;
    for (int round = 0; round < 20; ++round) {
        auto watch = watchOf(dir.folder(), window);
        ASSERT_TRUE(watch->watching());
        // Destroyed with a read waiting, with a change just made, or with
        // its completion about to run.
        if (round % 2)
            writeAtomically(dir, u"MorvaneList.txt", "G\r\nA\t" + std::to_string(round) + "\r\n");
        if (round % 3 == 0)
            Sleep(round % 5);
        watch.reset();
    }
    window.waitingChanges();
    // Nothing is posted once the watch is gone.
    writeAtomically(dir, u"MorvaneList.txt", "G\r\n");
    EXPECT_FALSE(window.waitForChange(300));
}

TEST(FolderWatch, NeverKeepsAFileFromBeingReplacedOrTheFolderFromGoing) {
    test::TempDir dir;
    const auto folder = dir.path() / "MorvaneX";
    std::filesystem::create_directory(folder);
    const std::u16string list = test::pathText(folder / "MorvaneList.txt");
    std::u16string reason;
    auto& files = platformServices().files;
    ASSERT_TRUE(files.writeFileAtomic(list, "G\r\n", reason));
    MessageWindow window;
    auto watch = watchOf(test::pathText(folder) + u"\\", window);
    ASSERT_TRUE(watch->watching());

    ASSERT_TRUE(files.writeFileAtomic(list, "G\r\nA\tb\r\n", reason));
    ASSERT_TRUE(files.moveFile(list, test::pathText(folder / "MorvaneList20250717.txt"), reason));
    ASSERT_TRUE(files.removeFile(test::pathText(folder / "MorvaneList20250717.txt")));
    EXPECT_TRUE(RemoveDirectoryW(folder.wstring().c_str())) << GetLastError();
    watch.reset();
    EXPECT_FALSE(std::filesystem::exists(folder));
}

TEST(FolderWatch, AFolderThatCannotBeWatchedLeavesTheTwoSecondCheck) {
    test::TempDir dir;
    const auto folder = dir.path() / "not yet";
    const std::u16string folderText = test::pathText(folder) + u"\\";
    MessageWindow window;
    auto watch = watchOf(folderText, window);
    EXPECT_FALSE(watch->watching());
    EXPECT_EQ(watch->takeChanges(), 0u);

    // The owner's check alone, on the real file system's stamps.
    auto& files = platformServices().files;
    LiveListWatch live(stampLiveFiles(files, folderText), 0);
    std::filesystem::create_directory(folder);
    std::u16string reason;
    ASSERT_TRUE(files.writeFileAtomic(folderText + u"MorvaneList.txt", "G\r\nA\tb\r\n", reason));
    std::vector<LiveFile> reads;
    auto reload = [&](LiveFile file) {
        reads.push_back(file);
        return reloadResultOf(
            loadMorvaneListQuietly(folderText + u"MorvaneList.txt", platformServices()).outcome);
    };
    ASSERT_EQ(live.nextCheck(), 2000u);
    live.check(stampLiveFiles(files, folderText), 2000, reload);
    EXPECT_TRUE(reads.empty()) << "found, and left to settle";
    live.check(stampLiveFiles(files, folderText), live.nextCheck(), reload);
    EXPECT_EQ(reads, std::vector<LiveFile>{LiveFile::CommandList});
    watch.reset();
    EXPECT_FALSE(window.waitForChange(0));
}

TEST(FileStamp, ComesFromTheFolderWhileAnEditorHoldsTheFile) {
    test::TempDir dir;
    dir.write(u"MorvaneList.txt", "G\r\nA\tb\r\n");
    const std::u16string path = dir.file(u"MorvaneList.txt");
    // Held for writing and shared with nobody, as some editors save.
    UniqueFile held(CreateFileW(toWide(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    const auto stamp = platformServices().files.fileStamp(path);
    ASSERT_TRUE(stamp);
    EXPECT_EQ(stamp->size, 8u);
    EXPECT_EQ(loadMorvaneListQuietly(path, platformServices()).outcome,
              QuietReadOutcome::CannotOpen)
        << "tried again later, never reported";
    held.reset();
    EXPECT_EQ(loadMorvaneListQuietly(path, platformServices()).outcome, QuietReadOutcome::Read);
}

} // namespace
} // namespace morvane
