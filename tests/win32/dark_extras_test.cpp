// The undocumented dark-mode extras stay off under Wine: its uxtheme
// ordinals are missing or other functions.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/dark_extras.h"

namespace morvane {
namespace {

TEST(DarkExtras, AreNeverUsedUnderWine) {
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (!wine)
        GTEST_SKIP() << "real Windows: the extras depend on the build";
    EXPECT_FALSE(dark::extrasAvailable());
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    dark::useDarkControlTheme(edit, L"DarkMode_CFD"); // must be a harmless no-op
    DestroyWindow(edit);
}

} // namespace
} // namespace morvane
