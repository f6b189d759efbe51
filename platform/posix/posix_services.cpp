// POSIX stand-ins for the Windows services, for host tests and tools.
//
// The ANSI code page is 932, the code page our users' Windows has, converted
// exactly as Windows converts it (see Cp932CodePage).
//
// The case-insensitive comparison is Windows' own in the Japanese locale
// (see SortKeyCollator).
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "services/services.h"
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
                // 81 45 is the middle dot, the very character a lone lead
                // byte decodes to, so the table leaves it out.
                definedPairs_[lead << 8 | trail] = unit != 0 || (lead << 8 | trail) == 0x8145;
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

    unsigned number() const override { return 932; }

    // As MultiByteToWideChar with MB_ERR_INVALID_CHARS: a lead byte must
    // start a pair the code page defines.
    bool isValid(std::string_view bytes) const override {
        for (size_t i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            if (leadRow_[b] < 0)
                continue;
            if (i + 1 == bytes.size() || bytes[i + 1] == '\0' ||
                !definedPairs_[b << 8 | static_cast<unsigned char>(bytes[++i])])
                return false;
        }
        return true;
    }

    const AnsiCodePage& cp932() const override { return *this; }

  private:
    static constexpr uint16_t kDefaultByte = '?';

    std::vector<char16_t> singles_ = std::vector<char16_t>(256);
    std::vector<int> leadRow_ = std::vector<int>(256, -1);
    std::vector<char16_t> pairs_ = std::vector<char16_t>(65536);
    std::vector<bool> definedPairs_ = std::vector<bool>(65536);
    std::vector<uint16_t> encodings_ = std::vector<uint16_t>(65536);
};

struct CollationEntry {
    uint16_t unit;
    uint16_t primary1, primary2;
    uint8_t diacritic, caseWeight;
    uint8_t small, kind, width;
    uint8_t special1, special2;
};

#include "platform/posix/collation_table.inc"

// CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE) in the Japanese locale:
// both texts become the sort key Windows would make of them (LCMapStringW
// with LCMAP_SORTKEY), and the keys compare byte by byte. The weights of the
// characters command names use come from a table made by tools/nls_reference
// under Wine; other characters sort after them by code unit.
class SortKeyCollator final : public TextCollator {
  public:
    SortKeyCollator() {
        for (size_t i = 0; i < std::size(kCollationEntries); ++i)
            index_[kCollationEntries[i].unit] = static_cast<int>(i);
        for (const auto& entry : kCollationPrimaries) {
            const CollationEntry full{entry[0], entry[1], 0, 0, 0, 0, 0, 0, 0, 0};
            index_[entry[0]] = static_cast<int>(extra_.size() + std::size(kCollationEntries));
            extra_.push_back(full);
        }
        for (const auto& vowel : kCollationVowels)
            vowels_[vowel[0]] = vowel[1];
    }

    int compareIgnoreCase(std::u16string_view a, std::u16string_view b) const override {
        // Comparisons come in floods (sorting, searching): the buffers are
        // reused, so a comparison allocates nothing once they have grown.
        thread_local KeyBuffers first, second;
        const int order = sortKey(a, first).compare(sortKey(b, second));
        return (order > 0) - (order < 0);
    }

  private:
    struct KeyBuffers {
        std::string key, primary, special;
        std::string diacritics, cases, sizes, marks, kinds, widths;
    };

    // The key is built in buffers.key, which the result refers to.
    const std::string& sortKey(std::u16string_view text, KeyBuffers& buffers) const;

    static constexpr uint8_t kDefaultDiacritic = 2, kDefaultCase = 2;
    static constexpr uint8_t kNormalSize = 0xC6, kHiragana = 0xE4, kFullWidth = 0xC5;
    static constexpr uint8_t kPlainKana = 3, kIterationMark = 4, kLongVowelMark = 5;
    static constexpr uint16_t kRepeatMark = 0xFFFF;

    CollationEntry entry(char16_t unit) const {
        const int i = index_[unit];
        if (i >= 0)
            return i < static_cast<int>(std::size(kCollationEntries))
                       ? kCollationEntries[i]
                       : extra_[static_cast<size_t>(i) - std::size(kCollationEntries)];
        // Not in the table: after every character that is, by code unit.
        return {unit,
                static_cast<uint16_t>(0xFD00 | unit >> 8),
                static_cast<uint16_t>(0xFD00 | (unit & 0xFF)),
                0,
                0,
                0,
                0,
                0,
                0,
                0};
    }

