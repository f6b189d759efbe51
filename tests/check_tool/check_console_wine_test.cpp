// The tools writing to a console: the console's own characters, read back,
// are the tool's text itself, Japanese included, although the console's code
// page is 932 (bytes of UTF-8 would show as garbage there).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "check_exe.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "support/temp_dir.h"
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

// Each tool on a console of code page 932, through the tools' one console
// writer: the findings, and the rows of a LISP file named in kanji.
TEST(CheckConsoleWine, AConsoleGetsTheTextAsItsOwnCharacters) {
    test::TempDir dir;
    dir.write(u"線.lsp", ";; 線を引く\n(defun c:ln () 1)\n");
    struct Case {
        const char* tool;
        std::wstring exe;
        std::wstring arguments;
        std::vector<std::wstring> lines;
    };
    const Case cases[] = {
        // In Japanese: Wine's user interface language follows its locale.
        // C:\Tools\other.lsp counts too where a C: drive can be looked at.
        {"morvanex-check",
         L"" MORVANE_CHECK_EXE,
         L"\"" MORVANE_CHECK_DATA_DIR L"\\missing_files\"",
         {L"\\missing.lsp。ダブルクリックすると \"ファイルが見つかりません．\" と表示されます\n",
          L" 件、警告 0 件\n"}},
        {"morvanex-index",
         L"" MORVANE_INDEX_EXE,
         L"\"" + toWide(dir.file(u"線.lsp")) + L"\"",
         {L"\n線\n", L"ロード 線.lsp"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tool);
        OwnConsole console;
        ASSERT_TRUE(console.made());
        SetConsoleOutputCP(932);
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        const UniqueFile screen(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                            OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(screen.get(), INVALID_HANDLE_VALUE);
        // Wide enough that no line wraps.
        ASSERT_TRUE(SetConsoleScreenBufferSize(screen.get(), {400, 100}));

        ASSERT_TRUE(test::runToolExe(c.exe, c.arguments, screen.get()));

        // The first line of the buffer stands after a line end too.
        const std::wstring text = L"\n" + consoleText(screen.get());
        for (const auto& line : c.lines)
            EXPECT_NE(text.find(line), std::wstring::npos)
                << utf16ToUtf8(fromWide(line)) << " not in:\n"
                << utf16ToUtf8(fromWide(text));
    }
}

} // namespace
} // namespace morvane
