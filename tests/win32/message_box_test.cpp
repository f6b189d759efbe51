// The dark message box and the error box, answered by a watcher thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

#include "gui_support.h"
#include "support/case_name.h"
#include "text/user_error.h"
#include "ui/message_box.h"

namespace morvane {
namespace {

using test::BoxWatcher;

struct BoxCase {
    const char* name;
    friend void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }
    MessageKind kind;
    MessageButtons buttons;
    MessageResult defaultButton;
    const wchar_t* press; // empty: close the box as Escape does
    const wchar_t* caption;
    std::vector<std::wstring> shownButtons;
    const wchar_t* shownDefault;
    MessageResult result;
};

class MessageBoxCases : public testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxCases, ShowsKindButtonsAndDefaultAndReturnsThePressedButton) {
    const auto& c = GetParam();
    BoxWatcher watcher(c.press);
    const MessageResult result =
        showMessageBox(nullptr, u"一行目\n二行目", c.kind, c.buttons, c.defaultButton);
    const auto& box = watcher.result();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.caption, c.caption);
    EXPECT_EQ(box.text, L"一行目\n二行目");
    EXPECT_EQ(box.buttons, c.shownButtons);
    EXPECT_EQ(box.defaultButton, c.shownDefault);
    EXPECT_TRUE(box.iconShown);
    EXPECT_EQ(result, c.result);
}

INSTANTIATE_TEST_SUITE_P(Cases, MessageBoxCases,
                         testing::Values(BoxCase{"information ok",
                                                 MessageKind::Information,
                                                 MessageButtons::Ok,
                                                 MessageResult::Ok,
                                                 L"OK",
                                                 L"情報",
                                                 {L"OK"},
                                                 L"OK",
                                                 MessageResult::Ok},
                                         BoxCase{"warning cancel",
                                                 MessageKind::Warning,
                                                 MessageButtons::OkCancel,
                                                 MessageResult::Cancel,
                                                 L"キャンセル",
                                                 L"警告",
                                                 {L"OK", L"キャンセル"},
                                                 L"キャンセル",
                                                 MessageResult::Cancel},
                                         BoxCase{"error ok of two",
                                                 MessageKind::Error,
                                                 MessageButtons::OkCancel,
                                                 MessageResult::Ok,
                                                 L"OK",
                                                 L"エラー",
                                                 {L"OK", L"キャンセル"},
                                                 L"OK",
                                                 MessageResult::Ok},
                                         BoxCase{"confirmation yes",
                                                 MessageKind::Confirmation,
                                                 MessageButtons::YesNo,
                                                 MessageResult::Yes,
                                                 L"はい(&Y)",
                                                 L"確認",
                                                 {L"はい(&Y)", L"いいえ(&N)"},
                                                 L"はい(&Y)",
                                                 MessageResult::Yes},
                                         BoxCase{"confirmation no default",
                                                 MessageKind::Confirmation,
                                                 MessageButtons::YesNo,
                                                 MessageResult::No,
                                                 L"いいえ(&N)",
                                                 L"確認",
                                                 {L"はい(&Y)", L"いいえ(&N)"},
                                                 L"いいえ(&N)",
                                                 MessageResult::No},
                                         BoxCase{"escape on yes no",
                                                 MessageKind::Confirmation,
                                                 MessageButtons::YesNo,
                                                 MessageResult::Yes,
                                                 L"",
                                                 L"確認",
                                                 {L"はい(&Y)", L"いいえ(&N)"},
                                                 L"はい(&Y)",
                                                 MessageResult::No},
                                         BoxCase{"escape on ok cancel",
                                                 MessageKind::Information,
                                                 MessageButtons::OkCancel,
                                                 MessageResult::Ok,
                                                 L"",
                                                 L"情報",
                                                 {L"OK", L"キャンセル"},
                                                 L"OK",
                                                 MessageResult::Cancel}),
                         test::CaseName());

