#pragma once
// The stamp of a file (FileSystem::fileStamp) from the folder's entry, links
// followed, without opening a plain file.
#include <windows.h>

#include <optional>

#include "services/services.h"

namespace morvane {

// lastWrite is the FILETIME as one number; nullopt for nothing, a folder,
// or a link that leads to either.
std::optional<FileStamp> fileStampFollowingLinks(const wchar_t* path);

} // namespace morvane
