#pragma once
// Runs the stand-in CAD for one test and reads what it logged.
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/win32/scoped.h"
#include "support/temp_dir.h"

namespace morvane::test {

struct LoggedEvent {
    long long microseconds = 0;
    std::string kind;   // "command", "key", "window", "invoke", ...
    std::string detail; // control characters as <0D>
};

class StandinProcess {
  public:
    // Starts the stand-in under a ProgID of its own with further options and
    // waits until its object is registered as running.
    explicit StandinProcess(std::wstring progId, std::wstring options = L"");
    ~StandinProcess();
    StandinProcess(const StandinProcess&) = delete;
    StandinProcess& operator=(const StandinProcess&) = delete;

    const std::wstring& progId() const { return progId_; }
    HWND window() const { return window_; }
    std::vector<LoggedEvent> events() const;
    std::vector<std::string> details(const std::string& kind) const;
    // Waits until an event of the kind (and detail, when given) is logged.
    bool waitFor(const std::string& kind, const std::string& detail = "",
                 std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

  private:
    bool start(const std::wstring& options);
    void stop();

    TempDir dir_;
    std::wstring progId_;
    std::u16string logPath_;
    UniqueHandle process_;
    HWND window_ = nullptr;
};

// A ProgID no test registers.
std::wstring uniqueProgId(const wchar_t* tag);

// Runs the stand-in to register a ProgID only; no instance keeps running.
// With options, such as --no-type-library.
void registerOnly(const std::wstring& progId, const std::wstring& options = L"");

// Removes a ProgID's registration again.
void unregister(const std::wstring& progId);

// Pumps this thread's messages for a while (the foreground switch and the
// stand-in's answers need the launcher side to keep its queue moving).
void pumpFor(std::chrono::milliseconds duration);

} // namespace morvane::test
