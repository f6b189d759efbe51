// The files the program writes and reads again, on a system whose ANSI code
// page is UTF-8 (65001) beside one whose is 932: each file is written back in
// the encoding it was read in, a new one in the encoding every PC reads, and
// a conversion the system refuses is an error that leaves the old file as it
// was.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

#include "cad_targets/target_file.h"
#include "lisp/dropped_list.h"
#include "list/list_file.h"
#include "platform/code_page_flags.h"
#include "support/case_name.h"
#include "support/fake_services.h"
#include "text/user_error.h"

namespace morvane {
namespace {

using FileMap = std::map<std::u16string, std::string>;

const std::u16string kTargets = u"C:\\M\\TargetCAD_APIVersion.txt";
const std::u16string kList = u"C:\\M\\MorvaneList.txt";
const std::vector<std::u16string> kLines{u"日本語\tA.B"};

// kLines as each encoding holds it.
const std::string kSjis = "\x93\xfa\x96\x7b\x8c\xea\tA.B\r\n";
const std::string kUtf8 = "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\tA.B\r\n";
const std::string kUtf8Marked = "\xEF\xBB\xBF" + kUtf8;
const std::string kUtf16LE =
    std::string("\xFF\xFE\xE5\x65\x2C\x67\x9E\x8A\t\0A\0.\0B\0\r\0\n\0", 20);

// A system of either code page, with files in memory.
struct System {
    explicit System(bool utf8)
        : services{ansiFor(utf8), fake.services.collator, fake.files, fake.clock} {
        fake.clock.time = {2025, 7, 17, 14, 30, 5};
    }
    AnsiCodePage& ansiFor(bool utf8) {
        return utf8 ? static_cast<AnsiCodePage&>(utf8Ansi) : platformServices().ansi;
    }
    test::FakeServices fake;
    test::Utf8AnsiCodePage utf8Ansi;
    PlatformServices services;
};

// The target dialog's save: the list read, then written.
void saveTargets(PlatformServices& services) {
    TargetListFile file(kTargets);
    file.read(services);
    file.write(kLines, services);
}

// A drop, or morvanex-index --out: a new list in the place of the old one.
void installList(PlatformServices& services) {
    installListFile(kList, kLines, services);
}

struct WriteCase {
    const char* name;
    friend void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }
    bool utf8System;
    std::function<void(PlatformServices&)> write;
    std::u16string path;
    std::optional<std::string> before;
    std::string written;
};

class WrittenBack : public testing::TestWithParam<WriteCase> {};

TEST_P(WrittenBack, InTheEncodingItWasReadIn) {
    const auto& c = GetParam();
    System system(c.utf8System);
    if (c.before)
        system.fake.files.files[c.path] = *c.before;
    c.write(system.services);
    EXPECT_EQ(system.fake.files.files[c.path], c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WrittenBack,
    testing::Values(
        // Where the ANSI code page is UTF-8.
        WriteCase{"targets_in_932_stay_932", true, saveTargets, kTargets, "x\tA.B\r\n\x93\xfa\r\n",
                  kSjis},
        WriteCase{"targets_in_unmarked_utf8_stay_so", true, saveTargets, kTargets, "x\r\n", kUtf8},
        WriteCase{"targets_marked_keep_the_mark", true, saveTargets, kTargets, "\xEF\xBB\xBFx\r\n",
                  kUtf8Marked},
        WriteCase{"new_targets_are_marked_utf8", true, saveTargets, kTargets, std::nullopt,
                  kUtf8Marked},
        WriteCase{"list_over_932_stays_932", true, installList, kList, "\x8c\xea\r\n", kSjis},
        WriteCase{"list_over_unmarked_utf8_stays_so", true, installList, kList, "x\r\n", kUtf8},
        WriteCase{"list_over_utf16_stays_utf16", true, installList, kList, kUtf16LE, kUtf16LE},
        WriteCase{"first_list_is_marked_utf8", true, installList, kList, std::nullopt, kUtf8Marked},
        // Where it is 932, nothing changed: the command list is always ANSI.
        WriteCase{"ansi_targets_stay_ansi", false, saveTargets, kTargets, "x\r\n", kSjis},
        WriteCase{"ansi_new_targets_are_ansi", false, saveTargets, kTargets, std::nullopt, kSjis},
        WriteCase{"ansi_list_over_marked_utf8_is_ansi", false, installList, kList, kUtf8Marked,
                  kSjis},
        WriteCase{"ansi_first_list_is_ansi", false, installList, kList, std::nullopt, kSjis}),
    test::CaseName());

// What Windows does when asked for a conversion with flags the code page
// does not take, as the program asked for code page 65001 before: the writer
// fails with its file's message and every file stays as it was.
struct RefusedCase {
    const char* name;
    friend void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }
    std::function<void(PlatformServices&)> write;
    std::u16string path;
};

class RefusedConversion : public testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedConversion, FailsTheWriteAndKeepsTheOldFile) {
    const auto& c = GetParam();
    System system(true);
    system.utf8Ansi.encodeFlags = code_page::kNoBestFitChars;
    // Unmarked UTF-8: written back through the ANSI code page.
    system.fake.files.files[c.path] = "old\r\n";
    const FileMap before = system.fake.files.files;
    try {
        c.write(system.services);
        ADD_FAILURE() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(e.message(), u"ファイル \"" + c.path + u"\" を作成できません。フラグが無効です");
    }
    EXPECT_EQ(system.fake.files.files, before);
}

INSTANTIATE_TEST_SUITE_P(Writers, RefusedConversion,
                         testing::Values(RefusedCase{"target_list", saveTargets, kTargets},
                                         RefusedCase{"command_list", installList, kList}),
                         test::CaseName());

// Refused when reading: an error naming the file, never an empty list.
TEST(RefusedConversion, FailsTheReadsWithTheirFilesMessage) {
    System system(true);
    system.utf8Ansi.decodeFlags = code_page::kPrecomposed;
    system.fake.files.files[kList] = "A\tB\r\n";
    system.fake.files.files[kTargets] = "x\tA.B\r\n";
    ListRows rows{{0, u"kept", u"row", u"", u""}};
    try {
        loadMorvaneList(kList, system.services, rows);
        ADD_FAILURE() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(e.message(), u"ファイル " + kList + u" は開けません。 フラグが無効です ");
    }
    EXPECT_EQ(rows.size(), 1u);
    TargetListFile targets(kTargets);
    try {
        targets.read(system.services);
        ADD_FAILURE() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(e.message(), u"ファイル " + kTargets + u" は開けません。 フラグが無効です ");
    }
}

} // namespace
} // namespace morvane
