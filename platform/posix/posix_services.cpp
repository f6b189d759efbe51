// POSIX stand-ins for the Windows services, for host tests and tools.
//
// The ANSI code page is 932, the code page our users' Windows has, converted
// exactly as Windows converts it (see Cp932CodePage).
//
// The case-insensitive comparison approximates Windows' word sort: ASCII
// letters are folded, blanks and control characters sort first, then
// punctuation, then digits, then letters, then everything else by code unit;
// hyphens and apostrophes only break ties. Orders of real identifiers agree
// with CompareStringW; exotic punctuation may not.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/services.h"
#include "text/utf.h"

namespace morvane {
namespace {

struct Cp932Run {
    uint16_t first;
    uint16_t count;
    uint16_t step;
    uint16_t value;
};

#include "platform/posix/cp932_table.inc"

// Code page 932 as Windows converts it (MultiByteToWideChar with no flags,
// WideCharToMultiByte with WC_NO_BEST_FIT_CHARS and the default "?"), from a
// table made by tools/nls_reference under Wine. A lead byte takes the next
// byte with it whatever that byte is, except NUL, so a Latin-1 text in the
// code page loses the byte after each accented letter, as on Windows.
class Cp932CodePage final : public AnsiCodePage {
  public:
    Cp932CodePage() {
        for (const auto& run : kCp932Singles)
            for (unsigned k = 0; k < run.count; ++k)
                singles_[run.first + k] = static_cast<char16_t>(run.value + k * run.step);
        for (size_t row = 0; row < std::size(kCp932LeadBytes); ++row) {
            const unsigned lead = kCp932LeadBytes[row];
            leadRow_[lead] = static_cast<int>(row);
            for (unsigned trail = 1; trail < 256; ++trail) {
                const char16_t unit = kCp932Pairs[row][trail - 1];
                pairs_[lead << 8 | trail] = unit != 0 ? unit : singles_[lead];
            }
        }
        // Encoding: the one text that decodes to a unit, unless the table
        // says otherwise; units with none become the default character.
        std::vector<uint8_t> sources(65536, 0);
        const auto offer = [&](char16_t unit, uint16_t text) {
            if (sources[unit] < 2)
                ++sources[unit];
            encodings_[unit] = text;
        };
        for (unsigned b = 0; b < 256; ++b)
            if (leadRow_[b] < 0)
                offer(singles_[b], static_cast<uint16_t>(b));
        for (unsigned lead = 0; lead < 256; ++lead)
            if (leadRow_[lead] >= 0)
                for (unsigned trail = 1; trail < 256; ++trail)
                    offer(pairs_[lead << 8 | trail], static_cast<uint16_t>(lead << 8 | trail));
        for (unsigned unit = 0; unit < 65536; ++unit)
            if (sources[unit] != 1)
                encodings_[unit] = kDefaultByte;
        for (const auto& run : kCp932Encodings)
            for (unsigned k = 0; k < run.count; ++k)
                encodings_[run.first + k] = static_cast<uint16_t>(run.value + k * run.step);
    }

    std::u16string decode(std::string_view bytes) const override {
        std::u16string out;
        out.reserve(bytes.size());
        for (size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (leadRow_[b] >= 0 && i + 1 < bytes.size() && bytes[i + 1] != '\0') {
                out.push_back(pairs_[b << 8 | static_cast<unsigned char>(bytes[++i])]);
                continue;
            }
            out.push_back(singles_[b]);
        }
        return out;
    }

    // Unit by unit: a surrogate pair becomes two default characters, as on
    // Windows.
    std::string encode(std::u16string_view text) const override {
        std::string out;
        out.reserve(text.size() * 2);
        for (const char16_t unit : text) {
            const uint16_t bytes = encodings_[unit];
            if (bytes > 0xFF)
                out.push_back(static_cast<char>(bytes >> 8));
            out.push_back(static_cast<char>(bytes & 0xFF));
        }
        return out;
    }

  private:
    static constexpr uint16_t kDefaultByte = '?';

