// POSIX stand-ins for the Windows services, for host tests and tools.
//
// The ANSI code page is Shift_JIS (CP932 through iconv): the code page our
// users' Windows has. Undecodable bytes become U+30FB, as Windows' own
// converter does for a broken lead byte; characters CP932 cannot hold become
// "?", its default character.
//
// The case-insensitive comparison approximates Windows' word sort: ASCII
// letters are folded, blanks and control characters sort first, then
// punctuation, then digits, then letters, then everything else by code unit;
// hyphens and apostrophes only break ties. Orders of real identifiers agree
// with CompareStringW; exotic punctuation may not.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <iconv.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/services.h"
#include "text/utf.h"

namespace morvane {
namespace {

class IconvHandle {
  public:
    IconvHandle(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (valid())
            iconv_close(handle_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return handle_; }
    void reset() const { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

  private:
    iconv_t handle_;
};

// Runs iconv over input, calling onInvalid for each unconvertible unit; it
// appends a replacement and returns how many input bytes to skip.
template <class OnInvalid>
std::string convert(const IconvHandle& cd, std::string_view input, OnInvalid onInvalid) {
    std::string out;
    out.reserve(input.size() * 2 + 16);
    cd.reset();
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (rc != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        const size_t skip = std::min(inLeft, onInvalid(out, std::string_view(in, inLeft)));
        in += skip;
        inLeft -= skip;
        cd.reset();
    }
    return out;
}

class Cp932CodePage final : public AnsiCodePage {
  public:
    std::u16string decode(std::string_view bytes) const override {
        const auto& table = decodeTable();
        std::u16string out;
        out.reserve(bytes.size());
        for (size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (b < 0x80) {
                out.push_back(b);
                continue;
            }
            if (isLeadByte(b) && i + 1 < bytes.size()) {
                const auto t = static_cast<unsigned char>(bytes[i + 1]);
                const char16_t pair = table.pairs[(b << 8) | t];
                if (pair != kInvalid) {
                    out.push_back(pair);
                    ++i;
                    continue;
                }
            }
            const char16_t single = table.singles[b];
            out.push_back(single == kInvalid ? kUndecodable : single);
        }
        return out;
    }

    std::string encode(std::u16string_view text) const override {
        std::lock_guard lock(mutex_);
        const std::string le = utf16ToBytes(text, false);
        return convert(fromUtf16_, le, [](std::string& out, std::string_view rest) {
            out.push_back('?');
            const auto unit = static_cast<unsigned char>(rest.size() > 1 ? rest[1] : 0);
            const bool highSurrogate = unit >= 0xD8 && unit <= 0xDB && rest.size() >= 4;
            return size_t{highSurrogate ? 4u : 2u};
        });
    }

  private:
    static constexpr char16_t kInvalid = 0xFFFF;
    static constexpr char16_t kUndecodable = 0x30FB;

    static bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0); }

    // Every single byte and every lead/trail pair, converted once by iconv;
    // decoding is then a table lookup.
    struct DecodeTable {
        std::vector<char16_t> singles = std::vector<char16_t>(256, kInvalid);
        std::vector<char16_t> pairs = std::vector<char16_t>(65536, kInvalid);
    };

    static const DecodeTable& decodeTable() {
        static const DecodeTable table = [] {
            DecodeTable t;
            const IconvHandle cd("UTF-16LE", "CP932");
            const auto one = [&](std::string_view in) -> char16_t {
                if (!cd.valid())
                    return kInvalid;
                cd.reset();
                char* inPtr = const_cast<char*>(in.data());
                size_t inLeft = in.size();
                char buffer[8];
                char* outPtr = buffer;
                size_t outLeft = sizeof buffer;
                if (iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft) ==
                        static_cast<size_t>(-1) ||
                    inLeft != 0 || outPtr - buffer != 2)
                    return kInvalid;
                return static_cast<char16_t>(static_cast<unsigned char>(buffer[0]) |
                                             (static_cast<unsigned char>(buffer[1]) << 8));
            };
            for (int b = 0x80; b < 256; ++b) {
                const char byte = static_cast<char>(b);
                t.singles[b] = one(std::string_view(&byte, 1));
                if (!isLeadByte(static_cast<unsigned char>(b)))
                    continue;
                for (int trail = 0x40; trail <= 0xFC; ++trail) {
                    const char pair[2] = {byte, static_cast<char>(trail)};
                    t.pairs[(b << 8) | trail] = one(std::string_view(pair, 2));
                }
            }
            return t;
        }();
        return table;
    }

    mutable std::mutex mutex_;
    IconvHandle fromUtf16_{"CP932", "UTF-16LE"};
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
