// The CAD link against the stand-in CAD in another process: what arrives,
// how it is called, and that every failure stays silent.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "cad/win32/cad_automation_win32.h"
#include "platform/win32/win32_text.h"
#include "standin_process.h"

namespace morvane::test {
namespace {

using namespace std::chrono_literals;

class CadLinkWine : public testing::Test {
  protected:
    bool runCommand(const std::wstring& progId, std::u16string_view text) {
        return runCadCommand(CadLink{automation_, desktop_, platformServices().clock},
                             fromWide(progId), text);
    }
    bool pressEscape(const std::wstring& progId) {
        return pressCadEscape(CadLink{automation_, desktop_, platformServices().clock},
                              fromWide(progId));
    }

    OleScope ole_;
    ComCadAutomation automation_;
    Win32CadDesktop desktop_;
};

struct HwndTypeCase {
    const char* name;
    friend void PrintTo(const HwndTypeCase& c, std::ostream* os) { *os << c.name; }
    const wchar_t* option;
};

class CommandArrives : public CadLinkWine, public testing::WithParamInterface<HwndTypeCase> {};

TEST_P(CommandArrives, WithOneCarriageReturnWhateverTheHwndType) {
    StandinProcess cad(uniqueProgId(L"Cmd"), GetParam().option);
    ASSERT_TRUE(cad.window());
    EXPECT_TRUE(runCommand(cad.progId(), u"CMD"));
    EXPECT_TRUE(cad.waitFor("command", "CMD<0D>"));
    EXPECT_EQ(cad.details("command"), std::vector<std::string>{"CMD<0D>"});
    EXPECT_EQ(cad.details("hwnd").size(), 3u); // not minimised: three reads
}

INSTANTIATE_TEST_SUITE_P(HwndTypes, CommandArrives,
                         testing::Values(HwndTypeCase{"i8", L"--hwnd-type i8"},
                                         HwndTypeCase{"i4", L"--hwnd-type i4"},
                                         HwndTypeCase{"text", L"--hwnd-type bstr"}));

// Late binding as the CAD sees it: names resolved in the thread's locale,
// Invoke with locale 0, flags 3 for reads and 1 for SendCommand, no named
// arguments, one BSTR.
TEST_F(CadLinkWine, CallsMembersByLateBinding) {
    StandinProcess cad(uniqueProgId(L"Bind"));
    ASSERT_TRUE(runCommand(cad.progId(), u"LINE"));
    ASSERT_TRUE(cad.waitFor("command"));
    const std::string lcid = " lcid=" + std::to_string(GetThreadLocale());
    EXPECT_EQ(cad.details("names"),
              (std::vector<std::string>{"HWND count=1" + lcid, "HWND count=1" + lcid,
                                        "HWND count=1" + lcid, "ActiveDocument count=1" + lcid,
                                        "SendCommand count=1" + lcid}));
    EXPECT_EQ(cad.details("invoke"),
              (std::vector<std::string>{"HWND flags=3 lcid=0 args=0 named=0",
                                        "HWND flags=3 lcid=0 args=0 named=0",
                                        "HWND flags=3 lcid=0 args=0 named=0",
                                        "ActiveDocument flags=3 lcid=0 args=0 named=0",
                                        "SendCommand flags=1 lcid=0 args=1 named=0 vt=8"}));
}

TEST_F(CadLinkWine, LoadExpressionArrivesWithDoubledBackslashes) {
    StandinProcess cad(uniqueProgId(L"Load"));
    ASSERT_TRUE(runCommand(cad.progId(), u"(load \"C:\\\\Apps\\\\util.lsp\")(princ)"));
    EXPECT_TRUE(cad.waitFor("command", "(load \"C:\\\\Apps\\\\util.lsp\")(princ)<0D>"));
}

TEST_F(CadLinkWine, JapaneseCommandTextArrivesIntact) {
    StandinProcess cad(uniqueProgId(L"Text"));
    ASSERT_TRUE(runCommand(cad.progId(), u"_TEXT 寸法"));
    EXPECT_TRUE(cad.waitFor("command", "_TEXT 寸法<0D>"));
}

struct SilentCase {
    const char* name;
    friend void PrintTo(const SilentCase& c, std::ostream* os) { *os << c.name; }
    const wchar_t* options; // nullptr: no stand-in runs
    bool activates;         // the window still comes to the front
};

class FailsSilently : public CadLinkWine, public testing::WithParamInterface<SilentCase> {};

TEST_P(FailsSilently, NothingArrivesAndNothingEscapes) {
    const auto& c = GetParam();
    if (!c.options) {
        const std::wstring progId = uniqueProgId(L"Gone");
        registerOnly(progId); // registered, but no instance runs
        EXPECT_FALSE(runCommand(progId, u"CMD"));
        EXPECT_FALSE(runCommand(uniqueProgId(L"Never"), u"CMD"));
        EXPECT_FALSE(pressEscape(progId));
        return;
    }
    StandinProcess cad(uniqueProgId(L"Fail"), c.options);
    ASSERT_TRUE(cad.window());
    EXPECT_FALSE(runCommand(cad.progId(), u"CMD"));
    pumpFor(300ms);
    EXPECT_TRUE(cad.details("command").empty());
    EXPECT_EQ(!cad.details("hwnd").empty(), c.activates);
}

INSTANTIATE_TEST_SUITE_P(Failures, FailsSilently,
                         testing::Values(SilentCase{"no_cad_running_or_unregistered", nullptr,
                                                    false},
                                         SilentCase{"no_document", L"--no-document", true},
                                         SilentCase{"rejected_call", L"--reject", false}));

TEST_F(CadLinkWine, EscapeSendsTwoPressesToTheCadWindow) {
    StandinProcess cad(uniqueProgId(L"Esc"));
    ASSERT_TRUE(pressEscape(cad.progId()));
    pumpFor(500ms);
    EXPECT_EQ(cad.details("key"),
              (std::vector<std::string>{"ESC down", "ESC up", "ESC down", "ESC up"}));
}

TEST_F(CadLinkWine, EscapeWorksWithoutDocument) {
    StandinProcess cad(uniqueProgId(L"EscNoDoc"), L"--no-document");
    ASSERT_TRUE(pressEscape(cad.progId()));
    pumpFor(500ms);
    EXPECT_EQ(cad.details("key").size(), 4u);
}

TEST_F(CadLinkWine, MinimisedCadIsRestoredThenActivated) {
    StandinProcess cad(uniqueProgId(L"Min"), L"--minimized");
    ASSERT_TRUE(IsIconic(cad.window()));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(runCommand(cad.progId(), u"MIN"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 500ms);
    ASSERT_TRUE(cad.waitFor("command", "MIN<0D>"));
    EXPECT_FALSE(IsIconic(cad.window()));
    EXPECT_EQ(cad.details("hwnd").size(), 4u);
    // The restore comes before the last activation.
    const auto events = cad.events();
    size_t restored = events.size(), activated = 0;
    for (size_t i = 0; i < events.size(); ++i) {
        if (events[i].kind == "window" && events[i].detail == "restored" &&
            restored == events.size())
            restored = i;
        if (events[i].kind == "window" && events[i].detail == "activated")
            activated = i;
    }
    EXPECT_LT(restored, activated);
}

TEST_F(CadLinkWine, BusyCadGetsTheCommandOnceItIsFree) {
    StandinProcess cad(uniqueProgId(L"Busy"), L"--busy-ms 2500");
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(runCommand(cad.progId(), u"LATE"));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 2400ms);
    EXPECT_TRUE(cad.waitFor("command", "LATE<0D>"));
}

} // namespace
} // namespace morvane::test

