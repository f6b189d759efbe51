// morvanex-check.exe --cad against the stand-in CAD under Wine: not running,
// running without a document, running with one; and --list-cads finding it. The exe's output goes
// to a file, so it arrives as UTF-8. The stand-in must never receive a command.
#include <gtest/gtest.h>

#include <windows.h>

#include "cad/standin_process.h"
#include "check_exe.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
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

// ProgIDs registered for one test, and removed again, so that the prefix's
// list of CADs does not grow with every run.
class Registered {
  public:
    explicit Registered(const wchar_t* tag, const std::wstring& options = L"")
        : progId_(test::uniqueProgId(tag)) {
        test::registerOnly(progId_, options);
    }
    ~Registered() { test::unregister(progId_); }
    Registered(const Registered&) = delete;
    Registered& operator=(const Registered&) = delete;
    const std::wstring& progId() const { return progId_; }
    std::string text() const { return utf16ToUtf8(fromWide(progId_)); }

  private:
    std::wstring progId_;
};

TEST(CheckCadWine, NotRunningNoDocumentAndRunning) {
    const Registered registered(L"Check");
    const std::wstring& progId = registered.progId();
    const std::string registeredStep =
        "cad: ok: the ProgID \"" + registered.text() + "\" is registered\n";

    test::ExeRun run = runCheck(progId);
    EXPECT_EQ(run.code, 1u);
    EXPECT_NE(run.out.find(registeredStep + "cad: error: no running instance can be reached"),
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
        EXPECT_NE(run.out.find(registeredStep + "cad: ok: an instance is running\n"
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

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The stand-in as an installed CAD (a server and a type library registered)
// and as a running one; without a type library it shows only while running.
// Nothing is sent to it, and nothing starts it.
TEST(CheckCadWine, ListCadsFindsTheStandinRunningAndNot) {
    const Registered installed(L"List");
    const Registered bare(L"Bare", L"--no-type-library");
    const auto listCads = [] {
        const test::ExeRun run =
            test::runToolToFile(L"" MORVANE_CHECK_EXE, L"--list-cads --lang en");
        EXPECT_TRUE(run.ended);
        return run;
    };

    test::ExeRun run = listCads();
    EXPECT_EQ(run.code, 0u) << run.out;
    EXPECT_TRUE(has(run.out, "cad: installed: " + installed.text() +
                                 ": installed, not running (\"MorvaneX stand-in CAD\")\n"))
        << run.out;
    EXPECT_FALSE(has(run.out, bare.text())) << run.out;

    {
        test::StandinProcess cad(installed.progId());
        test::StandinProcess bareCad(bare.progId(), L"--no-type-library");
        run = listCads();
        EXPECT_EQ(run.code, 0u) << run.out;
        EXPECT_TRUE(has(run.out, "cad: running: " + installed.text() +
                                     ": running (\"MorvaneX stand-in CAD\")\n"))
            << run.out;
        EXPECT_TRUE(has(run.out,
                        "cad: running: " + bare.text() + ": running (\"MorvaneX stand-in CAD\")\n"))
            << run.out;

        // --cad without --progid: the steps for the settings' ProgID, then
        // the list.
        test::TempDir folder;
        folder.write(u"MorvaneList.txt", "LINE\tline\r\n");
        folder.write(u"TargetCAD_APIVersion.txt", "Stand-in\t" + installed.text() + "\r\n");
        folder.write(u"MorvaneX.ini", "[Target]\r\nProgID=" + installed.text() + "\r\n");
        run = test::runToolToFile(L"" MORVANE_CHECK_EXE, L"\"" +
                                                             toWide(test::pathText(folder.path())) +
                                                             L"\" --cad --lang en");
        EXPECT_EQ(run.code, 0u) << run.out;
        const size_t step = run.out.find("cad: ok: a document is open (ActiveDocument)\n");
        const size_t listed = run.out.find("cad: running: " + installed.text() + ": ");
        EXPECT_NE(step, std::string::npos) << run.out;
        EXPECT_NE(listed, std::string::npos) << run.out;
        EXPECT_LT(step, listed) << run.out;
        EXPECT_TRUE(run.out.ends_with("\n0 errors, 0 warnings\n")) << run.out;

        EXPECT_TRUE(cad.details("command").empty());
        EXPECT_TRUE(bareCad.details("command").empty());
    }
    // Once closed, the bare one is gone from the list again.
    run = listCads();
    EXPECT_FALSE(has(run.out, bare.text())) << run.out;
    EXPECT_TRUE(has(run.out, "cad: installed: " + installed.text())) << run.out;
}

} // namespace
} // namespace morvane
