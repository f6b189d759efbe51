#pragma once
// What the fuzz targets share: reading choices and texts off the input, and
// an in-memory file system, so nothing touches the disk and nothing is set up
// again for each input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "services/services.h"

namespace morvane::fuzz {

// Fails the run: libFuzzer saves the input.
[[noreturn]] inline void fail() {
    std::abort();
}

inline void require(bool condition) {
    if (!condition)
        fail();
}

class InputReader {
  public:
    InputReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    // Up to the next 0xFF byte (or the end), each byte one character: digits,
    // signs, letters and separators come up often.
    std::u16string text() {
        std::u16string out;
        while (at_ < size_ && data_[at_] != 0xFF)
            out.push_back(data_[at_++]);
        if (at_ < size_)
            ++at_;
        return out;
    }
    std::string_view rest() {
        const auto* start = reinterpret_cast<const char*>(data_ + at_);
        const size_t n = size_ - at_;
        at_ = size_;
        return {start, n};
    }
    std::string_view bytes(size_t n) {
        n = n < size_ - at_ ? n : size_ - at_;
        const auto* start = reinterpret_cast<const char*>(data_ + at_);
        at_ += n;
        return {start, n};
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

class MemoryFileSystem final : public FileSystem {
  public:
    std::map<std::u16string, std::string, std::less<>> files;

    bool fileExists(std::u16string_view path) const override {
        return files.find(path) != files.end();
    }
    bool readFile(std::u16string_view path, std::string& bytes,
                  std::u16string& reason) const override {
        const auto found = files.find(path);
        if (found == files.end()) {
            reason = u"missing";
            return false;
        }
        bytes = found->second;
        return true;
    }
    bool writeFileAtomic(std::u16string_view path, std::string_view bytes,
                         std::u16string&) override {
        files[std::u16string(path)] = std::string(bytes);
        return true;
    }
    // Unique to the call, as the real ones are.
    std::u16string workingCopyPath(std::u16string_view path) override {
        const auto call = std::to_string(++workingCopies_);
        return std::u16string(path) + u".~" + std::u16string(call.begin(), call.end());
    }
    bool moveFile(std::u16string_view from, std::u16string_view to,
                  std::u16string& reason) override {
        const auto found = files.find(from);
        if (found == files.end() || fileExists(to)) {
            reason = u"cannot move";
            return false;
        }
        files[std::u16string(to)] = std::move(found->second);
        files.erase(found);
        return true;
    }
    bool canReplaceFile(std::u16string_view) override { return true; }
    bool removeFile(std::u16string_view path) override {
        const auto found = files.find(path);
        if (found == files.end())
            return false;
        files.erase(found);
        return true;
    }
    std::optional<FileStamp> fileStamp(std::u16string_view path) const override {
        const auto found = files.find(path);
        if (found == files.end())
            return std::nullopt;
        return FileStamp{0, found->second.size()};
    }

  private:
    unsigned long long workingCopies_ = 0;
};

class FixedClock final : public Clock {
  public:
    LocalTime now() const override { return {2025, 7, 17, 12, 0, 0}; }
    uint64_t steadyMilliseconds() const override { return 0; }
};

// The real code page and collator with in-memory files, made once.
struct MemoryServices {
    MemoryFileSystem files;
    FixedClock clock;
    PlatformServices services{platformServices().ansi, platformServices().collator, files, clock};
};

inline MemoryServices& memoryServices() {
    static MemoryServices instance;
    return instance;
}

} // namespace morvane::fuzz
