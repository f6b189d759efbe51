// The file services' write probe where only Windows can set the scene: a
// settings file held open by another program.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/win32/scoped.h"
#include "services/services.h"
#include "support/temp_dir.h"

namespace morvane {
namespace {

// Another launcher reading its settings holds the file without letting
// others write: the right to write is there all the same, and the probe
// must not send this operator to a file of their own for it.
TEST(CanReplaceFile, FileHeldOpenByAnotherProgramStillCounts) {
    test::TempDir dir;
    dir.write(u"MorvaneX.ini", "[Form]\r\n");
    const std::wstring path(reinterpret_cast<const wchar_t*>(dir.file(u"MorvaneX.ini").c_str()));
    UniqueFile held(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    EXPECT_TRUE(platformServices().files.canReplaceFile(dir.file(u"MorvaneX.ini")));
    held.reset();
    EXPECT_EQ(dir.fileNames(), std::set<std::u16string>{u"MorvaneX.ini"});
    EXPECT_EQ(dir.read(u"MorvaneX.ini"), "[Form]\r\n");
}

} // namespace
} // namespace morvane