    std::vector<char16_t> singles_ = std::vector<char16_t>(256);
    std::vector<int> leadRow_ = std::vector<int>(256, -1);
    std::vector<char16_t> pairs_ = std::vector<char16_t>(65536);
    std::vector<uint16_t> encodings_ = std::vector<uint16_t>(65536);
};

int sortClass(char16_t c) {
    if (c <= 32)
        return 0;
    if (c < 128) {
        if (c >= u'0' && c <= u'9')
            return 2;
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'))
            return 3;
        return 1;
    }
    return 4;
}

char16_t foldAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? c - 0x20 : c;
}

bool isMinorPunctuation(char16_t c) {
    return c == u'-' || c == u'\'';
}

int compareWeights(std::u16string_view a, std::u16string_view b, bool skipMinor) {
    size_t i = 0, j = 0;
    for (;;) {
        if (skipMinor) {
            while (i < a.size() && isMinorPunctuation(a[i]))
                ++i;
            while (j < b.size() && isMinorPunctuation(b[j]))
                ++j;
        }
        if (i == a.size() || j == b.size())
            return (i == a.size() ? 0 : 1) - (j == b.size() ? 0 : 1);
        const char16_t x = foldAscii(a[i]), y = foldAscii(b[j]);
        const int cx = sortClass(x), cy = sortClass(y);
        if (cx != cy)
            return cx < cy ? -1 : 1;
        if (x != y)
            return x < y ? -1 : 1;
        ++i, ++j;
    }
}

class ApproximateCollator final : public TextCollator {
  public:
    int compareIgnoreCase(std::u16string_view a, std::u16string_view b) const override {
        const int primary = compareWeights(a, b, true);
        return primary != 0 ? primary : compareWeights(a, b, false);
    }
};

std::string nativePath(std::u16string_view path) {
    return utf16ToUtf8(path);
}

std::u16string reasonFromErrno(int error) {
    const std::string text = std::strerror(error);
    return std::u16string(text.begin(), text.end());
}

class PosixFileSystem final : public FileSystem {
  public:
    bool fileExists(std::u16string_view path) const override {
        struct stat st {};
        return ::stat(nativePath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }

    bool readFile(std::u16string_view path, std::string& bytes,
                  std::u16string& reason) const override {
        const int fd = ::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            reason = reasonFromErrno(errno);
            return false;
        }
        bytes.clear();
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got == 0)
                break;
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                reason = reasonFromErrno(errno);
                ::close(fd);
                return false;
            }
            bytes.append(buffer, static_cast<size_t>(got));
        }
        ::close(fd);
        return true;
    }

    bool writeFileAtomic(std::u16string_view path, std::string_view bytes,
                         std::u16string& reason) override {
        const std::string target = nativePath(path);
        const std::string temp = target + ".tmp~" + std::to_string(::getpid());
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            reason = reasonFromErrno(errno);
            return false;
        }
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0) {
                reason = reasonFromErrno(errno);
                ::close(fd);
                ::unlink(temp.c_str());
                return false;
            }
            done += static_cast<size_t>(put);
        }
        if (::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temp.c_str(), target.c_str()) != 0) {
            reason = reasonFromErrno(errno);
            ::unlink(temp.c_str());
            return false;
        }
        return true;
    }

    bool moveFile(std::u16string_view from, std::u16string_view to,
                  std::u16string& reason) override {
        // link + unlink refuses an existing destination, like MoveFileW.
        const std::string source = nativePath(from), target = nativePath(to);
        if (::link(source.c_str(), target.c_str()) != 0) {
            reason = reasonFromErrno(errno);
            return false;
        }
        ::unlink(source.c_str());
        return true;
    }

    bool removeFile(std::u16string_view path) override {
        return ::unlink(nativePath(path).c_str()) == 0;
    }
};

class PosixClock final : public Clock {
  public:
    LocalTime now() const override {
        const std::time_t t = std::time(nullptr);
        std::tm tm{};
        localtime_r(&t, &tm);
        return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    }
};

} // namespace

PlatformServices& platformServices() {
    static Cp932CodePage ansi;
    static ApproximateCollator collator;
    static PosixFileSystem files;
    static PosixClock clock;
    static PlatformServices services{ansi, collator, files, clock};
    return services;
}

} // namespace morvane
