#pragma once
// The form of a path that Win32's file functions take at any length.
#include <string>
#include <string_view>

namespace morvane {

// Win32's file functions refuse a path of 260 characters or more unless the
// program is long-path aware and the system allows long paths, or the path
// has the \\?\ prefix, which passes it to the file system as it is. So an
// absolute path of that length gets the prefix: C:\... becomes \\?\C:\...,
// \\server\share\... becomes \\?\UNC\server\share\... With the prefix Win32
// no longer tidies the path itself, so this does: forward slashes become
// backslashes, repeated separators one, "." segments go and ".." takes the
// segment before it away (never the drive, server or share).
// Shorter paths, relative ones (also C:name and \name) and paths already
// in a device form (\\?\, \\.\, \??\) come back unchanged.
std::u16string longPathForm(std::u16string_view path);

} // namespace morvane
