// Lists that arrive live: which names are the two files, when each file is
// read again, and the caption a changed target list gives.
#include <gtest/gtest.h>

#include <vector>

#include "live/live_lists.h"
#include "support/case_name.h"
#include "support/fake_services.h"

namespace morvane {
namespace {

TEST(LiveFilesNamed, AreTheTwoFilesInAnyCaseAndShortAliases) {
    const LiveFileSet list = liveFileBit(LiveFile::CommandList);
    const LiveFileSet targets = liveFileBit(LiveFile::TargetList);
    struct Case {
        const char16_t* name;
        LiveFileSet files;
    };
    const Case cases[] = {
        {u"MorvaneList.txt", list},
        {u"morvanelist.TXT", list},
        {u"TargetCAD_APIVersion.txt", targets},
        {u"TARGETCAD_APIVERSION.TXT", targets},
        {u"MORVAN~1.TXT", kBothLiveFiles},
        {u"TARGE~12.txt", kBothLiveFiles},
        {u"TARGET~12.TXT", 0},              // nine characters: no alias
        {u"MorvaneList.txt.tmp~4711-1", 0}, // a working copy: its rename is the change
        {u"MorvaneList20250717143005.txt", 0},
        {u"MorvaneX.ini", 0},
        {u"~$rvaneList.txt", 0},
        {u"MORVAN~1.LSP", 0},
        {u"MorvaneList.txt~", 0},
        {u"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name)));
        EXPECT_EQ(liveFilesNamed(c.name), c.files);
    }
}

TEST(StampLiveFiles, TakesBothFilesOfTheFolder) {
    test::FakeServices fake;
    std::u16string reason;
    fake.files.writeFileAtomic(u"D:\\M\\TargetCAD_APIVersion.txt", "a\tb\r\n", reason);
    const LiveStamps stamps = stampLiveFiles(fake.files, u"D:\\M\\");
    EXPECT_FALSE(stamps[0]);
    ASSERT_TRUE(stamps[1]);
    EXPECT_EQ(stamps[1]->size, 5u);
}

TEST(ReloadResultOf, RetriesOnlyWhatCouldNotBeOpened) {
    EXPECT_EQ(reloadResultOf(QuietReadOutcome::Read), ReloadResult::Shown);
    EXPECT_EQ(reloadResultOf(QuietReadOutcome::CannotOpen), ReloadResult::NotReady);
    EXPECT_EQ(reloadResultOf(QuietReadOutcome::Missing), ReloadResult::Refused);
    EXPECT_EQ(reloadResultOf(QuietReadOutcome::Empty), ReloadResult::Refused);
    EXPECT_EQ(reloadResultOf(QuietReadOutcome::InvalidBytes), ReloadResult::Refused);
}

// One event of a sequence given to the watch, and what it must answer.
struct Step {
    enum Kind { Notify, Check, Wrote } kind;
    uint64_t at;
    LiveFileSet files = 0;                  // Notify; Wrote: the one file
    std::optional<FileStamp> list, targets; // Check: the stamps; Wrote: list
    std::vector<LiveFile> reloads;          // Check: the files read, in order
    std::vector<ReloadResult> answers;      // Check: what the reads give
    uint64_t next = 0;                      // nextCheck() afterwards
};

constexpr LiveFile kList = LiveFile::CommandList;
constexpr LiveFile kTargets = LiveFile::TargetList;
constexpr LiveFileSet kListBit = liveFileBit(kList);
constexpr LiveFileSet kTargetsBit = liveFileBit(kTargets);

const FileStamp A{100, 10}, B{200, 12}, C{300, 12}, T{100, 5}, T2{400, 5};

Step notify(uint64_t at, LiveFileSet files, uint64_t next) {
    return {Step::Notify, at, files, {}, {}, {}, {}, next};
}
Step check(uint64_t at, std::optional<FileStamp> list, std::optional<FileStamp> targets,
           std::vector<LiveFile> reloads, uint64_t next, std::vector<ReloadResult> answers = {}) {
    return {Step::Check, at, 0, list, targets, std::move(reloads), std::move(answers), next};
}
Step wrote(uint64_t at, LiveFile file, std::optional<FileStamp> stamp, uint64_t next) {
    return {Step::Wrote, at, liveFileBit(file), stamp, {}, {}, {}, next};
}

struct WatchCase {
    const char* name;
    friend void PrintTo(const WatchCase& c, std::ostream* os) { *os << c.name; }
    LiveStamps shown; // at time 0
    std::vector<Step> steps;
};

class LiveWatchSequence : public testing::TestWithParam<WatchCase> {};

TEST_P(LiveWatchSequence, ReadsEachChangeOnceWhenItHasSettled) {
    const auto& c = GetParam();
    LiveListWatch watch(c.shown, 0);
    EXPECT_EQ(watch.nextCheck(), 2000u);
    for (size_t i = 0; i < c.steps.size(); ++i) {
        const Step& step = c.steps[i];
        SCOPED_TRACE("step " + std::to_string(i) + " at " + std::to_string(step.at));
        std::vector<LiveFile> reloads;
        switch (step.kind) {
        case Step::Notify:
            watch.notified(step.files, step.at);
            break;
        case Step::Wrote:
            watch.nowShowing(step.files == kListBit ? kList : kTargets, step.list);
            break;
        case Step::Check:
            watch.check({step.list, step.targets}, step.at, [&](LiveFile file) {
                const size_t n = reloads.size();
                reloads.push_back(file);
                return n < step.answers.size() ? step.answers[n] : ReloadResult::Shown;
            });
            break;
        }
        EXPECT_EQ(reloads, step.reloads);
        EXPECT_EQ(watch.nextCheck(), step.next);
    }
}

using R = ReloadResult;

INSTANTIATE_TEST_SUITE_P(
    Sequences, LiveWatchSequence,
    testing::Values(
        WatchCase{"nothing changes: a check every two seconds and nothing read",
                  {A, T},
                  {check(2000, A, T, {}, 4000), check(4000, A, T, {}, 6000)}},
        WatchCase{"a notified change is read once it has settled",
                  {A, T},
                  {notify(500, kListBit, 800), check(500, B, T, {}, 800),
                   check(800, B, T, {kList}, 2800), check(2800, B, T, {}, 4800)}},
        WatchCase{"a file still being written waits until its stamp stays",
                  {A, T},
                  {notify(0, kListBit, 300), check(0, B, T, {}, 300), notify(200, kListBit, 500),
                   check(200, C, T, {}, 500), check(500, C, T, {kList}, 2500)}},
        WatchCase{"a stamp that changes between checks restarts the wait",
                  {A, T},
                  {notify(0, kListBit, 300), check(0, B, T, {}, 300), check(300, C, T, {}, 600),
                   check(600, C, T, {kList}, 2600)}},
        WatchCase{"a late first look after the notification reads at once",
                  {A, T},
                  {notify(0, kListBit, 300), check(500, B, T, {kList}, 2500)}},
        WatchCase{
            "a notification without a change reads nothing",
            {A, T},
            {notify(100, kListBit, 400), check(100, A, T, {}, 400), check(400, A, T, {}, 2400)}},
        WatchCase{"a lost notification: the two-second check finds the change",
                  {A, T},
                  {check(2000, B, T, {}, 2300), check(2300, B, T, {kList}, 4300)}},
        WatchCase{"a name it cannot tell: both compared, only the changed one read",
                  {A, T},
                  {notify(0, kBothLiveFiles, 300), check(0, A, T2, {}, 300),
                   check(300, A, T2, {kTargets}, 2300)}},
        WatchCase{"both changed: the command list first",
                  {A, T},
                  {notify(0, kBothLiveFiles, 300), check(0, B, T2, {}, 300),
                   check(300, B, T2, {kList, kTargets}, 2300)}},
        WatchCase{"a file not ready is tried again, sooner first, then every two seconds",
                  {A, T},
                  {check(2000, B, T, {}, 2300), check(2300, B, T, {kList}, 2600, {R::NotReady}),
                   check(2600, B, T, {kList}, 3200, {R::NotReady}),
                   check(3200, B, T, {kList}, 4400, {R::NotReady}),
                   check(4400, B, T, {kList}, 6400, {R::NotReady}),
                   check(6400, B, T, {kList}, 8400, {R::Shown}), check(8400, B, T, {}, 10400)}},
        WatchCase{"a new change of a file not ready is tried after it settles",
                  {A, T},
                  {check(2000, B, T, {}, 2300), check(2300, B, T, {kList}, 2600, {R::NotReady}),
                   check(2600, B, T, {kList}, 3200, {R::NotReady}), notify(2700, kListBit, 3000),
                   check(3000, C, T, {kList}, 5000)}},
        WatchCase{"a refused read waits for the next change",
                  {A, T},
                  {check(2000, B, T, {}, 2300), check(2300, B, T, {kList}, 4300, {R::Refused}),
                   check(4300, B, T, {}, 6300), check(6300, C, T, {}, 6600),
                   check(6600, C, T, {kList}, 8600)}},
        WatchCase{"a file replaced by renaming: gone for a moment, then read",
                  {A, T},
                  {notify(0, kListBit, 300), check(0, std::nullopt, T, {}, 300),
                   notify(50, kListBit, 350), check(50, B, T, {}, 350),
                   check(350, B, T, {kList}, 2350)}},
        WatchCase{"a file deleted: one read, refused, then nothing",
                  {A, T},
                  {check(2000, std::nullopt, T, {}, 2300),
                   check(2300, std::nullopt, T, {kList}, 4300, {R::Refused}),
                   check(4300, std::nullopt, T, {}, 6300)}},
        WatchCase{"a file that appears is read",
                  {std::nullopt, std::nullopt},
                  {notify(10, kTargetsBit, 310), check(10, std::nullopt, T, {}, 310),
                   check(310, std::nullopt, T, {kTargets}, 2310)}},
        WatchCase{"the launcher's own write is no change",
                  {A, T},
                  {wrote(1000, kList, B, 2000), notify(1000, kListBit, 1300),
                   check(1000, B, T, {}, 1300), check(1300, B, T, {}, 3300)}},
        WatchCase{"an own write over a pending change ends the wait",
                  {A, T},
                  {notify(0, kListBit, 300), check(0, B, T, {}, 300), wrote(100, kList, C, 2000),
                   check(300, C, T, {}, 2300)}},
        WatchCase{"a change after an own write is someone else's",
                  {A, T},
                  {wrote(1000, kList, B, 2000), check(2000, C, T, {}, 2300),
                   check(2300, C, T, {kList}, 4300)}},
        WatchCase{"the target dialog's save does not read the target list",
                  {A, T},
                  {wrote(0, kTargets, T2, 2000), notify(0, kTargetsBit, 300),
                   check(0, A, T2, {}, 300), check(300, A, T2, {}, 2300)}}),
    test::CaseName{});

TEST(LiveListWatch, TimingsAreTheOwners) {
    LiveListWatch watch({A, T}, 1000, {5000, 100});
    EXPECT_EQ(watch.nextCheck(), 6000u);
    watch.notified(kListBit, 1200);
    EXPECT_TRUE(watch.changePending(kList));
    EXPECT_FALSE(watch.changePending(kTargets));
    EXPECT_EQ(watch.nextCheck(), 1300u);
}

TEST(CaptionAfterTargetListChange, IsTheStartUpCaptionOfTheFile) {
    test::FakeServices fake;
    const std::u16string path = u"D:\\M\\TargetCAD_APIVersion.txt";
    auto caption = [&] {
        return captionAfterTargetListChange(path, u"Bricscad.Application", fake.services);
    };
    EXPECT_EQ(caption().outcome, QuietReadOutcome::Missing);
    EXPECT_TRUE(caption().caption.empty());

    fake.files.files[path] = "ZWCAD\tZwcad.Application\r\nBricsCAD V24\tBricscad.Application\r\n";
    EXPECT_EQ(caption().outcome, QuietReadOutcome::Read);
    EXPECT_EQ(caption().caption, u"MorvaneX [ BricsCAD V24 ]");

    fake.files.files[path] = "ZWCAD\tZwcad.Application\r\n";
    EXPECT_EQ(caption().caption, u"Morvane") << "no line names the target any more";

    fake.files.files[path] = "";
    EXPECT_EQ(caption().outcome, QuietReadOutcome::Empty);
    EXPECT_TRUE(caption().caption.empty());
    fake.files.unreadable[path] = u"used by another process";
    EXPECT_EQ(caption().outcome, QuietReadOutcome::CannotOpen);
}

} // namespace
} // namespace morvane
