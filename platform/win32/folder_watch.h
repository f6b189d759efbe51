#pragma once
// Tells a window that files in one folder changed, without a thread of our
// own and without blocking the UI thread: ReadDirectoryChangesW on the
// folder, its completions taken by the system's thread pool (an I/O
// completion object), which parses the names and posts the window one
// message. While nothing changes nothing runs: the read waits in the file
// system.
//
// Only the folder is held open, never a file in it, and with every sharing
// mode: files in it can be written, replaced, renamed and deleted, and the
// folder itself deleted, while it is watched. Windows does refuse to rename
// a folder above an open one, but the running exe already holds its folder
// that way.
//
// How the main window uses it for the live lists (live/live_lists.h):
//  - made in the window's start-up, before the lists are read, with the exe
//    folder, liveFilesNamed as the filter, kBothLiveFiles as allBits, its
//    own HWND and a message number of its own (WM_APP + n); kept in a
//    std::unique_ptr member and reset in WM_DESTROY, before the window goes;
//  - on its message: takeChanges() into LiveListWatch::notified, then a
//    check;
//  - watching() false (a folder that cannot be watched: missing, a file
//    server without change notifications, a broken connection) needs
//    nothing: the watch's two-second check finds the changes alone.
#include <windows.h>

#include <atomic>
#include <string_view>

#include "platform/win32/scoped.h"

namespace morvane {

class FolderWatch {
  public:
    // Which of the files the owner cares about a changed name may be, as
    // bits; 0 for a name of no interest. Called on a thread-pool thread, so
    // it must touch nothing but its argument.
    using NameFilter = unsigned (*)(std::u16string_view name);

    // Starts watching folder (a full path; long paths are fine) for files
    // that are created, written, resized, renamed or deleted. The bits of
    // each changed name are kept for takeChanges, and message (wParam and
    // lParam 0) is posted to window when they were none before, so at most
    // one message waits in the queue however many changes come. allBits is
    // handed out when the system cannot tell which names changed (too many
    // changes at once) and, once, when the watch breaks.
    FolderWatch(std::u16string_view folder, NameFilter filter, unsigned allBits, HWND window,
                UINT message);
    // Cancels the read and waits until the thread pool is done with it: no
    // message is posted after this returns.
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // False when the folder could not be watched or the watch broke.
    bool watching() const { return watching_.load(); }

    // The bits of the changes since the last call, and none kept: the next
    // change posts a message again.
    unsigned takeChanges() { return changes_.exchange(0); }

  private:
    static void CALLBACK onCompletion(PTP_CALLBACK_INSTANCE instance, void* context,
                                      void* overlapped, ULONG result, ULONG_PTR bytes,
                                      PTP_IO io) noexcept;
    void completed(ULONG result, ULONG_PTR bytes) noexcept;
    // Asks for the next changes; false when the system refuses.
    bool startRead() noexcept;
    unsigned bitsOfNames(ULONG_PTR bytes) const noexcept;
    void report(unsigned bits) noexcept;
    void stop() noexcept;

    NameFilter filter_;
    unsigned allBits_;
    HWND window_;
    UINT message_;
    UniqueFile directory_;
    PTP_IO io_ = nullptr;
    OVERLAPPED overlapped_{};
    // FILE_NOTIFY_INFORMATION records, DWORD-aligned; a file server refuses
    // reads of more than 64 KB.
    alignas(DWORD) BYTE buffer_[32 * 1024];
    // Held by the completion while it decides to read again, and by stop
    // when it says no more reads may start.
    SRWLOCK lock_ = SRWLOCK_INIT;
    bool stopping_ = false;
    std::atomic<bool> watching_{false};
    std::atomic<unsigned> changes_{0};
};

} // namespace morvane
