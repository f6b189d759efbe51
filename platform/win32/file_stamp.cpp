#include "platform/win32/file_stamp.h"

#include "platform/win32/scoped.h"

namespace morvane {
namespace {

FileStamp stampOf(FILETIME lastWrite, DWORD sizeHigh, DWORD sizeLow) {
    return {(uint64_t{lastWrite.dwHighDateTime} << 32) | lastWrite.dwLowDateTime,
            (uint64_t{sizeHigh} << 32) | sizeLow};
}

// A link's own entry has the link's times; the file it leads to is asked
// through a handle that asks for no access right and shares everything, so
// nobody is kept from replacing the file meanwhile.
std::optional<FileStamp> stampOfLinkTarget(const wchar_t* path) {
    UniqueFile target(CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!target)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(target.get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return stampOf(info.ftLastWriteTime, info.nFileSizeHigh, info.nFileSizeLow);
}

} // namespace

std::optional<FileStamp> fileStampFollowingLinks(const wchar_t* path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return std::nullopt;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return stampOfLinkTarget(path);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return std::nullopt;
    return stampOf(data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow);
}

} // namespace morvane
