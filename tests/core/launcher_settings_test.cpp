// The settings schema: the file's keys read by the profile functions' rules,
// the values and their defaults, what close writes, and where the window
// opens.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "shell/launcher_settings.h"
#include "shell/settings_text.h"
#include "support/case_name.h"

namespace morvane {
namespace {

struct TextCase {
    const char* name;
    friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }
    std::vector<std::u16string> lines;
    std::optional<std::u16string> progId; // [Target] ProgID as read
    std::optional<size_t> line;
};

class SettingsTextRead : public testing::TestWithParam<TextCase> {};

TEST_P(SettingsTextRead, FindsTheKeyAsTheProfileFunctionsDo) {
    const SettingsText file(GetParam().lines);
    EXPECT_EQ(file.readText(kProgIdKey), GetParam().progId);
    EXPECT_EQ(file.lineOf(kProgIdKey), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsTextRead,
    testing::Values(
        TextCase{"plain", {u"[Target]", u"ProgID=A.B"}, u"A.B", 1},
        TextCase{
            "letter case ignored", {u"[form]", u"Left=1", u"[TARGET]", u"progid=A.B"}, u"A.B", 3},
        TextCase{"blanks around", {u"  [ Target ]  ", u"  ProgID  =  A.B  "}, u"A.B", 1},
        TextCase{"one pair of quotes", {u"[Target]", u"ProgID=\"A.B\""}, u"A.B", 1},
        TextCase{"single quotes", {u"[Target]", u"ProgID='A B'"}, u"A B", 1},
        TextCase{"unmatched quotes stay", {u"[Target]", u"ProgID=\"A.B'"}, u"\"A.B'", 1},
        TextCase{"present and empty", {u"[Target]", u"ProgID="}, u"", 1},
        TextCase{"first of two keys", {u"[Target]", u"ProgID=A", u"ProgID=B"}, u"A", 1},
        TextCase{"another section's key",
                 {u"[Form]", u"ProgID=A", u"[Target]"},
                 std::nullopt,
                 std::nullopt},
        TextCase{"before any section", {u"ProgID=A", u"[Target]"}, std::nullopt, std::nullopt},
        TextCase{"a line without =", {u"[Target]", u"ProgID"}, std::nullopt, std::nullopt},
        TextCase{"the section again", {u"[Target]", u"[Form]", u"[Target]", u"ProgID=C"}, u"C", 3},
        TextCase{"no file", {}, std::nullopt, std::nullopt},
        TextCase{"at most 2047 characters",
                 {u"[Target]", u"ProgID=" + std::u16string(3000, u'x')},
                 std::u16string(2047, u'x'),
                 1}),
    test::CaseName());

// A section's keys in file order, each with the value its name reads as.
TEST(SettingsTextSection, KeysInFileOrderAsTheProfileFunctionsListThem) {
    const SettingsText file({u"[Pinned]", u"2=B", u" 1 = \"A \" ", u"[Other]", u"3=C", u"[pinned]",
                             u"2=D", u"no value"});
    EXPECT_EQ(file.readSection(kPinnedSection),
              (SettingsPairs{{u"2", u"B"}, {u"1", u"A "}, {u"2", u"B"}}));
    EXPECT_TRUE(file.readSection(u"Missing").empty());
}

// Records what LauncherSettings writes; a value can be made to fail.
class RecordingSink final : public SettingsSink {
  public:
    bool writeText(SettingsKey key, std::u16string_view value) override {
        if (key.name == failingName)
            return false;
        written.emplace_back(describeKey(key), value);
        return true;
    }
    bool replaceSection(std::u16string_view section, const SettingsPairs& pairs) override {
        sections.emplace_back(section, pairs);
        return failingName != u"*";
    }
    bool commit() override {
        committed = true;
        return true;
    }
    // The written values as the lines of a settings file.
    std::vector<std::u16string> lines() const {
        std::vector<std::u16string> text;
        for (const auto& [key, value] : written) {
            const size_t close = key.find(u']');
            text.push_back(key.substr(0, close + 1));
            text.push_back(key.substr(close + 2) + u"=" + value);
        }
        for (const auto& [section, pairs] : sections) {
            text.push_back(u"[" + section + u"]");
            for (const auto& [key, value] : pairs)
                text.push_back(key + u"=" + value);
        }
        return text;
    }

    std::vector<std::pair<std::u16string, std::u16string>> written;
    std::vector<std::pair<std::u16string, SettingsPairs>> sections;
    // A key's name whose value fails, or "*" for the sections.
    std::u16string_view failingName;
    bool committed = false;
};

TEST(LauncherSettings, MissingKeysGiveTheDefaults) {
    const auto settings = LauncherSettings::read(SettingsText({}));
    EXPECT_EQ(settings.width, std::nullopt);
    EXPECT_EQ(settings.height, std::nullopt);
    EXPECT_EQ(settings.left, std::nullopt);
    EXPECT_EQ(settings.top, std::nullopt);
    EXPECT_EQ(settings.progId, u"BricscadApp.AcadApplication");
    EXPECT_TRUE(settings.pinned.empty());
    EXPECT_EQ(settings.activate, std::nullopt);
}

TEST(LauncherSettings, ReadsEveryKeyMalformedIntegersAsMissing) {
    const auto settings = LauncherSettings::read(SettingsText(
        {u"[Form]", u"Width=0x12C", u"Height=abc", u"Left=-5", u"Top=", u"[Target]", u"ProgID=",
         u"[Pinned]", u"2=ARC", u"1=LINE\tline.lsp", u"[Keys]", u"Activate= Ctrl+Shift+Space "}));
    EXPECT_EQ(settings.width, 300);
    EXPECT_EQ(settings.height, std::nullopt);
    EXPECT_EQ(settings.left, -5);
    EXPECT_EQ(settings.top, std::nullopt);
    EXPECT_EQ(settings.progId, u""); // present but empty stays empty
    EXPECT_EQ(settings.pinned, (SettingsPairs{{u"2", u"ARC"}, {u"1", u"LINE\tline.lsp"}}));
    EXPECT_EQ(settings.activate, u"Ctrl+Shift+Space");
}

// Close writes all five values in the file's order, integers in decimal,
// then the pinned section whole, and reading them back gives what was kept.
TEST(LauncherSettings, WritesAllFiveValuesAndThePinsAndReadsThemBack) {
    const SettingsPairs pins{{u"1", u"LINE\tline.lsp"}, {u"2", u"ARC"}};
    const auto kept = LauncherSettings::toKeep({-1200, 40, 330, 270}, u"AutoCAD.Application", pins);
    RecordingSink sink;
    ASSERT_TRUE(kept.write(sink));
    EXPECT_EQ(sink.written, (std::vector<std::pair<std::u16string, std::u16string>>{
                                {u"[Form] Width", u"330"},
                                {u"[Form] Height", u"270"},
                                {u"[Form] Left", u"-1200"},
                                {u"[Form] Top", u"40"},
                                {u"[Target] ProgID", u"AutoCAD.Application"}}));
    EXPECT_EQ(sink.sections,
              (std::vector<std::pair<std::u16string, SettingsPairs>>{{u"Pinned", pins}}));
    EXPECT_FALSE(sink.committed); // the caller commits
    const auto back = LauncherSettings::read(SettingsText(sink.lines()));
    EXPECT_EQ(back.width, 330);
    EXPECT_EQ(back.height, 270);
    EXPECT_EQ(back.left, -1200);
    EXPECT_EQ(back.top, 40);
    EXPECT_EQ(back.progId, u"AutoCAD.Application");
    EXPECT_EQ(back.pinned, pins);
}

TEST(LauncherSettings, WriteStopsAtTheFirstFailure) {
    RecordingSink sink;
    sink.failingName = u"Left";
    EXPECT_FALSE(LauncherSettings::toKeep({1, 2, 3, 4}, u"X", {}).write(sink));
    EXPECT_EQ(sink.written.size(), 2u);
    EXPECT_TRUE(sink.sections.empty());

    RecordingSink sections;
    sections.failingName = u"*";
    EXPECT_FALSE(LauncherSettings::toKeep({1, 2, 3, 4}, u"X", {}).write(sections));
    EXPECT_EQ(sections.written.size(), 5u);
}

TEST(LauncherSettings, CannotWriteMessageNamesTheFile) {
    EXPECT_EQ(cannotWriteSettingsMessage(u"C:\\MorvaneX\\MorvaneX.ini"),
              u"C:\\MorvaneX\\MorvaneX.ini に書き込めません");
}

struct PlaceCase {
    const char* name;
    friend void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }
    std::vector<std::u16string> lines;
    WindowBounds expected;
};

class PlaceWindow : public testing::TestWithParam<PlaceCase> {};

// A window designed 300 x 250 on a primary screen of 1920 x 1080.
TEST_P(PlaceWindow, StoredValuesElseDesignedSizeAndCentredEdges) {
    const auto settings = LauncherSettings::read(SettingsText(GetParam().lines));
    EXPECT_EQ(placeWindow(settings, 300, 250, 1920, 1080), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PlaceWindow,
    testing::Values(
        PlaceCase{"no file", {}, {810, 415, 300, 250}},
        PlaceCase{"stored",
                  {u"[Form]", u"Width=400", u"Height=300", u"Left=40", u"Top=30"},
                  {40, 30, 400, 300}},
        // The centred edges use the stored size, not the designed one.
        PlaceCase{
            "stored size only", {u"[Form]", u"Width=500", u"Height=100"}, {710, 490, 500, 100}},
        PlaceCase{"malformed edge", {u"[Form]", u"Left=12x", u"Top=7"}, {810, 7, 300, 250}},
        PlaceCase{"edge at 0 re-centred", {u"[Form]", u"Left=0", u"Top=0"}, {810, 415, 300, 250}},
        PlaceCase{"bottom on the screen's edge stays",
                  {u"[Form]", u"Left=5", u"Top=830"},
                  {5, 830, 300, 250}},
        PlaceCase{
            "one beyond is re-centred", {u"[Form]", u"Left=5", u"Top=831"}, {5, 415, 300, 250}}),
    test::CaseName());

} // namespace
} // namespace morvane
