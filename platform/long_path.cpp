#include "platform/long_path.h"

#include <vector>

namespace morvane {
namespace {

// MAX_PATH: the limit counts the terminating null.
constexpr size_t kShortPathLimit = 260;

bool isSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

bool isLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// \\?\, \\.\ (either slash) and the NT form \??\.
bool isDeviceForm(std::u16string_view path) {
    if (path.size() < 4)
        return false;
    if (path.substr(0, 4) == u"\\??\\")
        return true;
    return isSeparator(path[0]) && isSeparator(path[1]) && (path[2] == u'?' || path[2] == u'.') &&
           isSeparator(path[3]);
}

bool isUnc(std::u16string_view path) {
    return path.size() > 2 && isSeparator(path[0]) && isSeparator(path[1]) && !isSeparator(path[2]);
}

bool isDriveAbsolute(std::u16string_view path) {
    return path.size() > 2 && isLetter(path[0]) && path[1] == u':' && isSeparator(path[2]);
}

// Appends the segments of rest to out, tidied as Win32 tidies a path; the
// first `fixed` segments (server and share) stay whatever follows.
std::u16string appendSegments(std::u16string out, std::u16string_view rest, size_t fixed) {
    std::vector<std::u16string_view> kept;
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = start;
        while (end < rest.size() && !isSeparator(rest[end]))
            ++end;
        const std::u16string_view segment = rest.substr(start, end - start);
        if (segment == u"..") {
            if (kept.size() > fixed)
                kept.pop_back();
        } else if (!segment.empty() && segment != u".") {
            kept.push_back(segment);
        }
        start = end + 1;
    }
    for (size_t i = 0; i < kept.size(); ++i) {
        if (i > 0)
            out += u'\\';
        out += kept[i];
    }
    if (!kept.empty() && isSeparator(rest.back()))
        out += u'\\';
    return out;
}

} // namespace

std::u16string longPathForm(std::u16string_view path) {
    if (path.size() < kShortPathLimit || isDeviceForm(path))
        return std::u16string(path);
    if (isUnc(path))
        return appendSegments(u"\\\\?\\UNC\\", path.substr(2), 2);
    if (isDriveAbsolute(path))
        return appendSegments(u"\\\\?\\" + std::u16string(path.substr(0, 2)) + u'\\',
                              path.substr(3), 0);
    return std::u16string(path);
}

} // namespace morvane
