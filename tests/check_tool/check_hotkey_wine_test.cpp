// morvanex-check.exe under Wine tells a hotkey another program holds: it asks
// RegisterHotKey itself and gives the hotkey back at once.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "check_exe.h"
#include "platform/win32/win32_text.h"
#include "support/temp_dir.h"

namespace morvane {
namespace {

TEST(CheckHotkeyWine, AHotkeyAnotherProgramHoldsIsReportedAndAFreeOneIsNot) {
    test::TempDir dir;
    dir.write(u"MorvaneX.ini", "[Keys]\r\nActivate=Ctrl+Alt+Shift+F8\r\n");
    // Without its last separator, which would escape the closing quote.
    std::wstring folder = toWide(dir.folder());
    folder.pop_back();
    const std::wstring arguments = L"\"" + folder + L"\" --lang en";
    const std::string taken = "MorvaneX.ini:2: warning: [Keys] Activate=Ctrl+Alt+Shift+F8: "
                              "Ctrl+Alt+Shift+F8 is held by another program";

    ASSERT_TRUE(RegisterHotKey(nullptr, 5, MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_F8));
    const test::ExeRun held = test::runToolToFile(L"" MORVANE_CHECK_EXE, arguments);
    UnregisterHotKey(nullptr, 5);
    ASSERT_TRUE(held.ended);
    EXPECT_NE(held.out.find(taken), std::string::npos) << held.out;

    const test::ExeRun free = test::runToolToFile(L"" MORVANE_CHECK_EXE, arguments);
    ASSERT_TRUE(free.ended);
    EXPECT_EQ(free.out.find("Activate"), std::string::npos) << free.out;
    // The check gave it back: this process can take it.
    EXPECT_TRUE(RegisterHotKey(nullptr, 5, MOD_CONTROL | MOD_ALT | MOD_SHIFT, VK_F8));
    UnregisterHotKey(nullptr, 5);
}

} // namespace
} // namespace morvane
