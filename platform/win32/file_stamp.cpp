#include "platform/win32/file_stamp.h"

#include "platform/win32/file_kind.h"

namespace morvane {
namespace {

FileStamp stampOf(FILETIME lastWrite, DWORD sizeHigh, DWORD sizeLow) {
    return {(uint64_t{lastWrite.dwHighDateTime} << 32) | lastWrite.dwLowDateTime,
            (uint64_t{sizeHigh} << 32) | sizeLow};
}

// A link's own entry has the link's times: the file it leads to is asked.
std::optional<FileStamp> stampOfLinkTarget(const wchar_t* path) {
    const auto info = linkTargetInformation(path);
    if (!info || (info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return stampOf(info->ftLastWriteTime, info->nFileSizeHigh, info->nFileSizeLow);
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
