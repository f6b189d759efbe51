// The undocumented dark-mode extras, run for real: Wine's uxtheme lacks
// them, so a stand-in DLL of ours exports the same ordinals, records every
// call and passes SetWindowTheme on to the real uxtheme. The extras find it
// through the lookup the program uses on the system's uxtheme.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/launcher_state.h"
#include "app/main_window.h"
#include "cad_targets/win32/target_dialog.h"
#include "gui_support.h"
#include "platform/win32/scoped.h"
#include "support/temp_dir.h"
#include "support/test_host.h"
#include "ui/dark_extras.h"
#include "ui/dark_scroll_bar.h"
#include "ui/dark_theme.h"
#include "uxtheme_stand_in/recorded_call.h"

namespace morvane {
namespace {

using test::StandInEntry;

constexpr DWORD kWindows10_1803 = 17134;
constexpr DWORD kWindows10_1809 = 17763;
constexpr DWORD kWindows11_23H2 = 22631;

bool runningOnWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// One call the stand-in saw, in terms a failure message can show.
struct Call {
    StandInEntry entry;
    HWND window = nullptr;
    int value = 0;
    std::wstring theme;    // SetWindowTheme's class name
    bool noIdList = false; // SetWindowTheme's third argument was null
    bool operator==(const Call&) const = default;
    friend void PrintTo(const Call& call, std::ostream* os) {
        *os << "#" << static_cast<int>(call.entry) << " window " << call.window << " value "
            << call.value << " theme \"" << std::string(call.theme.begin(), call.theme.end())
            << "\"" << (call.noIdList ? " no id list" : "");
    }
};

Call setPreferredAppMode(int mode) {
    return {StandInEntry::SetPreferredAppMode, nullptr, mode, L"", false};
}
Call allowDarkMode(HWND window, bool allow = true) {
    return {StandInEntry::AllowDarkModeForWindow, window, allow, L"", false};
}
Call setWindowTheme(HWND window, const wchar_t* theme) {
    return {StandInEntry::SetWindowTheme, window, 0, theme, true};
}
const Call kRefreshColorPolicy{StandInEntry::RefreshImmersiveColorPolicyState, nullptr, 0, L"",
                               false};
const Call kFlushMenuThemes{StandInEntry::FlushMenuThemes, nullptr, 0, L"", false};

// The stand-in, loaded from beside the test program for the test's life.
class StandInUxtheme {
  public:
    StandInUxtheme() {
        wchar_t exe[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, exe, MAX_PATH);
        const auto file = std::filesystem::path(exe).replace_filename(MORVANE_UXTHEME_STAND_IN);
        module_ = LoadLibraryW(file.c_str());
        read_ = reinterpret_cast<test::RecordedCallsFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "recordedCalls")));
        clear_ = reinterpret_cast<test::ClearRecordedCallsFn>(
            reinterpret_cast<void*>(GetProcAddress(module_, "clearRecordedCalls")));
        if (clear_)
            clear_();
    }
    ~StandInUxtheme() {
        if (module_)
            FreeLibrary(module_);
    }
    StandInUxtheme(const StandInUxtheme&) = delete;
    StandInUxtheme& operator=(const StandInUxtheme&) = delete;

    HMODULE module() const { return module_; }
    bool loaded() const { return module_ && read_ && clear_; }
    void clear() const { clear_(); }
    std::vector<Call> calls() const {
        test::RecordedCall recorded[test::kMaxRecordedCalls];
        const int made = read_(recorded, test::kMaxRecordedCalls);
        EXPECT_LE(made, test::kMaxRecordedCalls) << "more calls than the stand-in keeps";
        std::vector<Call> calls;
        for (int i = 0; i < made && i < test::kMaxRecordedCalls; ++i) {
            const auto& r = recorded[i];
            calls.push_back({r.entry, r.window, r.value, r.subAppName, r.subIdListNull});
        }
        return calls;
    }
    // What the real SetWindowTheme answered, call by call.
    std::vector<HRESULT> forwardedResults() const {
        test::RecordedCall recorded[test::kMaxRecordedCalls];
        const int made = read_(recorded, test::kMaxRecordedCalls);
        std::vector<HRESULT> results;
        for (int i = 0; i < made && i < test::kMaxRecordedCalls; ++i)
            if (recorded[i].entry == StandInEntry::SetWindowTheme)
                results.push_back(recorded[i].forwardedResult);
        return results;
    }

  private:
    HMODULE module_ = nullptr;
    test::RecordedCallsFn read_ = nullptr;
    test::ClearRecordedCallsFn clear_ = nullptr;
};

std::vector<std::wstring> childClasses(HWND parent) {
    std::vector<std::wstring> classes;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) {
            wchar_t name[64] = {};
            GetClassNameW(child, name, 64);
            reinterpret_cast<std::vector<std::wstring>*>(list)->push_back(name);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&classes));
    return classes;
}

