#pragma once
// Command-line options of the stand-in CAD.
#include <string>
#include <vector>

namespace standin {

enum class HwndType { I4, I8, Bstr };

struct Options {
    std::wstring progId = L"MorvaneX.StandinCad";
    std::wstring logFile;    // empty: no log file
    bool noDocument = false; // ActiveDocument yields no object
    bool minimized = false;  // start with the window minimised
    bool reject = false;     // the message filter rejects every call
    unsigned busyMs = 0;     // busy for this long from the first call
    HwndType hwndType = HwndType::I8;
    bool registerOnly = false;  // register the ProgID, then exit
    bool noTypeLibrary = false; // register no server and no type library
    bool unregister = false;    // remove the ProgID's keys, then exit
};

// Throws std::invalid_argument with a readable reason for a bad option.
Options parseOptions(const std::vector<std::wstring>& args);

extern const wchar_t kUsage[];

} // namespace standin
