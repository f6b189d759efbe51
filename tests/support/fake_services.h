#pragma once
// Platform services for tests that need a failure the real system will not
// give on demand (a file that exists but cannot be read, a fixed clock).
#include <map>
#include <set>
#include <string>

#include "platform/code_page_flags.h"
#include "services/services.h"

namespace morvane::test {

class FakeFileSystem final : public FileSystem {
  public:
    std::map<std::u16string, std::string> files;
    std::map<std::u16string, std::u16string> unreadable; // path -> reason
    // A file's last-write time in its stamp: each write through the fake
    // gives it the next number; a file the test puts in files has 0 until a
    // test sets one.
    std::map<std::u16string, uint64_t> lastWrites;
    // Files, and folders (ending with a separator), this user cannot write.
    std::set<std::u16string> unwritable;

    bool fileExists(std::u16string_view path) const override;
    bool readFile(std::u16string_view path, std::string& bytes,
                  std::u16string& reason) const override;
    bool writeFileAtomic(std::u16string_view path, std::string_view bytes,
                         std::u16string& reason) override;
    // path + ".~<n>" for the n-th call: unique, as the real ones are, and
    // known to the test.
    std::u16string workingCopyPath(std::u16string_view path) override;
    int workingCopies = 0;
    bool moveFile(std::u16string_view from, std::u16string_view to,
                  std::u16string& reason) override;
    bool removeFile(std::u16string_view path) override;
    std::optional<FileStamp> fileStamp(std::u16string_view path) const override;
    bool canReplaceFile(std::u16string_view path) override;

  private:
    uint64_t writes_ = 0;
};

// Shows the time the test sets; it moves only when the test moves it.
class FixedClock final : public Clock {
  public:
    LocalTime time;
    uint64_t milliseconds = 0;
    LocalTime now() const override { return time; }
    uint64_t steadyMilliseconds() const override { return milliseconds; }
};

// The ANSI code page of a system set to use UTF-8 for it (65001), with the
// platform's real code page 932 beside it. As strict as Windows: a
// conversion asked with flags code page 65001 does not take fails as
// Windows fails it (ConversionError), and isValid refuses what
// MB_ERR_INVALID_CHARS refuses.
class Utf8AnsiCodePage final : public AnsiCodePage {
  public:
    // The flags each conversion is asked with: the Windows implementation's
    // choice. A test sets others to stand for a conversion Windows refuses.
    code_page::Flags encodeFlags = code_page::encodeFlags(65001);
    code_page::Flags decodeFlags = code_page::decodeFlags(65001, false);

    std::u16string decode(std::string_view bytes) const override;
    std::string encode(std::u16string_view text) const override;
    unsigned number() const override { return 65001; }
    bool isValid(std::string_view bytes) const override;
    const AnsiCodePage& cp932() const override { return platformServices().ansi.cp932(); }
};

// Real code page and collation, fake files and clock.
struct FakeServices {
    FakeFileSystem files;
    FixedClock clock;
    PlatformServices services{platformServices().ansi, platformServices().collator, files, clock};
};

} // namespace morvane::test
