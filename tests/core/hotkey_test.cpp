// The global hotkey of [Keys] Activate=.
#include <gtest/gtest.h>

#include <set>

#ifdef _WIN32
#include <windows.h>
#endif

#include "shell/hotkey.h"

namespace morvane {
namespace {

#ifdef _WIN32
// The core's numbers are the Windows API's own.
static_assert(kHotkeyAlt == MOD_ALT && kHotkeyCtrl == MOD_CONTROL && kHotkeyShift == MOD_SHIFT &&
              kHotkeyWin == MOD_WIN && kHotkeyNoRepeat == MOD_NOREPEAT);
static_assert(kVirtualKeySpace == VK_SPACE && kVirtualKeyF1 == VK_F1 &&
              kVirtualKeyF1 + 11 == VK_F12 && kVirtualKeyF1 + 23 == VK_F24);
#endif

struct ValidCase {
    const char* name;
    friend void PrintTo(const ValidCase& c, std::ostream* os) { *os << c.name; }
    std::u16string value;
    Hotkey hotkey;
    std::u16string canonical;
};

class ValidHotkey : public testing::TestWithParam<ValidCase> {};

TEST_P(ValidHotkey, Parses) {
    const HotkeySetting setting = parseHotkey(GetParam().value);
    EXPECT_FALSE(setting.problem);
    ASSERT_TRUE(setting.hotkey);
    EXPECT_EQ(*setting.hotkey, GetParam().hotkey);
    EXPECT_EQ(hotkeyText(*setting.hotkey), GetParam().canonical);
    EXPECT_EQ(parseHotkey(hotkeyText(*setting.hotkey)).hotkey, setting.hotkey);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ValidHotkey,
    testing::Values(ValidCase{"ctrl_shift_space",
                              u"Ctrl+Shift+Space",
                              {kHotkeyCtrl | kHotkeyShift, 0x20},
                              u"Ctrl+Shift+Space"},
                    ValidCase{"any_letter_case",
                              u"cTRL+shift+sPACE",
                              {kHotkeyCtrl | kHotkeyShift, 0x20},
                              u"Ctrl+Shift+Space"},
                    ValidCase{"modifiers_in_any_order",
                              u"Win+Alt+Shift+Ctrl+Z",
                              {kHotkeyCtrl | kHotkeyAlt | kHotkeyShift | kHotkeyWin, 'Z'},
                              u"Ctrl+Alt+Shift+Win+Z"},
                    ValidCase{"lower_case_letter", u"Alt+q", {kHotkeyAlt, 'Q'}, u"Alt+Q"},
                    ValidCase{"digit", u"Win+0", {kHotkeyWin, '0'}, u"Win+0"},
                    ValidCase{
                        "blanks_around_names", u"  Ctrl + M\t", {kHotkeyCtrl, 'M'}, u"Ctrl+M"},
                    ValidCase{"function_key_alone", u"F9", {0, 0x78}, u"F9"},
                    ValidCase{"f1", u"Shift+F1", {kHotkeyShift, 0x70}, u"Shift+F1"},
                    ValidCase{"f11", u"f11", {0, 0x7A}, u"F11"},
                    ValidCase{"f13", u"Ctrl+F13", {kHotkeyCtrl, 0x7C}, u"Ctrl+F13"},
                    ValidCase{"f24", u"F24", {0, 0x87}, u"F24"}),
    [](const auto& info) { return std::string(info.param.name); });

struct MalformedCase {
    const char* name;
    friend void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }
    std::u16string value;
    HotkeyProblem problem;
};

class MalformedHotkey : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedHotkey, GivesNoHotkeyAndSaysWhy) {
    const HotkeySetting setting = parseHotkey(GetParam().value);
    EXPECT_FALSE(setting.hotkey);
    ASSERT_TRUE(setting.problem);
    EXPECT_EQ(*setting.problem, GetParam().problem);
}

