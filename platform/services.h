#pragma once
// The few things the core needs from the operating system. The exe links the
// Win32 implementation; host tests and tools link the POSIX one.
#include <cstdint>
#include <string>
#include <string_view>

namespace morvane {

class AnsiCodePage {
  public:
    virtual ~AnsiCodePage() = default;
    virtual std::u16string decode(std::string_view bytes) const = 0;
    // Characters the code page cannot hold become its default character.
    virtual std::string encode(std::u16string_view text) const = 0;
};

class TextCollator {
  public:
    virtual ~TextCollator() = default;
    // Locale-aware, letter case ignored: negative, zero or positive.
    virtual int compareIgnoreCase(std::u16string_view a, std::u16string_view b) const = 0;
};

// File operations on full paths. Failures return false and a reason in the
// system's words.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // True for an existing file (links followed); a folder is not a file.
    virtual bool fileExists(std::u16string_view path) const = 0;
    virtual bool readFile(std::u16string_view path, std::string& bytes,
                          std::u16string& reason) const = 0;
    // Writes a temporary file beside the target, then replaces the target, so a
    // failure never leaves a truncated file.
    virtual bool writeFileAtomic(std::u16string_view path, std::string_view bytes,
                                 std::u16string& reason) = 0;
    // Fails when the destination exists.
    virtual bool moveFile(std::u16string_view from, std::u16string_view to,
                          std::u16string& reason) = 0;
    virtual bool removeFile(std::u16string_view path) = 0;
};

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalTime now() const = 0;
    // Milliseconds from an arbitrary start, never going back: for timing
    // short waits, whatever happens to the wall clock meanwhile.
    virtual uint64_t steadyMilliseconds() const = 0;
};

struct PlatformServices {
    AnsiCodePage& ansi;
    TextCollator& collator;
    FileSystem& files;
    Clock& clock;
};

// The running platform's implementation; lives for the whole process.
PlatformServices& platformServices();

} // namespace morvane
