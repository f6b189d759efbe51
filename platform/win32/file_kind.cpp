#include "platform/win32/file_kind.h"

#include "platform/win32/scoped.h"

namespace morvane {

bool isFileFollowingLinks(DWORD ownAttributes, std::optional<DWORD> targetAttributes) {
    if (ownAttributes == INVALID_FILE_ATTRIBUTES)
        return false;
    if (!(ownAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return !(ownAttributes & FILE_ATTRIBUTE_DIRECTORY);
    return targetAttributes && !(*targetAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool fileExistsFollowingLinks(const wchar_t* path) {
    const DWORD own = GetFileAttributesW(path);
    if (own == INVALID_FILE_ATTRIBUTES || !(own & FILE_ATTRIBUTE_REPARSE_POINT))
        return isFileFollowingLinks(own, std::nullopt);
    const auto target = linkTargetInformation(path);
    return isFileFollowingLinks(own, target ? std::optional<DWORD>(target->dwFileAttributes)
                                            : std::nullopt);
}

std::optional<BY_HANDLE_FILE_INFORMATION> linkTargetInformation(const wchar_t* path) {
    UniqueFile target(CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!target)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(target.get(), &info))
        return std::nullopt;
    return info;
}

} // namespace morvane
