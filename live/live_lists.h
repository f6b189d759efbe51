#pragma once
// Lists that arrive live: while the launcher runs, a change of the command
// list or of the target list in its folder shows by itself. This is the
// platform-free half: when to read which file again (LiveListWatch), which
// changed names may be one of the two files, and the caption a changed
// target list gives. The folder's change notifications come from the
// platform's folder watch (FolderWatch in the Win32 layer); the place in the
// tree that survives a reload is list/view_place.h.
//
// How the main window uses it (app/main_window_live.cpp):
//  1. At start, before reading the two files, it takes their stamps
//     (stampLiveFiles) and makes a LiveListWatch with them, so a change
//     made while it reads shows as one; also when start-up then ends at an
//     unreadable list, which a later change may mend. It makes the folder
//     watch on the exe folder with liveFilesNamed as the name filter,
//     kBothLiveFiles for "cannot tell", and a message of its own; a watch
//     that cannot start leaves the timer's comparisons to find changes.
//  2. The folder watch's message: notified with its changes, then a check.
//  3. Its one timer, set again after every check for nextCheck(): a check.
//     No other timer runs for the lists.
//  4. A check reads what has settled: the command list quietly
//     (loadMorvaneListQuietly; no rows counts as refused), its rows
//     replaced and the view last built shown again with its place
//     (list/view_place.h); the target list's caption
//     (captionAfterTargetListChange) into the title.
//  5. Its own writes are not outside changes: after the drop has installed
//     a list, and after each save of the target dialog (the host hands
//     TargetDialog::onListSaved a callback into the window), it calls
//     nowShowing with the file's stamp then. The menu's 「再読み込み」
//     takes the list's stamp before it reads and hands it over once read.
//  6. Now is Clock::steadyMilliseconds throughout.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "services/services.h"
#include "text/quiet_read.h"

namespace morvane {

// The two files of the exe folder that are watched.
enum class LiveFile : unsigned { CommandList = 0, TargetList = 1 };
inline constexpr size_t kLiveFileCount = 2;

// A set of live files, one bit each; also the bits the folder watch hands
// back.
using LiveFileSet = unsigned;
inline constexpr LiveFileSet liveFileBit(LiveFile file) {
    return 1u << static_cast<unsigned>(file);
}
inline constexpr LiveFileSet kBothLiveFiles =
    liveFileBit(LiveFile::CommandList) | liveFileBit(LiveFile::TargetList);

// Which live files a name in a change notification of the folder may be:
// the file's own name in any letter case, and for a short 8.3 alias (which
// Windows may report in place of the long name, as MORVAN~1.TXT) both files,
// as it cannot tell which; none for any other name.
LiveFileSet liveFilesNamed(std::u16string_view name);

// The file's path in folder (which ends with a separator).
std::u16string liveFilePath(std::u16string_view folder, LiveFile file);

// Each file's stamp (FileSystem::fileStamp), nullopt where there is no file.
using LiveStamps = std::array<std::optional<FileStamp>, kLiveFileCount>;

// The stamps of the two files in folder (which ends with a separator).
LiveStamps stampLiveFiles(const FileSystem& files, std::u16string_view folder);

// How a read that the watch asked for went.
enum class ReloadResult {
    // Read and on show.
    Shown,
    // The file could not be opened now (an editor may still be saving):
    // read it again soon, say nothing.
    NotReady,
    // Missing, empty or not text: what is on show stays, say nothing, and
    // wait for the file's next change.
    Refused,
};

ReloadResult reloadResultOf(QuietReadOutcome outcome);

struct LiveListTimings {
    // How often both files' stamps are compared, as notifications from file
    // servers can be lost.
    uint64_t checkInterval = 2000;
    // How long a file's stamp must stay the same, with no notification
    // about it, before it is read: a file is written in pieces.
    uint64_t settleTime = 300;
};

// When to read which file again. Time comes in as milliseconds of a steady
// clock; the watch never reads a clock or a file itself. While nothing
// changes, the only work it asks for is a check every checkInterval; while a
// change is under way, a check when it may have settled; a file that cannot
// be opened yet is tried again after settleTime, twice that, and so on up to
// checkInterval, for as long as it stays so.
class LiveListWatch {
  public:
    // shown: the stamps of the files whose content is on show (taken before
    // they were read).
    LiveListWatch(const LiveStamps& shown, uint64_t now, LiveListTimings timings = {});

    // The folder watch saw a change of these files (maybe). Their settle
    // time starts again.
    void notified(LiveFileSet files, uint64_t now);

    // Compares the stamps of now with what is on show and, for each file
    // whose change has settled, calls reload(file) once, command list first.
    using Reload = std::function<ReloadResult(LiveFile)>;
    void check(const LiveStamps& stamps, uint64_t now, const Reload& reload);

    // When check wants to be called next: never later than checkInterval
    // after the last check.
    uint64_t nextCheck() const;

    // The window shows the file as it is at stamp, by its own doing: it
    // wrote the file (stamp taken after the write) or read it through the
    // menu's reload (stamp taken before the read). A change of the file
    // under way is forgotten; the next stamp that differs is someone else's
    // change.
    void nowShowing(LiveFile file, std::optional<FileStamp> stamp);

    // True while a change of the file waits to settle or to be read.
    bool changePending(LiveFile file) const;

  private:
    // A change of the file that waits to settle or to be read. Made afresh
    // by each notification and each change found by comparing stamps, gone
    // once the file is read or shown by the window's own doing.
    struct Change {
        Change(uint64_t since, bool stampKnown, std::optional<FileStamp> stamp)
            : seenKnown(stampKnown), seen(stamp), quietSince(since) {}

        // The stamp at the last check, once there was one since the change
        // began.
        bool seenKnown = false;
        std::optional<FileStamp> seen;
        // The last notification or change of the stamp seen.
        uint64_t quietSince = 0;
        // After reads that could not open the file.
        int failedOpens = 0;
        uint64_t retryAt = 0;
    };
    struct FileState {
        std::optional<FileStamp> shown;
        std::optional<Change> change;
    };

    FileState& state(LiveFile file) { return files_[static_cast<size_t>(file)]; }
    const FileState& state(LiveFile file) const { return files_[static_cast<size_t>(file)]; }
    uint64_t dueAt(const Change& change) const;
    uint64_t retryDelay(int failedOpens) const;

    LiveListTimings timings_;
    std::array<FileState, kLiveFileCount> files_{};
    uint64_t lastCheck_ = 0;
};

// The caption after the target list changed on disk, as a start with the
// file would show it: "MorvaneX [ name ]" for the line naming progId
// (captionFromTargetLines), else the designed caption. Empty when the file
// could not be read as text now (outcome not Read): the caption stays.
struct LiveCaption {
    QuietReadOutcome outcome = QuietReadOutcome::Missing;
    std::u16string caption;
};
LiveCaption captionAfterTargetListChange(std::u16string_view targetListPath,
                                         std::u16string_view progId,
                                         const PlatformServices& services);

} // namespace morvane