TEST(DarkExtras, TheSystemsAreOffUnderWineWhateverAStandInOffers) {
    if (!runningOnWine())
        GTEST_SKIP() << "real Windows: the system's extras depend on the build";
    StandInUxtheme standIn;
    ASSERT_TRUE(standIn.loaded());
    ASSERT_TRUE(dark::Extras::loadFrom(standIn.module(), kWindows11_23H2).available());
    EXPECT_FALSE(dark::Extras::ofThisSystem().available());
}

enum class Module { StandIn, SystemUxtheme, None };

struct LoadCase {
    const char* name;
    Module module;
    DWORD build;
    bool available;
    bool wineOnly = false; // real Windows' uxtheme has every entry point
    friend void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }
};

class ExtrasLoad : public testing::TestWithParam<LoadCase> {};

// All or nothing: either every entry point is called through, or none.
TEST_P(ExtrasLoad, GivesAllOrNothing) {
    const LoadCase& c = GetParam();
    if (c.wineOnly && !runningOnWine())
        GTEST_SKIP() << "real Windows' uxtheme has the entry points";
    StandInUxtheme standIn;
    ASSERT_TRUE(standIn.loaded());
    HMODULE module = nullptr;
    if (c.module == Module::StandIn)
        module = standIn.module();
    else if (c.module == Module::SystemUxtheme)
        module = LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (c.module != Module::None) {
        ASSERT_NE(module, nullptr);
    }

    const dark::Extras extras = dark::Extras::loadFrom(module, c.build);
    EXPECT_EQ(extras.available(), c.available);
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    extras.enableForProcess();
    extras.useDarkControlTheme(edit, L"DarkMode_CFD");
    DestroyWindow(edit);
    if (c.module == Module::SystemUxtheme)
        FreeLibrary(module);
    EXPECT_EQ(standIn.calls().size(), c.available && c.module == Module::StandIn ? 5u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtrasLoad,
    testing::Values(LoadCase{"Windows10_1809", Module::StandIn, kWindows10_1809, true},
                    LoadCase{"Windows11", Module::StandIn, kWindows11_23H2, true},
                    LoadCase{"BuildBefore1809", Module::StandIn, kWindows10_1809 - 1, false},
                    LoadCase{"Windows10_1803", Module::StandIn, kWindows10_1803, false},
                    LoadCase{"BeforeWindows10", Module::StandIn, 0, false},
                    LoadCase{"NoModule", Module::None, kWindows11_23H2, false},
                    // Wine's uxtheme has SetWindowTheme and an unrelated #104
                    // but not the others.
                    LoadCase{"WinesUxtheme", Module::SystemUxtheme, kWindows11_23H2, false, true}),
    [](const testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

// Extras loaded from the stand-in as on Windows 10 1809, and the main window
// made with them.
class ExtrasFromAStandIn : public testing::Test {
  protected:
    ExtrasFromAStandIn() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void SetUp() override {
        ASSERT_TRUE(standIn.loaded());
        ASSERT_TRUE(extras.available());
        standIn.clear();
    }
    ~ExtrasFromAStandIn() override {
        if (window && window->hwnd())
            DestroyWindow(window->hwnd());
        host.reset();
        test::pumpMessages();
    }

    MainWindow& open() {
        dir.write(u"MorvaneList.txt", test::longCommandList());
        host = test::hostIn(dir, test::thisSystem(extras, highContrast));
        window = &host->mainWindow();
        // Left hidden: without a window manager Wine waits for shown windows.
        EXPECT_NE(host->createMainWindow(), nullptr);
        return *window;
    }

    StandInUxtheme standIn;
    dark::Extras extras = dark::Extras::loadFrom(standIn.module(), kWindows10_1809);
    test::HighContrastSwitch highContrast;
    OleScope ole;
    test::TempDir dir;
    std::unique_ptr<LauncherHost> host;
    MainWindow* window = nullptr;
};

TEST_F(ExtrasFromAStandIn, ProcessStartForcesDarkThenRefreshesAndFlushesMenus) {
    extras.enableForProcess();
    EXPECT_EQ(standIn.calls(),
              (std::vector<Call>{setPreferredAppMode(2), kRefreshColorPolicy, kFlushMenuThemes}));
}

TEST_F(ExtrasFromAStandIn, TreeAndSearchBoxAreAllowedDarkThenGivenTheirThemes) {
    auto& f = open();
    EXPECT_EQ(standIn.calls(),
              (std::vector<Call>{
                  allowDarkMode(f.commandTree), setWindowTheme(f.commandTree, L"DarkMode_Explorer"),
                  allowDarkMode(f.searchBox), setWindowTheme(f.searchBox, L"DarkMode_CFD")}));
    // Passed on to the real uxtheme, which took them.
    EXPECT_EQ(standIn.forwardedResults(), (std::vector<HRESULT>{S_OK, S_OK}));

    // Nothing more while the window lives: searching, switching views.
    standIn.clear();
    SetWindowTextW(f.searchBox, L"CMD1");
    SendMessageW(f.hwnd(), WM_COMMAND, MAKEWPARAM(kCommandOrderButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(f.commandOrderButton));
    EXPECT_EQ(standIn.calls(), std::vector<Call>{});
}

TEST_F(ExtrasFromAStandIn, TheTargetDialogsListAndEditsTakeTheHostsExtras) {
    open();
    standIn.clear();
    host->makeTargetDialog();
    ASSERT_NE(host->targetDialog(), nullptr);
    HWND dialog = host->targetDialog()->hwnd();
    HWND list = GetDlgItem(dialog, kTargetListId);
    HWND nameEdit = GetDlgItem(dialog, kNameEditId);
    HWND progIdEdit = GetDlgItem(dialog, kProgIdEditId);
    EXPECT_EQ(
        standIn.calls(),
        (std::vector<Call>{allowDarkMode(nameEdit), setWindowTheme(nameEdit, L"DarkMode_CFD"),
                           allowDarkMode(progIdEdit), setWindowTheme(progIdEdit, L"DarkMode_CFD"),
                           allowDarkMode(list), setWindowTheme(list, L"DarkMode_Explorer")}));
    EXPECT_EQ(standIn.forwardedResults(), (std::vector<HRESULT>{S_OK, S_OK, S_OK}));
    // The system's own dark bar: no overlay over the list.
    EXPECT_EQ(dark::darkScrollBarOf(list), nullptr);
    for (const auto& name : childClasses(dialog))
        EXPECT_NE(name, L"MorvaneDarkScrollBar");
}

TEST_F(ExtrasFromAStandIn, TheTreeKeepsItsOwnScrollBarWithNoDarkBarOverIt) {
    auto& f = open();
    SCROLLBARINFO own{};
    own.cbSize = sizeof own;
    ASSERT_TRUE(GetScrollBarInfo(f.commandTree, OBJID_VSCROLL, &own));
    EXPECT_FALSE(own.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "forty rows need the bar";
    EXPECT_EQ(dark::darkScrollBarOf(f.commandTree), nullptr);
    for (const auto& name : childClasses(f.hwnd()))
        EXPECT_NE(name, L"MorvaneDarkScrollBar");
}

TEST_F(ExtrasFromAStandIn, TreeAndSearchBoxStillPaintTheDarkPalette) {
    auto& f = open();
    SetWindowTextW(f.searchBox, L"CMD19"); // one row: the tree's lower part is empty
    RECT tree, edit;
    GetWindowRect(f.commandTree, &tree);
    GetWindowRect(f.searchBox, &edit);
    EXPECT_EQ(
        test::printedPixel(f.commandTree, (tree.right - tree.left) / 2, tree.bottom - tree.top - 4),
        dark::kBackground);
    EXPECT_EQ(
        test::printedPixel(f.searchBox, edit.right - edit.left - 8, (edit.bottom - edit.top) / 2),
        dark::kControl);
}

// With high contrast on no dark call is made; turning it off and on again
// while the window runs gives the dark themes and takes them back.
TEST_F(ExtrasFromAStandIn, HighContrastMakesNoDarkCallAndASwitchTurnsThemBothWays) {
    highContrast.set(true);
    auto& f = open();
    EXPECT_EQ(standIn.calls(), std::vector<Call>{});

    highContrast.set(false);
    SendMessageW(f.hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_EQ(standIn.calls(),
              (std::vector<Call>{
                  setPreferredAppMode(2), kRefreshColorPolicy, kFlushMenuThemes,
                  allowDarkMode(f.commandTree), setWindowTheme(f.commandTree, L"DarkMode_Explorer"),
                  allowDarkMode(f.searchBox), setWindowTheme(f.searchBox, L"DarkMode_CFD")}));

    standIn.clear();
    highContrast.set(true);
    SendMessageW(f.hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    EXPECT_EQ(
        standIn.calls(),
        (std::vector<Call>{setPreferredAppMode(0), kRefreshColorPolicy, kFlushMenuThemes,
                           allowDarkMode(f.commandTree, false), setWindowTheme(f.commandTree, L""),
                           allowDarkMode(f.searchBox, false), setWindowTheme(f.searchBox, L"")}));

    // Colours changing within high contrast turn nothing more.
    standIn.clear();
    SendMessageW(f.hwnd(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(standIn.calls(), std::vector<Call>{});
}

} // namespace
} // namespace morvane
