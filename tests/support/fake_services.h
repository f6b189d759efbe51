#pragma once
// Platform services for tests that need a failure the real system will not
// give on demand (a file that exists but cannot be read, a fixed clock).
#include <map>
#include <string>

#include "platform/services.h"

namespace morvane::test {

class FakeFileSystem final : public FileSystem {
  public:
    std::map<std::u16string, std::string> files;
    std::map<std::u16string, std::u16string> unreadable; // path -> reason

    bool fileExists(std::u16string_view path) const override;
    bool readFile(std::u16string_view path, std::string& bytes,
                  std::u16string& reason) const override;
    bool writeFileAtomic(std::u16string_view path, std::string_view bytes,
                         std::u16string& reason) override;
    bool moveFile(std::u16string_view from, std::u16string_view to,
                  std::u16string& reason) override;
    bool removeFile(std::u16string_view path) override;
};

// Shows the time the test sets; it moves only when the test moves it.
class FixedClock final : public Clock {
  public:
    LocalTime time;
    uint64_t milliseconds = 0;
    LocalTime now() const override { return time; }
    uint64_t steadyMilliseconds() const override { return milliseconds; }
};

// Real code page and collation, fake files and clock.
struct FakeServices {
    FakeFileSystem files;
    FixedClock clock;
    PlatformServices services{platformServices().ansi, platformServices().collator, files, clock};
};

} // namespace morvane::test