    std::vector<int> index_ = std::vector<int>(65536, -1);
    std::vector<CollationEntry> extra_;
    std::vector<uint16_t> vowels_ = std::vector<uint16_t>(65536, 0);
};

const std::string& SortKeyCollator::sortKey(std::u16string_view text, KeyBuffers& buffers) const {
    std::string &key = buffers.key, &primary = buffers.primary, &special = buffers.special;
    std::string &diacritics = buffers.diacritics, &cases = buffers.cases;
    std::string &sizes = buffers.sizes, &marks = buffers.marks, &kinds = buffers.kinds,
                &widths = buffers.widths;
    for (std::string* buffer :
         {&key, &primary, &special, &diacritics, &cases, &sizes, &marks, &kinds, &widths})
        buffer->clear();
    bool anyKana = false;
    // What a following repeat mark copies: the weight of the character
    // before it (FFFF when it has none, or when it expands to two).
    uint16_t repeatWeight = kRepeatMark;
    uint8_t repeatDiacritic = kDefaultDiacritic;
    bool afterKana = false;
    uint8_t kanaSize = 0, kanaKind = 0, kanaWidth = 0;
    size_t weights = 0;
    const auto addWeight = [&](uint16_t weight) {
        primary.push_back(static_cast<char>(weight >> 8));
        primary.push_back(static_cast<char>(weight & 0xFF));
        ++weights;
    };

    for (const char16_t unit : text) {
        const CollationEntry e = entry(unit);
        if (e.primary1 == kRepeatMark) {
            const bool longVowel = unit == u'\u30FC' || unit == u'\uFF70';
            const bool voiced = unit == u'\u309E' || unit == u'\u30FE';
            const bool iteration = voiced || unit == u'\u309D' || unit == u'\u30FD';
            if (afterKana && (longVowel || iteration)) {
                const uint16_t vowel = vowels_[repeatWeight];
                addWeight(longVowel && vowel ? vowel : repeatWeight);
                diacritics.push_back(voiced ? 3 : kDefaultDiacritic);
                cases.push_back(kDefaultCase);
                sizes.push_back(kanaSize);
                marks.push_back(longVowel ? kLongVowelMark : kIterationMark);
                kinds.push_back(kanaKind);
                // The long-vowel mark keeps its own width.
                if (longVowel)
                    kanaWidth = entry(unit == u'\uFF70' ? u'\uFF71' : u'\u30A2').width;
                widths.push_back(kanaWidth);
                continue;
            }
            addWeight(repeatWeight);
            if (repeatWeight != kRepeatMark) {
                diacritics.push_back(repeatDiacritic);
                cases.push_back(kDefaultCase);
            }
            afterKana = false;
            continue;
        }
        if (e.primary1 == 0) {
            // Sorts by its place: after everything else, nearer the front
            // first.
            if (e.special1 != 0) {
                const uint16_t place = static_cast<uint16_t>(0xFFFF - weights);
                special.push_back(static_cast<char>(place >> 8));
                special.push_back(static_cast<char>(place & 0xFF));
                special.push_back(static_cast<char>(e.special1));
                special.push_back(static_cast<char>(e.special2));
                repeatWeight = static_cast<uint16_t>(0x0600 | e.special1);
                repeatDiacritic = kDefaultDiacritic;
                afterKana = false;
            }
            // A combining voiced mark adds to the character before it.
            if (e.diacritic != 0) {
                if (diacritics.empty())
                    diacritics.push_back(static_cast<char>(e.diacritic));
                else
                    diacritics.back() =
                        static_cast<char>(static_cast<uint8_t>(diacritics.back()) + e.diacritic);
            }
            continue;
        }
        const uint8_t diacritic = e.diacritic ? e.diacritic : kDefaultDiacritic;
        const uint8_t caseWeight = e.caseWeight ? e.caseWeight : kDefaultCase;
        addWeight(e.primary1);
        diacritics.push_back(diacritic);
        cases.push_back(caseWeight);
        if (e.primary2 != 0) {
            addWeight(e.primary2);
            diacritics.push_back(kDefaultDiacritic);
            cases.push_back(kDefaultCase);
        }
        repeatWeight = e.primary2 ? kRepeatMark : e.primary1;
        repeatDiacritic = e.primary2 ? kDefaultDiacritic : diacritic;
        afterKana = e.kind != 0;
        if (afterKana) {
            anyKana = true;
            kanaSize = e.small, kanaKind = e.kind, kanaWidth = e.width;
            sizes.push_back(e.small);
            marks.push_back(kPlainKana);
            kinds.push_back(e.kind);
            widths.push_back(e.width);
        }
    }

    // Trailing default weights are left out of each list.
    const auto append = [](std::string& key, std::string& list, uint8_t fallback) {
        while (!list.empty() && static_cast<uint8_t>(list.back()) == fallback)
            list.pop_back();
        key += list;
    };
    key = primary;
    key.push_back('\x01');
    append(key, diacritics, kDefaultDiacritic);
    key.push_back('\x01');
    append(key, cases, kDefaultCase);
    key.push_back('\x01');
    if (anyKana) {
        append(key, sizes, kNormalSize);
        key.push_back('\xFF');
        append(key, marks, kPlainKana);
        key.push_back('\x02');
        append(key, kinds, kHiragana);
        key.push_back('\xFF');
        append(key, widths, kFullWidth);
        key.push_back('\xFF');
    }
    key.push_back('\x01');
    key += special;
    return key;
}

