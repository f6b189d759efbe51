// morvanex-check.exe --cad against the stand-in CAD under Wine: not running,
// running without a document, running with one. The exe's output goes to a
// file, so it arrives as UTF-8. The stand-in must never receive a command.
#include <gtest/gtest.h>

#include <windows.h>

#include "cad/standin_process.h"
#include "check_exe.h"
#include "platform/services.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "support/temp_dir.h"
#include "text/utf.h"

namespace morvane {
namespace {

test::ExeRun runCheck(const std::wstring& progId) {
    const test::ExeRun run = test::runToolToFile(
        L"" MORVANE_CHECK_EXE,
        L"\"" MORVANE_CHECK_DATA_DIR L"\\clean\" --lang en --cad --progid " + progId);
    EXPECT_TRUE(run.ended) << "morvanex-check.exe did not start or end";
    return run;
}

TEST(CheckCadWine, NotRunningNoDocumentAndRunning) {
    const std::wstring progId = test::uniqueProgId(L"Check");
    const std::string registered =
        "cad: ok: the ProgID \"" + utf16ToUtf8(fromWide(progId)) + "\" is registered\n";

    test::registerOnly(progId);
    test::ExeRun run = runCheck(progId);
    EXPECT_EQ(run.code, 1u);
    EXPECT_NE(run.out.find(registered + "cad: error: no running instance can be reached"),
              std::string::npos)
        << run.out;
    // Wine's processes run elevated, so only the explanation is checked.
    EXPECT_NE(run.out.find("elevated, and a CAD running at another elevation level"),
              std::string::npos)
        << run.out;

    {
        test::StandinProcess cad(progId, L"--no-document");
        run = runCheck(progId);
        EXPECT_EQ(run.code, 1u);
        EXPECT_NE(run.out.find(registered + "cad: ok: an instance is running\n"
                                            "cad: ok: HWND gives its main window 0x"),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find("cad: error: no document is open"), std::string::npos) << run.out;
        EXPECT_TRUE(cad.details("command").empty());
    }
    {
        test::StandinProcess cad(progId);
        run = runCheck(progId);
        EXPECT_EQ(run.code, 0u) << run.out;
        EXPECT_NE(run.out.find("cad: ok: a document is open (ActiveDocument)\n"
                               "0 errors, 0 warnings\n"),
                  std::string::npos)
            << run.out;
        EXPECT_TRUE(cad.details("command").empty());
    }
}

} // namespace
} // namespace morvane
