// The order of the CAD calls, against a recording CAD and desktop.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cad/cad_link.h"
#include "support/fake_services.h"
#include "text/utf.h"

namespace morvane {
namespace {

constexpr uint64_t kWindow = 0x10452;
constexpr uint64_t kLauncher = 0x20a04; // in front before the switch

constexpr int32_t kInjectedCode = static_cast<int32_t>(0x80010001); // RPC_E_CALL_REJECTED
// The CAD's own words reach the caller as the CAD gave them, even a lone
// surrogate, which no conversion to UTF-8 and back keeps.
constexpr std::u16string_view kInjectedText = u"コマンドは拒否されました \xD83D";

// Records every call in order; event number failAt throws instead of
// returning. Live objects are counted to show every path releases them.
struct Recorder {
    std::vector<std::string> events;
    std::optional<size_t> failAt;
    bool failWithForeignError = false; // a non-CadFailure fault
    int liveObjects = 0;

    bool iconic = false;
    bool hasDocument = true;
    // The foreground switch: how many looks at the foreground still give
    // the window that was in front before it; nullopt: the switch never
    // happens (refused).
    std::optional<int> foregroundLag = 0;
    uint64_t foreground = kLauncher;
    std::optional<uint64_t> switchingTo;
    int looksLeft = 0;
    // Sleeps take whole ticks of the system timer, as Windows' do.
    unsigned timerTickMs = 1;
    test::FixedClock clock;

    void record(std::string event) {
        events.push_back(std::move(event));
        if (failAt && *failAt == events.size() - 1) {
            if (failWithForeignError)
                throw 42;
            throw CadFailure(std::u16string(kInjectedText), kInjectedCode);
        }
    }
};

class FakeObject final : public CadObject {
  public:
    FakeObject(Recorder& recorder, bool isDocument) : r_(recorder), isDocument_(isDocument) {
        ++r_.liveObjects;
    }
    ~FakeObject() override { --r_.liveObjects; }

    CadValue getProperty(std::u16string_view name) override {
        r_.record("get " + utf16ToUtf8(name));
        if (isDocument_)
            throw CadFailure(u"unknown name");
        if (name == u"HWND")
            return kWindow;
        if (name == u"ActiveDocument" && r_.hasDocument)
            return std::make_unique<FakeObject>(r_, true);
        return CadEmpty{};
    }
    void callMethod(std::u16string_view name, std::u16string_view argument) override {
        std::string text = utf16ToUtf8(argument);
        for (size_t at = text.find('\r'); at != std::string::npos; at = text.find('\r'))
            text.replace(at, 1, "<CR>");
        r_.record((isDocument_ ? "doc." : "app.") + utf16ToUtf8(name) + " " + text);
    }

  private:
    Recorder& r_;
    bool isDocument_;
};

class FakeAutomation final : public CadAutomation {
  public:
    explicit FakeAutomation(Recorder& recorder) : r_(recorder) {}
    CadObjectPtr attach(std::u16string_view progId) override {
        r_.record("attach " + utf16ToUtf8(progId));
        return std::make_unique<FakeObject>(r_, false);
    }

  private:
    Recorder& r_;
};

class FakeDesktop final : public CadDesktop {
  public:
    explicit FakeDesktop(Recorder& recorder) : r_(recorder) {}
    bool isIconic(uint64_t window) override {
        r_.record("IsIconic " + std::to_string(window));
        return r_.iconic;
    }
    void openIcon(uint64_t window) override {
        r_.record("OpenIcon " + std::to_string(window));
        r_.iconic = false;
    }
    void setForegroundWindow(uint64_t window) override {
        r_.record("SetForegroundWindow " + std::to_string(window));
        if (!r_.foregroundLag)
            return;
        r_.switchingTo = window;
        r_.looksLeft = *r_.foregroundLag;
    }
    uint64_t foregroundWindow() override {
        r_.record("GetForegroundWindow");
        if (r_.switchingTo && r_.looksLeft-- == 0)
            r_.foreground = *std::exchange(r_.switchingTo, std::nullopt);
        return r_.foreground;
    }
    void sleep(unsigned milliseconds) override {
        r_.record("Sleep " + std::to_string(milliseconds));
        const unsigned ticks = (milliseconds + r_.timerTickMs - 1) / r_.timerTickMs;
        r_.clock.milliseconds += ticks * r_.timerTickMs;
    }
    void escapeKey(bool down) override { r_.record(down ? "Escape down" : "Escape up"); }