std::string nativePath(std::u16string_view path) {
    return utf16ToUtf8(path);
}

std::u16string reasonFromErrno(int error) {
    const std::string text = std::strerror(error);
    return std::u16string(text.begin(), text.end());
}

// False with errno set when a write fails.
bool writeAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0)
            return false;
        done += static_cast<size_t>(put);
    }
    return true;
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
        const std::string working = nativePath(workingCopyPath(path));
        const int fd = ::open(working.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            reason = reasonFromErrno(errno);
            return false;
        }
        // Each step's error is taken before the clean-up can change errno;
        // the descriptor is closed on every path.
        int error = writeAll(fd, bytes) ? 0 : errno;
        if (error == 0 && ::fsync(fd) != 0)
            error = errno;
        if (::close(fd) != 0 && error == 0)
            error = errno;
        if (error == 0 && ::rename(working.c_str(), target.c_str()) != 0)
            error = errno;
        if (error == 0)
            return true;
        reason = reasonFromErrno(error);
        ::unlink(working.c_str());
        return false;
    }

    std::u16string workingCopyPath(std::u16string_view path) override {
        static std::atomic<unsigned long long> calls{0};
        const std::string suffix =
            ".tmp~" + std::to_string(::getpid()) + "-" + std::to_string(++calls);
        return std::u16string(path) + std::u16string(suffix.begin(), suffix.end());
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

    std::optional<FileStamp> fileStamp(std::u16string_view path) const override {
        struct stat st {};
        if (::stat(nativePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
            return std::nullopt;
        const auto seconds = static_cast<uint64_t>(st.st_mtim.tv_sec);
        return FileStamp{seconds * 1000000000u + static_cast<uint64_t>(st.st_mtim.tv_nsec),
                         static_cast<uint64_t>(st.st_size)};
    }

    bool canReplaceFile(std::u16string_view path) override {
        if (!folderTakesNewFile(path))
            return false;
        const std::string target = nativePath(path);
        struct stat st {};
        if (::stat(target.c_str(), &st) != 0)
            return errno == ENOENT;
        if (!S_ISREG(st.st_mode))
            return false;
        const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        ::close(fd);
        return true;
    }

  private:
    // A file of a name of its own made in path's folder and removed again.
    static bool folderTakesNewFile(std::u16string_view path) {
        const size_t separator = path.find_last_of(u'/');
        const std::string folder = separator == std::u16string_view::npos
                                       ? "./"
                                       : nativePath(path.substr(0, separator + 1));
        const std::string stem = folder + ".morvanex-probe-" + std::to_string(::getpid()) + "-";
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string probe = stem + std::to_string(attempt);
            const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (fd >= 0) {
                ::close(fd);
                ::unlink(probe.c_str());
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
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
    uint64_t steadyMilliseconds() const override {
        const auto since = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
    }
};

} // namespace

PlatformServices& platformServices() {
    static Cp932CodePage ansi;
    static SortKeyCollator collator;
    static PosixFileSystem files;
    static PosixClock clock;
    static PlatformServices services{ansi, collator, files, clock};
    return services;
}

} // namespace morvane
