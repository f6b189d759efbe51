// Windows' code-page conversions as the program makes them: the checked
// calls refuse what Windows documents it refuses (Wine takes anything), the
// flags chosen for 932 and 65001 work with the real conversions, and a
// Windows code page 65001 keeps the shared lists in 932.
#include <windows.h>

#include <gtest/gtest.h>

#include "cad_targets/target_file.h"
#include "lisp/dropped_list.h"
#include "platform/code_page_flags.h"
#include "platform/win32/windows_code_page.h"
#include "support/case_name.h"
#include "support/fake_services.h"

namespace morvane {
namespace {

struct CallCase {
    const char* name;
    friend void PrintTo(const CallCase& c, std::ostream* os) { *os << c.name; }
    UINT codePage;
    DWORD flags;
    int inputLength; // of L"x" or "x"
    bool withOutput;
    int outputSize;
    DWORD error; // 0: the call goes through
};

class CheckedCalls : public testing::TestWithParam<CallCase> {};

TEST_P(CheckedCalls, RefuseWhatWindowsRefuses) {
    const auto& c = GetParam();
    char bytes[8] = {};
    wchar_t text[8] = {};
    SetLastError(0);
    const int encoded = checkedWideCharToMultiByte(c.codePage, c.flags, L"x", c.inputLength,
                                                   c.withOutput ? bytes : nullptr, c.outputSize);
    EXPECT_EQ(encoded == 0 ? GetLastError() : 0u, c.error);
    // The same flags mean other things when decoding: only the buffer rules
    // and the flags both directions refuse are asked of both.
    if (c.flags != 0 && c.flags != WC_NO_BEST_FIT_CHARS)
        return;
    SetLastError(0);
    const DWORD decodeFlags = c.flags == 0 ? 0 : MB_PRECOMPOSED;
    const int decoded = checkedMultiByteToWideChar(c.codePage, decodeFlags, "x", c.inputLength,
                                                   c.withOutput ? text : nullptr, c.outputSize);
    EXPECT_EQ(decoded == 0 ? GetLastError() : 0u, c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Preconditions, CheckedCalls,
    testing::Values(CallCase{"plain_932", 932, 0, 1, true, 8, 0},
                    CallCase{"size_query", 932, 0, 1, false, 0, 0},
                    CallCase{"ansi_code_page_resolved", CP_ACP, 0, 1, true, 8, 0},
                    CallCase{"no_best_fit_and_precomposed_with_932", 932, WC_NO_BEST_FIT_CHARS, 1,
                             true, 8, 0},
                    CallCase{"no_best_fit_and_precomposed_not_with_65001", CP_UTF8,
                             WC_NO_BEST_FIT_CHARS, 1, true, 8, ERROR_INVALID_FLAGS},
                    CallCase{"invalid_units_not_with_932", 932, WC_ERR_INVALID_CHARS, 1, true, 8,
                             ERROR_INVALID_FLAGS},
                    CallCase{"no_flag_only_for_utf7", CP_UTF7, WC_NO_BEST_FIT_CHARS, 1, true, 8,
                             ERROR_INVALID_FLAGS},
                    CallCase{"empty_input", 932, 0, 0, true, 8, ERROR_INVALID_PARAMETER},
                    CallCase{"buffer_without_size", 932, 0, 1, true, 0, ERROR_INVALID_PARAMETER},
                    CallCase{"size_without_buffer", 932, 0, 1, false, 8, ERROR_INVALID_PARAMETER},
                    CallCase{"negative_size", 932, 0, 1, true, -1, ERROR_INVALID_PARAMETER}),
    test::CaseName());

// The real calls, not the checked ones, with the flags the program chooses:
// Windows takes them for both code pages, and so must Wine.
TEST(ChosenFlags, WorkWithTheRealConversionsOf932And65001) {
    const std::wstring text = L"日本\u00E9";
    struct Case {
        UINT codePage;
        std::string bytes;
    };
    for (const Case& c : {Case{932, "\x93\xfa\x96\x7b?"}, // no best-fit "e"
                          Case{CP_UTF8, "\xe6\x97\xa5\xe6\x9c\xac\xc3\xa9"}}) {
        SCOPED_TRACE(c.codePage);
        char bytes[16] = {};
        const int size = WideCharToMultiByte(c.codePage, code_page::encodeFlags(c.codePage),
                                             text.data(), static_cast<int>(text.size()), bytes,
                                             sizeof bytes, nullptr, nullptr);
        EXPECT_EQ(std::string(bytes, static_cast<size_t>(size)), c.bytes) << GetLastError();
        wchar_t back[16] = {};
        const DWORD validating = code_page::decodeFlags(c.codePage, true);
        EXPECT_GT(MultiByteToWideChar(c.codePage, validating, c.bytes.data(),
                                      static_cast<int>(c.bytes.size()), back, 16),
                  0);
        SetLastError(0);
        EXPECT_EQ(MultiByteToWideChar(c.codePage, validating, "\x81\xFF\x81", 3, back, 16), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    }
}

TEST(WindowsCodePage, Utf8ConvertsAndValidates) {
    const WindowsCodePage utf8(CP_UTF8);
    EXPECT_EQ(utf8.number(), 65001u);
    EXPECT_EQ(utf8.encode(u"日本"), "\xe6\x97\xa5\xe6\x9c\xac");
    EXPECT_EQ(utf8.decode("\xe6\x97\xa5"), u"日");
    EXPECT_TRUE(utf8.isValid("\xe6\x97\xa5"));
    EXPECT_FALSE(utf8.isValid("\x93\xfa"));
    EXPECT_EQ(utf8.cp932().number(), 932u);
    EXPECT_EQ(WindowsCodePage(CP_ACP).number(), GetACP());
}

// The target list and a new command list on a Windows whose ANSI code page
// is UTF-8, through its real conversions: a list in 932 stays 932, an
// unmarked UTF-8 list goes through WideCharToMultiByte(65001) and stays so.
TEST(WindowsCodePage, Utf8SystemWritesListsBackInTheirEncoding) {
    WindowsCodePage utf8(CP_UTF8);
    test::FakeServices fake;
    PlatformServices services{utf8, fake.services.collator, fake.files, fake.clock};
    const std::vector<std::u16string> lines{u"日本\tA.B"};
    struct Case {
        std::string before, after;
    };
    for (const Case& c : {Case{"\x93\xfa\r\n", "\x93\xfa\x96\x7b\tA.B\r\n"},
                          Case{"x\r\n", "\xe6\x97\xa5\xe6\x9c\xac\tA.B\r\n"}}) {
        fake.files.files = {{u"C:\\M\\targets.txt", c.before}, {u"C:\\M\\list.txt", c.before}};
        TargetListFile targets(u"C:\\M\\targets.txt");
        targets.read(services);
        targets.write(lines, services);
        EXPECT_EQ(fake.files.files[u"C:\\M\\targets.txt"], c.after);
        installListFile(u"C:\\M\\list.txt", lines, services);
        EXPECT_EQ(fake.files.files[u"C:\\M\\list.txt"], c.after);
    }
}

} // namespace
} // namespace morvane
