#include "live/live_lists.h"

#include <algorithm>

#include "cad_targets/caption.h"
#include "cad_targets/target_line.h"
#include "list/list_file.h"
#include "text/letters.h"

namespace morvane {
namespace {

bool equalIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return upperAscii(a) == upperAscii(b);
}

// An alias as Windows makes them: up to eight characters with "~" and a
// digit after it, a dot, and our files' extension.
bool isShortAliasOfTextFile(std::u16string_view name) {
    const size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos || dot > 8 ||
        !equalIgnoringCase(name.substr(dot), u".TXT"))
        return false;
    const auto base = name.substr(0, dot);
    const size_t tilde = base.find(u'~');
    return tilde != std::u16string_view::npos && tilde + 1 < base.size() &&
           base[tilde + 1] >= u'0' && base[tilde + 1] <= u'9';
}

constexpr LiveFile kLiveFiles[] = {LiveFile::CommandList, LiveFile::TargetList};

} // namespace

LiveFileSet liveFilesNamed(std::u16string_view name) {
    if (equalIgnoringCase(name, kListFileName))
        return liveFileBit(LiveFile::CommandList);
    if (equalIgnoringCase(name, kTargetListFileName))
        return liveFileBit(LiveFile::TargetList);
    return isShortAliasOfTextFile(name) ? kBothLiveFiles : 0;
}

LiveStamps stampLiveFiles(const FileSystem& files, std::u16string_view folder) {
    const std::u16string base(folder);
    return {files.fileStamp(base + std::u16string(kListFileName)),
            files.fileStamp(base + std::u16string(kTargetListFileName))};
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
        if (!(files & liveFileBit(file)))
            continue;
        FileState& s = state(file);
        s.pending = true;
        // The stamp of the last check is older than this change: the wait
        // runs from now, and the next check's stamp is the one to keep.
        s.seenKnown = false;
        s.quietSince = now;
        // A new change may have made the file readable.
        s.failedOpens = 0;
        s.retryAt = 0;
    }
}

void LiveListWatch::check(const LiveStamps& stamps, uint64_t now, const Reload& reload) {
    lastCheck_ = now;
    for (LiveFile file : kLiveFiles) {
        FileState& s = state(file);
        const auto& current = stamps[static_cast<size_t>(file)];
        if (!s.pending) {
            if (current == s.shown)
                continue;
            // Found by comparing: it settles from now.
            s.pending = true;
            s.seenKnown = true;
            s.seen = current;
            s.quietSince = now;
            s.failedOpens = 0;
            s.retryAt = 0;
            continue;
        }
        if (!s.seenKnown) {
            // The first look since the notification, which started the wait.
            s.seenKnown = true;
            s.seen = current;
        } else if (current != s.seen) {
            s.seen = current;
            s.quietSince = now;
        }
        if (now < s.quietSince + timings_.settleTime || now < s.retryAt)
            continue;
        if (s.seen == s.shown) {
            // Changed back, or a notification about something else.
            s.pending = false;
            continue;
        }
        switch (reload(file)) {
        case ReloadResult::Shown:
        case ReloadResult::Refused:
            s.shown = s.seen;
            s.pending = false;
            s.failedOpens = 0;
            s.retryAt = 0;
            break;
        case ReloadResult::NotReady:
            ++s.failedOpens;
            s.retryAt = now + retryDelay(s.failedOpens);
            break;
        }
    }
}

uint64_t LiveListWatch::dueAt(const FileState& file) const {
    return std::max(file.quietSince + timings_.settleTime, file.retryAt);
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
        if (file.pending)
            next = std::min(next, dueAt(file));
    return next;
}

void LiveListWatch::nowShowing(LiveFile file, std::optional<FileStamp> stamp) {
    FileState& s = state(file);
    s.shown = stamp;
    s.pending = false;
    s.seenKnown = false;
    s.failedOpens = 0;
    s.retryAt = 0;
}

bool LiveListWatch::changePending(LiveFile file) const {
    return state(file).pending;
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
