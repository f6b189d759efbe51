#include "live/live_lists.h"

#include <algorithm>

#include "cad_targets/caption.h"
#include "cad_targets/target_line.h"
#include "list/list_file.h"
#include "text/letters.h"

namespace morvane {
namespace {

// An alias as Windows makes them: up to eight characters with "~" and a
// digit after it, a dot, and our files' extension.
bool isShortAliasOfTextFile(std::u16string_view name) {
    const size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos || dot > 8 ||
        !equalIgnoringAsciiCase(name.substr(dot), u".TXT"))
        return false;
    const auto base = name.substr(0, dot);
    const size_t tilde = base.find(u'~');
    return tilde != std::u16string_view::npos && tilde + 1 < base.size() &&
           base[tilde + 1] >= u'0' && base[tilde + 1] <= u'9';
}

constexpr LiveFile kLiveFiles[] = {LiveFile::CommandList, LiveFile::TargetList};

} // namespace

LiveFileSet liveFilesNamed(std::u16string_view name) {
    if (equalIgnoringAsciiCase(name, kListFileName))
        return liveFileBit(LiveFile::CommandList);
    if (equalIgnoringAsciiCase(name, kTargetListFileName))
        return liveFileBit(LiveFile::TargetList);
    return isShortAliasOfTextFile(name) ? kBothLiveFiles : 0;
}

std::u16string liveFilePath(std::u16string_view folder, LiveFile file) {
    return std::u16string(folder) +
           std::u16string(file == LiveFile::CommandList ? kListFileName : kTargetListFileName);
}

LiveStamps stampLiveFiles(const FileSystem& files, std::u16string_view folder) {
    return {files.fileStamp(liveFilePath(folder, LiveFile::CommandList)),
            files.fileStamp(liveFilePath(folder, LiveFile::TargetList))};
}

ReloadResult reloadResultOf(QuietReadOutcome outcome) {
    switch (outcome) {
    case QuietReadOutcome::Read:
        return ReloadResult::Shown;
    case QuietReadOutcome::CannotOpen:
        return ReloadResult::NotReady;
    case QuietReadOutcome::Missing:
    case QuietReadOutcome::Empty:
    case QuietReadOutcome::InvalidBytes:
        break;
    }
    return ReloadResult::Refused;
}

LiveListWatch::LiveListWatch(const LiveStamps& shown, uint64_t now, LiveListTimings timings)
    : timings_(timings), lastCheck_(now) {
    for (LiveFile file : kLiveFiles)
        state(file).shown = shown[static_cast<size_t>(file)];
}

void LiveListWatch::notified(LiveFileSet files, uint64_t now) {
    for (LiveFile file : kLiveFiles) {
        // The stamp of the last check is older than this change: the wait
        // runs from now, and the next check's stamp is the one to keep. A
        // new change may have made the file readable.
        if (files & liveFileBit(file))
            state(file).change.emplace(now, false, std::nullopt);
    }
}

void LiveListWatch::check(const LiveStamps& stamps, uint64_t now, const Reload& reload) {
    lastCheck_ = now;
    for (LiveFile file : kLiveFiles) {
        FileState& s = state(file);
        const auto& current = stamps[static_cast<size_t>(file)];
        if (!s.change) {
            // Found by comparing: it settles from now.
            if (current != s.shown)
                s.change.emplace(now, true, current);
            continue;
        }
        Change& change = *s.change;
        if (!change.seenKnown) {
            // The first look since the notification, which started the wait.
            change.seenKnown = true;
            change.seen = current;
        } else if (current != change.seen) {
            change.seen = current;
            change.quietSince = now;
        }
        if (now < change.quietSince + timings_.settleTime || now < change.retryAt)
            continue;
        if (change.seen == s.shown) {
            // Changed back, or a notification about something else.
            s.change.reset();
            continue;
        }
        switch (reload(file)) {
        case ReloadResult::Shown:
        case ReloadResult::Refused:
            s.shown = change.seen;
            s.change.reset();
            break;
        case ReloadResult::NotReady:
            ++change.failedOpens;
            change.retryAt = now + retryDelay(change.failedOpens);
            break;
        }
    }
}

uint64_t LiveListWatch::dueAt(const Change& change) const {
    return std::max(change.quietSince + timings_.settleTime, change.retryAt);
}

uint64_t LiveListWatch::retryDelay(int failedOpens) const {
    uint64_t delay = timings_.settleTime;
    for (int i = 1; i < failedOpens && delay < timings_.checkInterval; ++i)
        delay *= 2;
    return std::min(delay, timings_.checkInterval);
}

uint64_t LiveListWatch::nextCheck() const {
    uint64_t next = lastCheck_ + timings_.checkInterval;
    for (const FileState& file : files_)
        if (file.change)
            next = std::min(next, dueAt(*file.change));
    return next;
}

void LiveListWatch::nowShowing(LiveFile file, std::optional<FileStamp> stamp) {
    FileState& s = state(file);
    s.shown = stamp;
    s.change.reset();
}

bool LiveListWatch::changePending(LiveFile file) const {
    return state(file).change.has_value();
}

LiveCaption captionAfterTargetListChange(std::u16string_view targetListPath,
                                         std::u16string_view progId,
                                         const PlatformServices& services) {
    const QuietRead read = readTextQuietly(targetListPath, services);
    LiveCaption result{read.outcome, {}};
    if (read.outcome == QuietReadOutcome::Read)
        result.caption =
            captionFromTargetLines(read.lines, progId).value_or(std::u16string(kDesignedCaption));
    return result;
}

} // namespace morvane
