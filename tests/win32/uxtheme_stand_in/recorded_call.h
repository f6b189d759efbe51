#pragma once
// What the uxtheme stand-in records of each call, shared by the stand-in DLL
// and the tests that read it back.
#include <windows.h>

namespace morvane::test {

enum class StandInEntry : int {
    SetPreferredAppMode = 135,
    FlushMenuThemes = 136,
    AllowDarkModeForWindow = 133,
    RefreshImmersiveColorPolicyState = 104,
    SetWindowTheme = 1,
};

struct RecordedCall {
    StandInEntry entry;
    HWND window;            // AllowDarkModeForWindow, SetWindowTheme
    int value;              // the app mode, or the allow flag
    wchar_t subAppName[32]; // SetWindowTheme's, cut to fit
    bool subIdListNull;
    HRESULT forwardedResult; // the real SetWindowTheme's answer
};

inline constexpr int kMaxRecordedCalls = 64;

// The stand-in's own exports (by name, beside the uxtheme ordinals).
using RecordedCallsFn = int(WINAPI*)(RecordedCall* calls, int capacity);
using ClearRecordedCallsFn = void(WINAPI*)();

} // namespace morvane::test
