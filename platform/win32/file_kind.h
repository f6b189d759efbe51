#pragma once
// Whether a path names a file, following links: a link counts by what it
// points at, so a broken link is no file and a link to a folder neither.
#include <windows.h>

#include <optional>

namespace morvane {

// ownAttributes: GetFileAttributesW of the path itself (INVALID_FILE_ATTRIBUTES
// when there is nothing). targetAttributes: what a link resolves to, nullopt
// when it resolves to nothing; not consulted for a plain file or folder.
bool isFileFollowingLinks(DWORD ownAttributes, std::optional<DWORD> targetAttributes);

// The same question asked of the file system.
bool fileExistsFollowingLinks(const wchar_t* path);

// What path leads to, every link on the way followed, from a handle that
// asks for no access right and shares everything: a file another program
// holds without sharing still answers, and nobody is kept from replacing it
// meanwhile. nullopt when it leads to nothing.
std::optional<BY_HANDLE_FILE_INFORMATION> linkTargetInformation(const wchar_t* path);

} // namespace morvane
