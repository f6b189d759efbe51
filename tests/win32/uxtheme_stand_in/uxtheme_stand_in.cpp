// A stand-in of uxtheme's dark-mode entry points for tests under Wine, whose
// uxtheme lacks them: it records every call with its arguments and passes
// SetWindowTheme on to the real uxtheme, so the controls are themed as far
// as the system can.
#include <windows.h>

#include <iterator>

#include "recorded_call.h"

using morvane::test::kMaxRecordedCalls;
using morvane::test::RecordedCall;
using morvane::test::StandInEntry;

namespace {

RecordedCall calls[kMaxRecordedCalls];
int callCount = 0;
// Past the capacity calls are counted but not kept, so a test sees the overflow.
int droppedCount = 0;

RecordedCall& record(StandInEntry entry) {
    static RecordedCall overflow;
    if (callCount == kMaxRecordedCalls) {
        ++droppedCount;
        overflow = {};
        return overflow;
    }
    RecordedCall& call = calls[callCount++];
    call = {};
    call.entry = entry;
    return call;
}

using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

SetWindowThemeFn realSetWindowTheme() {
    static const auto function = reinterpret_cast<SetWindowThemeFn>(reinterpret_cast<void*>(
        GetProcAddress(LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32),
                       "SetWindowTheme")));
    return function;
}

} // namespace

extern "C" {

int WINAPI SetPreferredAppMode(int mode) {
    record(StandInEntry::SetPreferredAppMode).value = mode;
    return 0; // the previous mode: default
}

void WINAPI FlushMenuThemes() {
    record(StandInEntry::FlushMenuThemes);
}

bool WINAPI AllowDarkModeForWindow(HWND window, bool allow) {
    RecordedCall& call = record(StandInEntry::AllowDarkModeForWindow);
    call.window = window;
    call.value = allow;
    return true;
}

void WINAPI RefreshImmersiveColorPolicyState() {
    record(StandInEntry::RefreshImmersiveColorPolicyState);
}

HRESULT WINAPI SetWindowTheme(HWND window, LPCWSTR subAppName, LPCWSTR subIdList) {
    RecordedCall& call = record(StandInEntry::SetWindowTheme);
    call.window = window;
    call.subIdListNull = subIdList == nullptr;
    if (subAppName)
        lstrcpynW(call.subAppName, subAppName, static_cast<int>(std::size(call.subAppName)));
    const SetWindowThemeFn real = realSetWindowTheme();
    call.forwardedResult = real ? real(window, subAppName, subIdList) : E_NOTIMPL;
    return call.forwardedResult;
}

// Copies up to capacity calls in the order made; returns how many were made,
// dropped ones included.
int WINAPI recordedCalls(RecordedCall* out, int capacity) {
    for (int i = 0; i < callCount && i < capacity; ++i)
        out[i] = calls[i];
    return callCount + droppedCount;
}

void WINAPI clearRecordedCalls() {
    callCount = 0;
    droppedCount = 0;
}

} // extern "C"
