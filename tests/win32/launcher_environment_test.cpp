// Where the launcher looks for its files, from the path of its exe.
#include <gtest/gtest.h>

#include <string>

#include "app/launcher_environment.h"
#include "support/case_name.h"

namespace morvane {
namespace {

struct EnvironmentCase {
    const char* name;
    friend void PrintTo(const EnvironmentCase& c, std::ostream* os) { *os << c.name; }
    std::u16string program;
    std::u16string folder;
    std::u16string settings;
};

class EnvironmentOfProgram : public testing::TestWithParam<EnvironmentCase> {};

TEST_P(EnvironmentOfProgram, IsTheExesFolderAndItsNameWithIni) {
    const auto& c = GetParam();
    const LauncherEnvironment environment = environmentOfProgram(c.program);
    EXPECT_EQ(environment.exeFolder, c.folder);
    EXPECT_EQ(environment.settingsPath, c.settings);
    EXPECT_TRUE(environment.quitOnClose);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnvironmentOfProgram,
    testing::Values(
        EnvironmentCase{"exe", u"C:\\MorvaneX\\MorvaneX.exe", u"C:\\MorvaneX\\",
                        u"C:\\MorvaneX\\MorvaneX.ini"},
        EnvironmentCase{"renamed", u"D:\\tools\\launcher.EXE", u"D:\\tools\\",
                        u"D:\\tools\\launcher.ini"},
        EnvironmentCase{"two dots: the last starts the extension", u"C:\\m\\Morvane.X.exe",
                        u"C:\\m\\", u"C:\\m\\Morvane.X.ini"},
        EnvironmentCase{"dot only in the folder", u"C:\\v1.2\\MorvaneX", u"C:\\v1.2\\",
                        u"C:\\v1.2\\MorvaneX.ini"},
        EnvironmentCase{"dot at the name's start", u"C:\\m\\.exe", u"C:\\m\\", u"C:\\m\\.exe.ini"},
        EnvironmentCase{"forward slashes", u"C:/m/MorvaneX.exe", u"C:/m/", u"C:/m/MorvaneX.ini"},
        EnvironmentCase{"long path", u"\\\\?\\C:\\deep\\MorvaneX.exe", u"\\\\?\\C:\\deep\\",
                        u"\\\\?\\C:\\deep\\MorvaneX.ini"},
        EnvironmentCase{"no folder", u"MorvaneX.exe", u"", u"MorvaneX.ini"}),
    test::CaseName());

// The operator's own settings file: in the local application data folder,
// under the name of the one beside the exe; none without that folder.
TEST(EnvironmentOfProgram, OperatorsOwnSettingsAreInLocalAppData) {
    EXPECT_EQ(environmentOfProgram(u"\\\\srv\\cad\\launcher.exe", u"C:\\Users\\op\\AppData\\Local")
                  .userSettingsPath,
              u"C:\\Users\\op\\AppData\\Local\\MorvaneX\\launcher.ini");
    EXPECT_EQ(environmentOfProgram(u"C:\\MorvaneX\\MorvaneX.exe").userSettingsPath, u"");
}

} // namespace
} // namespace morvane