TEST(DarkMessageBox, IsCentredOnThePrimaryScreenAndWideEnoughForLongLines) {
    BoxWatcher watcher(L"OK");
    const std::u16string longPath(200, u'x');
    showMessageBox(nullptr, longPath, MessageKind::Information);
    const auto& box = watcher.result();
    ASSERT_TRUE(box.found);
    const int width = box.rect.right - box.rect.left;
    const int height = box.rect.bottom - box.rect.top;
    EXPECT_EQ(box.rect.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(box.rect.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    EXPECT_LT(width, GetSystemMetrics(SM_CXSCREEN)); // the long word is broken, not clipped
    EXPECT_EQ(box.text, std::wstring(200, L'x'));
}

// Dragged onto a monitor of 192 DPI, the box takes the suggested place
// and sizes its buttons and text for the new DPI.
TEST(DarkMessageBox, LaysItselfOutAnewWhenTheDpiChanges) {
    struct Seen {
        int buttonHeight = 0, fontHeight = 0;
        UINT dpi = 0;
        RECT box{};
    } before, after;
    auto measure = [](HWND box) {
        Seen seen;
        seen.dpi = GetDpiForWindow(box);
        GetWindowRect(box, &seen.box);
        RECT button{};
        GetWindowRect(GetDlgItem(box, IDOK), &button);
        seen.buttonHeight = button.bottom - button.top;
        LOGFONTW font{};
        HWND text = FindWindowExW(box, nullptr, L"Static", L"DPI");
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        seen.fontHeight = std::abs(font.lfHeight);
        return seen;
    };
    BoxWatcher watcher(L"OK", [&](HWND box) {
        before = measure(box);
        RECT suggested{50, 60, 650, 460};
        SendMessageW(box, WM_DPICHANGED, MAKEWPARAM(192, 192),
                     reinterpret_cast<LPARAM>(&suggested));
        after = measure(box);
    });
    showMessageBox(nullptr, u"DPI", MessageKind::Information);
    ASSERT_TRUE(watcher.result().found);
    ASSERT_GT(before.buttonHeight, 0);
    EXPECT_EQ(after.buttonHeight, MulDiv(before.buttonHeight, 192, static_cast<int>(before.dpi)));
    EXPECT_GT(after.fontHeight, before.fontHeight);
    EXPECT_EQ(after.box.left, 50);
    EXPECT_EQ(after.box.top, 60);
    EXPECT_GT(after.box.right - after.box.left, before.box.right - before.box.left);
}

struct ErrorCase {
    const char* name;
    friend void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }
    std::u16string text;
    std::wstring shown;
};

class ErrorBoxText : public testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorBoxText, AppendsAFullStopAfterCharactersAboveIt) {
    BoxWatcher watcher(L"OK");
    showErrorBox(nullptr, GetParam().text);
    const auto& box = watcher.result();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.caption, L"MorvaneX");
    EXPECT_EQ(box.text, GetParam().shown);
    EXPECT_EQ(box.buttons, (std::vector<std::wstring>{L"OK"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ErrorBoxText,
    testing::Values(ErrorCase{"letter", u"abc", L"abc."},
                    ErrorCase{"japanese", u"書き込めません", L"書き込めません."},
                    ErrorCase{"slash above dot", u"a/", L"a/."},
                    ErrorCase{"full stop", u"done.", L"done."},
                    ErrorCase{"trailing blank", u"reason ", L"reason "},
                    ErrorCase{"comma below dot", u"a,", L"a,"}, ErrorCase{"empty", u"", L""}),
    test::CaseName());

TEST(RunGuarded, ShowsTheEscapingErrorAndEndsOnlyTheHandler) {
    int stepsRun = 0;
    {
        BoxWatcher watcher(L"OK");
        runGuarded(nullptr, [&] {
            ++stepsRun;
            throw UserError(u"ファイル C:\\a.txt は開けません。 拒否 ");
            ++stepsRun;
        });
        EXPECT_EQ(watcher.result().text, L"ファイル C:\\a.txt は開けません。 拒否 ");
    }
    {
        BoxWatcher watcher(L"OK");
        runGuarded(nullptr, [] { throw std::out_of_range("List index out of bounds"); });
        EXPECT_EQ(watcher.result().text, L"List index out of bounds.");
    }
    runGuarded(nullptr, [&] { ++stepsRun; });
    EXPECT_EQ(stepsRun, 2);
}

} // namespace
} // namespace morvane