namespace morvane::test {
namespace {

// Answers like the launcher's filter and notes what COM asked it.
class RecordingFilter final : public IMessageFilter {
  public:
    std::vector<DWORD> rejectTypes;
    int pending = 0;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD rejectType) override {
        rejectTypes.push_back(rejectType);
        return rejectType == SERVERCALL_RETRYLATER ? 1000 : static_cast<DWORD>(-1);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        ++pending;
        return PENDINGMSG_WAITNOPROCESS;
    }
};

bool runningOnWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

struct FilterCase {
    const char* name;
    friend void PrintTo(const FilterCase& c, std::ostream* os) { *os << c.name; }
    const wchar_t* options;
    bool sent;
    DWORD rejectTypeOnWindows;
};

class CallerFilter : public CadLinkWine, public testing::WithParamInterface<FilterCase> {};

// Windows asks the caller's filter what to do with a rejected call. Wine 8
// does not: a REJECTED call fails at once, and a RETRYLATER answer is ignored
// and the call runs (the stand-in then holds it until it is free). Both end
// as the launcher's filter decides. Pending messages are offered to
// MessagePending on both.
TEST_P(CallerFilter, DecidesRejectedAndPendingMessages) {
    const auto& c = GetParam();
    RecordingFilter filter;
    ComPtr<IMessageFilter> previous;
    ASSERT_EQ(CoRegisterMessageFilter(&filter, previous.put()), S_OK);
    {
        StandinProcess cad(uniqueProgId(L"Filter"), c.options);
        const DWORD caller = GetCurrentThreadId();
        std::thread poster([caller] {
            Sleep(300);
            PostThreadMessageW(caller, WM_USER, 0, 0);
        });
        EXPECT_EQ(runCommand(cad.progId(), u"F"), c.sent);
        poster.join();
        EXPECT_EQ(!cad.details("command").empty(), c.sent);
    }
    ComPtr<IMessageFilter> ours;
    CoRegisterMessageFilter(previous.get(), ours.put());
    ours.detach(); // the recording filter is not counted
    if (runningOnWine()) {
        EXPECT_TRUE(filter.rejectTypes.empty());
    } else {
        EXPECT_FALSE(filter.rejectTypes.empty());
        for (const DWORD type : filter.rejectTypes)
            EXPECT_EQ(type, c.rejectTypeOnWindows);
    }
    if (c.sent) {
        EXPECT_GE(filter.pending, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, CallerFilter,
    testing::Values(FilterCase{"rejected", L"--reject", false, SERVERCALL_REJECTED},
                    FilterCase{"busy", L"--busy-ms 1500", true, SERVERCALL_RETRYLATER}));

} // namespace
} // namespace morvane::test