  private:
    Recorder& r_;
};

enum class Chain { Command, Escape };

struct SequenceCase {
    const char* name;
    friend void PrintTo(const SequenceCase& c, std::ostream* os) { *os << c.name; }
    Chain chain;
    bool iconic;
    bool refusesForeground; // else it switches at once
    bool hasDocument;
    bool completes;
    std::vector<std::string> events;
};

CadChainResult runChain(Chain chain, Recorder& recorder) {
    FakeAutomation automation(recorder);
    FakeDesktop desktop(recorder);
    const CadLink link{automation, desktop, recorder.clock};
    return chain == Chain::Command ? runCadCommand(link, u"Cad.App", u"BOX")
                                   : pressCadEscape(link, u"Cad.App");
}

// The step a chain is in when the given call fails: the caller's trace
// names it, so a developer can tell a missing CAD from a refused command.
std::string stepOf(Chain chain, const std::string& event) {
    if (event.rfind("attach", 0) == 0)
        return "attach";
    if (event == "get ActiveDocument" || event.rfind("doc.", 0) == 0)
        return "send";
    if (event.rfind("Escape", 0) == 0 || (chain == Chain::Escape && event == "Sleep 5"))
        return "escape";
    return "activate";
}

void configure(Recorder& recorder, const SequenceCase& c) {
    recorder.iconic = c.iconic;
    if (c.refusesForeground)
        recorder.foregroundLag = std::nullopt;
    recorder.hasDocument = c.hasDocument;
}

std::vector<std::string> join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::string kW = std::to_string(kWindow);

// The wait for the switch: looks that find another window in front, each
// followed by a 1 ms pause, then the look that ends the wait.
std::vector<std::string> foregroundWait(int otherLooks) {
    std::vector<std::string> events;
    for (int look = 0; look < otherLooks; ++look) {
        events.push_back("GetForegroundWindow");
        events.push_back("Sleep 1");
    }
    events.push_back("GetForegroundWindow");
    return events;
}

// activateCadWindow's calls; otherLooks as in foregroundWait.
std::vector<std::string> activation(bool iconic, int otherLooks) {
    const std::vector<std::string> restore = {"get HWND", "OpenIcon " + kW, "Sleep 500"};
    return join({{"get HWND", "IsIconic " + kW},
                 iconic ? restore : std::vector<std::string>{},
                 {"get HWND", "SetForegroundWindow " + kW},
                 foregroundWait(otherLooks),
                 {"GetForegroundWindow", "get HWND"}});
}

// A refused switch is waited for 100 ms, by 1 ms pauses.
constexpr int kRefusedLooks = 100;
const std::vector<std::string> kActivate = activation(false, 0);
const std::vector<std::string> kRestoreAndActivate = activation(true, 0);
const std::vector<std::string> kRefused = activation(false, kRefusedLooks);

const std::vector<std::string> kAttach = {"attach Cad.App"};
const std::vector<std::string> kSend = {"get ActiveDocument", "doc.SendCommand BOX<CR>"};
const std::vector<std::string> kEscapes = {"Escape down", "Escape up", "Sleep 5", "Escape down",
                                           "Escape up"};

class CadSequence : public testing::TestWithParam<SequenceCase> {};

TEST_P(CadSequence, CallsInOrderAndReleasesEverything) {
    const auto& c = GetParam();
    Recorder recorder;
    configure(recorder, c);
    EXPECT_EQ(static_cast<bool>(runChain(c.chain, recorder)), c.completes);
    EXPECT_EQ(recorder.events, c.events);
    EXPECT_EQ(recorder.liveObjects, 0);
}

// Whichever call fails, the chain stops right there, shows nothing, hands
// the failure to its caller and still releases every object it got.
TEST_P(CadSequence, EveryFailureEndsTheChainSilently) {
    const auto& c = GetParam();
    for (const bool foreign : {false, true}) {
        for (size_t failAt = 0; failAt < c.events.size(); ++failAt) {
            SCOPED_TRACE(testing::Message()
                         << "fails at " << c.events[failAt] << (foreign ? " (foreign error)" : ""));
            Recorder recorder;
            configure(recorder, c);
            recorder.failAt = failAt;
            recorder.failWithForeignError = foreign;
            const CadChainResult result = runChain(c.chain, recorder);
            EXPECT_FALSE(result.completed);
            // The failure reaches the caller: where, what and its code.
            EXPECT_EQ(result.step, stepOf(c.chain, c.events[failAt]));
            EXPECT_EQ(result.detail, foreign ? u"" : kInjectedText);
            EXPECT_EQ(result.code, foreign ? 0 : kInjectedCode);
            EXPECT_EQ(recorder.events,
                      std::vector<std::string>(c.events.begin(), c.events.begin() + failAt + 1));
            EXPECT_EQ(recorder.liveObjects, 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Chains, CadSequence,
    testing::Values(SequenceCase{"command_in_front_pauses_5ms", Chain::Command, false, false, true,
                                 true, join({kAttach, kActivate, {"Sleep 5"}, kSend})},
                    SequenceCase{"command_minimised_restores_and_reads_hwnd_four_times",
                                 Chain::Command, true, false, true, true,
                                 join({kAttach, kRestoreAndActivate, {"Sleep 5"}, kSend})},
                    SequenceCase{"command_sent_without_pause_when_not_in_front", Chain::Command,
                                 false, true, true, true, join({kAttach, kRefused, kSend})},
                    SequenceCase{"command_without_document_ends_after_activating", Chain::Command,
                                 false, false, false, false,
                                 join({kAttach, kActivate, {"Sleep 5", "get ActiveDocument"}})},
                    SequenceCase{"escape_in_front_presses_twice", Chain::Escape, false, false, true,
                                 true, join({kAttach, kActivate, kEscapes})},
                    SequenceCase{"escape_minimised", Chain::Escape, true, false, true, true,
                                 join({kAttach, kRestoreAndActivate, kEscapes})},
                    SequenceCase{"escape_not_in_front_sends_no_key", Chain::Escape, false, true,
                                 true, true, join({kAttach, kRefused})},
                    SequenceCase{"escape_never_reads_the_document", Chain::Escape, false, false,
                                 false, true, join({kAttach, kActivate, kEscapes})}));

struct SwitchCase {
    const char* name;
    friend void PrintTo(const SwitchCase& c, std::ostream* os) { *os << c.name; }
    std::optional<int> lag; // looks before the CAD is in front; nullopt: never
    uint64_t before;        // in front until then (0: no window, as Wine shows)
    unsigned timerTickMs;
    int otherLooks; // expected looks that find another window
    bool inFront;
};

class ForegroundSwitch : public testing::TestWithParam<SwitchCase> {};

// However late the switch shows, the chain looks until the CAD is in front
// and stops looking then; a switch that never comes is given 100 ms by the
// clock, whatever a pause really takes. The CAD's own calls stay the same;
// the keys and the 5 ms pause follow only when it came to the front.
TEST_P(ForegroundSwitch, WaitsUntilTheCadIsInFrontOrTheTimeIsUp) {
    const auto& c = GetParam();
    for (const Chain chain : {Chain::Command, Chain::Escape}) {
        SCOPED_TRACE(chain == Chain::Command ? "command" : "escape");
        Recorder recorder;
        recorder.foregroundLag = c.lag;
        recorder.foreground = c.before;
        recorder.timerTickMs = c.timerTickMs;
        EXPECT_TRUE(runChain(chain, recorder));
        std::vector<std::string> after;
        if (chain == Chain::Command)
            after = c.inFront ? join({{"Sleep 5"}, kSend}) : kSend;
        else if (c.inFront)
            after = kEscapes;
        EXPECT_EQ(recorder.events, join({kAttach, activation(false, c.otherLooks), after}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lags, ForegroundSwitch,
    testing::Values(SwitchCase{"in_front_at_once", 0, kLauncher, 1, 0, true},
                    SwitchCase{"one_look_late", 1, kLauncher, 1, 1, true},
                    SwitchCase{"five_looks_late", 5, kLauncher, 1, 5, true},
                    SwitchCase{"five_looks_late_none_in_front_meanwhile", 5, 0, 1, 5, true},
                    SwitchCase{"five_looks_late_coarse_timer", 5, kLauncher, 16, 5, true},
                    SwitchCase{"never", std::nullopt, kLauncher, 1, kRefusedLooks, false},
                    SwitchCase{"never_none_in_front", std::nullopt, 0, 1, kRefusedLooks, false},
                    // Pauses of 16 ms: looks at 0, 16, ... 96 ms and a last one at 112.
                    SwitchCase{"never_coarse_timer", std::nullopt, kLauncher, 16, 7, false}));

TEST(CadLink, AttachWithoutAnObjectFails) {
    class NoCad final : public CadAutomation {
        CadObjectPtr attach(std::u16string_view) override { return nullptr; }
    } automation;
    EXPECT_THROW(attachCad(automation, u"X"), CadFailure);
}

struct HandleCase {
    const char* name;
    friend void PrintTo(const HandleCase& c, std::ostream* os) { *os << c.name; }
    std::function<CadValue()> value;
    std::optional<uint64_t> handle; // nullopt: the value is no handle
};

class WindowHandleValue : public testing::TestWithParam<HandleCase> {};

TEST_P(WindowHandleValue, ConvertsIntegersOnly) {
    const auto& c = GetParam();
    const CadValue value = c.value();
    if (c.handle)
        EXPECT_EQ(windowHandleFromValue(value), *c.handle);
    else
        EXPECT_THROW(windowHandleFromValue(value), CadFailure);
}

template <class T> std::function<CadValue()> of(T v) {
    return [v] { return CadValue(v); };
}

constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Values, WindowHandleValue,
    testing::Values(
        HandleCase{"empty_is_zero", of(CadEmpty{}), 0},
        HandleCase{"null_fails", of(CadNull{}), std::nullopt},
        HandleCase{"signed_by_value", of(int64_t{0x7fff1234}), 0x7fff1234},
        HandleCase{"signed_64_bit", of(int64_t{0x123456789ab}), 0x123456789ab},
        HandleCase{"negative_fails", of(int64_t{-1}), std::nullopt},
        HandleCase{"unsigned_full_range", of(kMax), kMax},
        HandleCase{"whole_real", of(65538.0), 65538},
        HandleCase{"fractional_real_fails", of(1.5), std::nullopt},
        HandleCase{"negative_real_fails", of(-2.0), std::nullopt},
        HandleCase{"real_beyond_64_bits_fails", of(18446744073709551616.0), std::nullopt},
        HandleCase{"nan_fails", of(std::nan("")), std::nullopt},
        HandleCase{"decimal_text", of(std::u16string(u" 4660 ")), 4660},
        HandleCase{"largest_text", of(std::u16string(u"18446744073709551615")), kMax},
        HandleCase{"text_overflow_fails", of(std::u16string(u"18446744073709551616")),
                   std::nullopt},
        HandleCase{"negative_text_fails", of(std::u16string(u"-3")), std::nullopt},
        HandleCase{"empty_text_fails", of(std::u16string(u"")), std::nullopt},
        HandleCase{"hex_text_fails", of(std::u16string(u"0x10")), std::nullopt},
        HandleCase{"object_fails", [] { return CadValue(CadObjectPtr{}); }, std::nullopt},
        HandleCase{"other_type_fails", of(CadOther{}), std::nullopt}));

} // namespace
} // namespace morvane
