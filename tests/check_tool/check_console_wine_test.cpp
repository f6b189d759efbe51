// morvanex-check.exe writing to a console: the console's own characters,
// read back, are the findings themselves, Japanese included, although the
// console's code page is 932 (bytes of UTF-8 would show as garbage there).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "check_exe.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "text/utf.h"

namespace morvane {
namespace {

// A console of this test's own for as long as it lives.
class OwnConsole {
  public:
    OwnConsole() {
        FreeConsole();
        made_ = AllocConsole() != FALSE;
    }
    ~OwnConsole() {
        if (made_)
            FreeConsole();
    }
    OwnConsole(const OwnConsole&) = delete;
    OwnConsole& operator=(const OwnConsole&) = delete;
    bool made() const { return made_; }

  private:
    bool made_ = false;
};

// The screen buffer's text up to the cursor's line, lines trimmed on the
// right and ended with LF.
std::wstring consoleText(HANDLE screen) {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(screen, &info))
        return L"(no screen buffer)";
    const SHORT width = info.dwSize.X;
    std::wstring text;
    for (SHORT row = 0; row <= info.dwCursorPosition.Y; ++row) {
        std::wstring line(static_cast<size_t>(width), L' ');
        DWORD read = 0;
        ReadConsoleOutputCharacterW(screen, line.data(), static_cast<DWORD>(width), {0, row},
                                    &read);
        line.resize(read);
        line.erase(line.find_last_not_of(L' ') + 1);
        text += line + L"\n";
    }
    return text;
}

TEST(CheckConsoleWine, AConsoleGetsTheTextAsItsOwnCharacters) {
    OwnConsole console;
    ASSERT_TRUE(console.made());
    SetConsoleOutputCP(932);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const UniqueFile screen(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                                        0, nullptr));
    ASSERT_NE(screen.get(), INVALID_HANDLE_VALUE);
    // Wide enough that no finding wraps.
    ASSERT_TRUE(SetConsoleScreenBufferSize(screen.get(), {400, 100}));

    ASSERT_TRUE(test::runCheckExe(L"\"" MORVANE_CHECK_DATA_DIR L"\\missing_files\"", screen.get()));

    const std::wstring text = consoleText(screen.get());
    // In Japanese: Wine's user interface language follows its locale.
    EXPECT_NE(
        text.find(L"\\missing.lsp。ダブルクリックすると \"ファイルが見つかりません．\" と表示さ"
                  L"れます\n"),
        std::wstring::npos)
        << utf16ToUtf8(fromWide(text));
    // C:\Tools\other.lsp counts too where a C: drive can be looked at.
    EXPECT_NE(text.find(L" 件、警告 0 件\n"), std::wstring::npos);
}

} // namespace
} // namespace morvane