using P = HotkeyProblem;
INSTANTIATE_TEST_SUITE_P(
    Values, MalformedHotkey,
    testing::Values(MalformedCase{"empty_part_inside", u"Ctrl++Q", {P::kEmptyPart, u""}},
                    MalformedCase{"empty_part_first", u"+Q", {P::kEmptyPart, u""}},
                    MalformedCase{"empty_part_last", u"Ctrl+", {P::kEmptyPart, u""}},
                    MalformedCase{"blank_part", u"Ctrl+ +Q", {P::kEmptyPart, u""}},
                    MalformedCase{"plus_alone", u"+", {P::kEmptyPart, u""}},
                    MalformedCase{"unknown_modifier", u"Control+Q", {P::kUnknownName, u"Control"}},
                    MalformedCase{"unknown_key", u"Ctrl+Enter", {P::kUnknownName, u"Enter"}},
                    MalformedCase{"fullwidth_letter", u"Ctrl+Ｑ", {P::kUnknownName, u"Ｑ"}},
                    MalformedCase{"f0", u"Ctrl+F0", {P::kUnknownName, u"F0"}},
                    MalformedCase{"f25", u"Ctrl+F25", {P::kUnknownName, u"F25"}},
                    MalformedCase{"f_with_zero", u"Ctrl+F01", {P::kUnknownName, u"F01"}},
                    MalformedCase{"two_letters", u"Ctrl+QQ", {P::kUnknownName, u"QQ"}},
                    MalformedCase{
                        "repeated_modifier", u"Ctrl+ctrl+Q", {P::kRepeatedModifier, u"ctrl"}},
                    MalformedCase{"modifiers_only", u"Ctrl+Shift", {P::kNoKey, u""}},
                    MalformedCase{"key_first", u"Q+Ctrl", {P::kKeyNotLast, u"Q"}},
                    MalformedCase{"two_keys", u"Ctrl+Q+W", {P::kKeyNotLast, u"Q"}},
                    MalformedCase{"f12", u"Ctrl+F12", {P::kReservedKey, u"F12"}},
                    MalformedCase{"f12_alone", u"f12", {P::kReservedKey, u"f12"}},
                    MalformedCase{"bare_letter", u"Q", {P::kModifierNeeded, u"Q"}},
                    MalformedCase{"bare_space", u"Space", {P::kModifierNeeded, u"Space"}},
                    MalformedCase{"shift_letter", u"Shift+a", {P::kModifierNeeded, u"a"}},
                    MalformedCase{"shift_digit", u"Shift+1", {P::kModifierNeeded, u"1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Hotkey, MissingOrEmptyMeansNoHotkeyWithoutAProblem) {
    for (const auto& value :
         {std::optional<std::u16string_view>{}, std::optional<std::u16string_view>{u""},
          std::optional<std::u16string_view>{u" \t "}}) {
        const HotkeySetting setting = parseHotkey(value);
        EXPECT_FALSE(setting.hotkey);
        EXPECT_FALSE(setting.problem);
    }
}

TEST(Hotkey, RegistersWithoutRepeat) {
    EXPECT_EQ(registrationModifiers({kHotkeyCtrl | kHotkeyShift, 0x20}),
              kHotkeyCtrl | kHotkeyShift | kHotkeyNoRepeat);
}

TEST(Hotkey, ReasonsNameTheValueInBothLanguages) {
    const HotkeyProblem problem{P::kUnknownName, u"Enter"};
    EXPECT_EQ(hotkeyProblemText(problem, MessageLanguage::kJapanese),
              u"「Enter」は修飾キー（Ctrl, Alt, Shift, Win）でもキー（A～Z, 0～9, F1～F24, "
              u"Space）でもありません：ホットキーは使われません");
    EXPECT_EQ(hotkeyProblemText(problem, MessageLanguage::kEnglish),
              u"\"Enter\" is neither a modifier (Ctrl, Alt, Shift, Win) nor a key (A-Z, 0-9, "
              u"F1-F24, Space): the launcher has no hotkey");
    for (auto language : {MessageLanguage::kJapanese, MessageLanguage::kEnglish}) {
        std::set<std::u16string> texts;
        for (auto kind : {P::kEmptyPart, P::kUnknownName, P::kRepeatedModifier, P::kNoKey,
                          P::kKeyNotLast, P::kReservedKey, P::kModifierNeeded})
            texts.insert(hotkeyProblemText({kind, u"Q"}, language));
        EXPECT_EQ(texts.size(), 7u) << "a reason of its own for each problem";
    }
    EXPECT_EQ(hotkeyTakenText({kHotkeyCtrl | kHotkeyAlt, 'M'}, MessageLanguage::kEnglish),
              u"Ctrl+Alt+M is held by another program: the launcher has no hotkey");
    EXPECT_EQ(hotkeyTakenText({kHotkeyCtrl | kHotkeyAlt, 'M'}, MessageLanguage::kJapanese),
              u"Ctrl+Alt+M はほかのプログラムが使っています：ホットキーは使われません");
}

} // namespace
} // namespace morvane
