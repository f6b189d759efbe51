// Lists that arrive live: while the window runs, a change of the command
// list or of the target list in the exe folder shows by itself. The folder
// watch tells of changes as they happen; one timer, set for the moment the
// watch asks, compares the files' stamps as well, since notifications from
// file servers can be lost. A read that fails leaves what is on show and
// says nothing; the file's next change tries again.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/command_tree_items.h"
#include "app/main_window.h"
#include "list/list_file.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"

namespace morvane {
namespace {

// The titles of the groups the operator has folded.
std::vector<std::u16string> foldedGroupTitles(HWND tree, const ShownTree& shown) {
    std::vector<std::u16string> titles;
    for (const auto& group : shown.groups())
        if (!(TreeView_GetItemState(tree, group.item, TVIS_EXPANDED) & TVIS_EXPANDED))
            titles.push_back(group.title);
    return titles;
}

// Folds again the groups of these titles among the nodes on show.
void foldGroupsTitled(HWND tree, const ShownTree& shown,
                      const std::vector<std::u16string>& titles) {
    if (titles.empty())
        return;
    for (const auto& group : shown.groups())
        if (std::find(titles.begin(), titles.end(), group.title) != titles.end())
            TreeView_Expand(tree, group.item, TVE_COLLAPSE);
}

} // namespace

LiveStamps MainWindow::stampLists() const {
    return stampLiveFiles(services().files, environment_.exeFolder);
}

void MainWindow::startFollowingLists(const LiveStamps& stamps) {
    liveLists_.emplace(stamps, services().clock.steadyMilliseconds(), environment_.liveLists);
    // A folder that cannot be watched (a file server without change
    // notifications, say) leaves the timer's comparisons to find changes.
    folderWatch_ = std::make_unique<FolderWatch>(environment_.exeFolder, &liveFilesNamed,
                                                 kBothLiveFiles, hwnd(), kListsChangedMessage);
    scheduleListCheck();
}

void MainWindow::stopFollowingLists() {
    KillTimer(hwnd(), kListCheckTimer);
    // No message is posted once the watch is gone.
    folderWatch_.reset();
    liveLists_.reset();
}

void MainWindow::scheduleListCheck() {
    if (!liveLists_)
        return;
    const uint64_t now = services().clock.steadyMilliseconds();
    const uint64_t due = liveLists_->nextCheck();
    const uint64_t wait = due > now ? due - now : 0;
    // SetTimer replaces the timer of the same identifier: one runs at a time.
    SetTimer(hwnd(), kListCheckTimer,
             static_cast<UINT>(std::max<uint64_t>(wait, USER_TIMER_MINIMUM)), nullptr);
}

void MainWindow::listsChanged() noexcept {
    if (!liveLists_ || !folderWatch_)
        return;
    liveLists_->notified(folderWatch_->takeChanges(), services().clock.steadyMilliseconds());
    checkLists();
}

void MainWindow::checkLists() noexcept {
    if (!liveLists_)
        return;
    // While a menu or a modal box or dialog is open, what it was opened for
    // stays as it is: the rows keep their keys and the caption its text.
    // The timer stops; the window checks again as soon as that is over.
    if (menuOpen_ || !IsWindowEnabled(hwnd())) {
        KillTimer(hwnd(), kListCheckTimer);
        return;
    }
    try {
        liveLists_->check(stampLists(), services().clock.steadyMilliseconds(),
                          [this](LiveFile file) { return reloadChangedFile(file); });
    } catch (...) {
        // Out of memory while comparing: the next check tries again.
    }
    scheduleListCheck();
}

ReloadResult MainWindow::reloadChangedFile(LiveFile file) {
    // Nothing may escape into the timer's caller; a fault of the read is one
    // more read that did not show.
    try {
        return file == LiveFile::CommandList ? reloadChangedList() : reloadChangedTargets();
    } catch (...) {
        return ReloadResult::Refused;
    }
}

ReloadResult MainWindow::reloadChangedList() {
    QuietListLoad load = loadMorvaneListQuietly(listFilePath(), services());
    if (load.outcome != QuietReadOutcome::Read)
        return reloadResultOf(load.outcome);
    // A file of empty lines only is most likely one being written.
    if (load.rows.empty())
        return ReloadResult::Refused;
    const TreePlace place = placeOnShow(commandTree);
    const auto folded = foldedGroupTitles(commandTree, shownTree_);
    const ListRows oldRows = std::exchange(state_.rows, std::move(load.rows));
    const TreeNodes oldNodes = shownTree_.nodes();
    state_.searchIndex.rebuild(state_.rows);
    // The view last built, of the search text as the box holds it: the box
    // is not touched, so no change event runs and the focus stays.
    if (auto nodes = nodesOfView(shownView_)) {
        replaceNodes(std::move(*nodes));
        foldGroupsTitled(commandTree, shownTree_, folded);
        showPlace(findPlaceAgain(place, oldRows, oldNodes, state_.rows, shownTree_.nodes()));
    }
    return ReloadResult::Shown;
}

ReloadResult MainWindow::reloadChangedTargets() {
    const LiveCaption caption =
        captionAfterTargetListChange(liveFilePath(environment_.exeFolder, LiveFile::TargetList),
                                     state_.targetProgID, services());
    if (!caption.caption.empty() && windowText(hwnd()) != caption.caption)
        setWindowText(hwnd(), caption.caption);
    return reloadResultOf(caption.outcome);
}

std::optional<FileStamp> MainWindow::stampOf(LiveFile file) const {
    return services().files.fileStamp(liveFilePath(environment_.exeFolder, file));
}

void MainWindow::showingFile(LiveFile file, std::optional<FileStamp> stamp) {
    if (liveLists_)
        liveLists_->nowShowing(file, stamp);
}

void MainWindow::listWrittenHere(LiveFile file) {
    showingFile(file, stampOf(file));
    scheduleListCheck();
}

} // namespace morvane
