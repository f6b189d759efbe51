#include "platform/win32/folder_watch.h"

#include "platform/win32/file_writing.h"

namespace morvane {
namespace {

// A name that appears, goes or is renamed, and a file that is written or
// grows or shrinks; not attribute, access-time or security changes.
constexpr DWORD kWatchedChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

// Every sharing mode, so that the watch keeps nobody from writing,
// replacing, renaming or deleting anything in the folder.
constexpr DWORD kShareEverything = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

} // namespace

FolderWatch::FolderWatch(std::u16string_view folder, NameFilter filter, unsigned allBits,
                         HWND window, UINT message)
    : filter_(filter), allBits_(allBits), window_(window), message_(message) {
    // FILE_FLAG_BACKUP_SEMANTICS opens a folder; FILE_LIST_DIRECTORY is the
    // one right ReadDirectoryChangesW needs.
    directory_.reset(CreateFileW(systemPath(folder).c_str(), FILE_LIST_DIRECTORY, kShareEverything,
                                 nullptr, OPEN_EXISTING,
                                 FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
    if (!directory_)
        return;
    io_ = CreateThreadpoolIo(directory_.get(), &FolderWatch::onCompletion, this, nullptr);
    if (!io_)
        return;
    watching_ = startRead();
}

FolderWatch::~FolderWatch() {
    stop();
}

void FolderWatch::stop() noexcept {
    if (!io_)
        return;
    AcquireSRWLockExclusive(&lock_);
    stopping_ = true;
    ReleaseSRWLockExclusive(&lock_);
    // A read under way ends as aborted; its completion sees stopping_ and
    // starts none. Waiting for it keeps buffer_ and overlapped_ alive until
    // the system is done with them.
    CancelIoEx(directory_.get(), nullptr);
    WaitForThreadpoolIoCallbacks(io_, FALSE);
    CloseThreadpoolIo(io_);
    io_ = nullptr;
    watching_ = false;
}

bool FolderWatch::startRead() noexcept {
    overlapped_ = OVERLAPPED{};
    StartThreadpoolIo(io_);
    if (ReadDirectoryChangesW(directory_.get(), buffer_, sizeof buffer_, FALSE, kWatchedChanges,
                              nullptr, &overlapped_, nullptr))
        return true;
    // No completion will come for a read that never started.
    CancelThreadpoolIo(io_);
    return false;
}

void CALLBACK FolderWatch::onCompletion(PTP_CALLBACK_INSTANCE, void* context, void*, ULONG result,
                                        ULONG_PTR bytes, PTP_IO) noexcept {
    static_cast<FolderWatch*>(context)->completed(result, bytes);
}

void FolderWatch::completed(ULONG result, ULONG_PTR bytes) noexcept {
    unsigned bits = 0;
    bool readAgain = true;
    if (result == NO_ERROR && bytes > 0) {
        bits = bitsOfNames(bytes);
    } else if (result == NO_ERROR || result == ERROR_NOTIFY_ENUM_DIR) {
        // More changes than the buffer holds: the names are lost.
        bits = allBits_;
    } else {
        // Aborted, the folder gone, the connection to its server lost: the
        // owner's own checks carry on without the watch.
        bits = allBits_;
        readAgain = false;
    }
    AcquireSRWLockExclusive(&lock_);
    const bool stopping = stopping_;
    const bool reading = !stopping && readAgain && startRead();
    ReleaseSRWLockExclusive(&lock_);
    if (stopping)
        return;
    if (!reading)
        watching_ = false;
    report(bits);
}

unsigned FolderWatch::bitsOfNames(ULONG_PTR bytes) const noexcept {
    unsigned bits = 0;
    size_t offset = 0;
    while (offset + sizeof(FILE_NOTIFY_INFORMATION) <= bytes) {
        const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer_ + offset);
        const size_t nameUnits = record->FileNameLength / sizeof(WCHAR);
        const auto* name = reinterpret_cast<const char16_t*>(record->FileName);
        bits |= filter_(std::u16string_view(name, nameUnits));
        if (record->NextEntryOffset == 0)
            break;
        offset += record->NextEntryOffset;
    }
    return bits;
}

void FolderWatch::report(unsigned bits) noexcept {
    // A message already on its way carries these too.
    if (bits == 0 || changes_.fetch_or(bits) != 0)
        return;
    if (!PostMessageW(window_, message_, 0, 0))
        changes_.fetch_and(~bits); // the window is gone; nobody takes them
}

} // namespace morvane
