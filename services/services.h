#pragma once
// The few things the core needs from the operating system, as interfaces of
// the core itself; platform/ implements them. The exe links the
// Win32 implementation; host tests and tools link the POSIX one.
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace morvane {

// A conversion the system refused, with its reason in the system's words.
// Never an empty text in place of the result: the caller turns it into the
// message of the file it was reading or writing, and writes nothing.
class ConversionError : public std::exception {
  public:
    explicit ConversionError(std::u16string reason) : reason_(std::move(reason)) {}
    const std::u16string& reason() const noexcept { return reason_; }
    const char* what() const noexcept override { return "MorvaneX conversion error"; }

  private:
    std::u16string reason_;
};

// Each conversion throws ConversionError when the system refuses it.
class AnsiCodePage {
  public:
    virtual ~AnsiCodePage() = default;
    // Bytes that are no character become the code page's default character.
    virtual std::u16string decode(std::string_view bytes) const = 0;
    // Characters the code page cannot hold become its default character.
    virtual std::string encode(std::u16string_view text) const = 0;
    // The code page's number: 932 on our users' systems, 65001 where Windows
    // is set to use UTF-8 as its ANSI code page.
    virtual unsigned number() const = 0;
    // False when some bytes are no character of the code page, so that the
    // converter puts a stand-in in their place.
    virtual bool isValid(std::string_view bytes) const = 0;
    // Code page 932, the one lists made on our users' other PCs are written
    // in, whatever this system's ANSI code page is.
    virtual const AnsiCodePage& cp932() const = 0;
};

class TextCollator {
  public:
    virtual ~TextCollator() = default;
    // Locale-aware, letter case ignored: negative, zero or positive.
    virtual int compareIgnoreCase(std::u16string_view a, std::u16string_view b) const = 0;
};

// What tells one version of a file from the next without reading it: its
// last-write time (in the system's own units, only compared for equality)
// and its size.
struct FileStamp {
    uint64_t lastWrite = 0;
    uint64_t size = 0;

    bool operator==(const FileStamp&) const = default;
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
    // Writes a working copy beside the target (named by workingCopyPath),
    // then replaces the target with it, so a failure never leaves a truncated
    // file; a failed write removes its working copy.
    virtual bool writeFileAtomic(std::u16string_view path, std::string_view bytes,
                                 std::u16string& reason) = 0;
    // A name beside path for a working copy that no other call, in this
    // process or another, is given: two programs saving one file at the same
    // moment never remove or commit each other's copy.
    virtual std::u16string workingCopyPath(std::u16string_view path) = 0;
    // Fails when the destination exists.
    virtual bool moveFile(std::u16string_view from, std::u16string_view to,
                          std::u16string& reason) = 0;
    virtual bool removeFile(std::u16string_view path) = 0;
    // The stamp of an existing file (links followed), read from the folder
    // without opening the file, so a file another program holds open, even
    // one it denies reading, has one. nullopt for no file (or a folder).
    virtual std::optional<FileStamp> fileStamp(std::u16string_view path) const = 0;
    // Whether this user can replace the file at path with a new one: its
    // folder takes a new file (one made under a name of its own and removed
    // at once) and an existing file opens for writing (opened with every
    // sharing and closed, its bytes and time unchanged). Nothing is left
    // behind. A folder at path cannot be replaced.
    virtual bool canReplaceFile(std::u16string_view path) = 0;
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
