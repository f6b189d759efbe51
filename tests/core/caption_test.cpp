// The main window's caption: its two forms and the lookup in the target list.
#include <gtest/gtest.h>

#include "cad_targets/caption.h"
#include "support/case_name.h"
#include "support/fake_services.h"
#include "text/user_error.h"

namespace morvane {
namespace {

struct CaptionCase {
    const char* name;
    friend void PrintTo(const CaptionCase& c, std::ostream* os) { *os << c.name; }
    std::vector<std::u16string> lines;
    std::u16string progID;
    std::optional<std::u16string> caption;
};

class CaptionLookup : public testing::TestWithParam<CaptionCase> {};

TEST_P(CaptionLookup, NamesTheFirstMatchingTarget) {
    EXPECT_EQ(captionFromTargetLines(GetParam().lines, GetParam().progID), GetParam().caption);
}

const std::u16string kBricscad = u"BricscadApp.AcadApplication";

INSTANTIATE_TEST_SUITE_P(
    Cases, CaptionLookup,
    testing::Values(
        CaptionCase{"exact",
                    {u"BricsCAD\tBricscadApp.AcadApplication"},
                    kBricscad,
                    u"MorvaneX [ BricsCAD ]"},
        CaptionCase{"versioned ProgID matches and first wins",
                    {u"AutoCAD\tAutoCAD.Application", u"V25\tBricscadApp.AcadApplication.25",
                     u"V24\tBricscadApp.AcadApplication"},
                    kBricscad,
                    u"MorvaneX [ V25 ]"},
        CaptionCase{"case counts", {u"x\tbricscadapp.acadapplication"}, kBricscad, std::nullopt},
        CaptionCase{"needs the TAB right before",
                    {u"x\t BricscadApp.AcadApplication"},
                    kBricscad,
                    std::nullopt},
        CaptionCase{"name is all text before the match",
                    {u"a\tb\tBricscadApp.AcadApplication"},
                    kBricscad,
                    u"MorvaneX [ a\tb ]"},
        CaptionCase{"empty ProgID matches any TAB",
                    {u"no tab", u"first\tX", u"second\tY"},
                    u"",
                    u"MorvaneX [ first ]"},
        CaptionCase{"empty name", {u"\tBricscadApp.AcadApplication"}, kBricscad, u"MorvaneX [  ]"},
        CaptionCase{"no lines", {}, kBricscad, std::nullopt}),
    test::CaseName());

// The two forms side by side: a blank inside each bracket at start-up, none
// after the dialog's OK.
TEST(CaptionForms, StartUpHasBlanksInsideTheBracketsTheChosenTargetNone) {
    EXPECT_EQ(startUpCaption(u"BricsCAD"), u"MorvaneX [ BricsCAD ]");
    EXPECT_EQ(chosenTargetCaption(u"BricsCAD"), u"MorvaneX [BricsCAD]");
    EXPECT_EQ(startUpCaption(u""), u"MorvaneX [  ]");
    EXPECT_EQ(chosenTargetCaption(u""), u"MorvaneX []");
}

TEST(CaptionFile, MissingFileGivesNoCaptionAndUnreadableThrows) {
    test::FakeServices fake;
    EXPECT_EQ(lookUpCaption(u"C:\\p\\", kBricscad, fake.services), std::nullopt);

    fake.files.files[u"C:\\p\\TargetCAD_APIVersion.txt"] =
        "\xEF\xBB\xBFZ\tBricscadApp.AcadApplication\r\n";
    EXPECT_EQ(lookUpCaption(u"C:\\p\\", kBricscad, fake.services), u"MorvaneX [ Z ]");

    fake.files.unreadable[u"C:\\p\\TargetCAD_APIVersion.txt"] = u"locked";
    try {
        lookUpCaption(u"C:\\p\\", kBricscad, fake.services);
        FAIL() << "expected UserError";
    } catch (const UserError& error) {
        EXPECT_EQ(error.message(),
                  u"ファイル C:\\p\\TargetCAD_APIVersion.txt は開けません。 locked ");
    }
}

} // namespace
} // namespace morvane
