// A LISP file dropped on the window becomes the new command list once the
// user agrees; the old list is kept under a time-stamped name.
#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "lisp/dropped_list.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "ui/message_box.h"

namespace morvane {
namespace {

struct DropHandleTraits {
    static HDROP invalid() { return nullptr; }
    static void close(HDROP drop) { DragFinish(drop); }
};
using UniqueDrop = UniqueResource<HDROP, DropHandleTraits>;

// Every name whole: each one's length is asked first, as a fixed buffer would
// cut long paths and name a different file than the one dropped.
std::vector<std::u16string> droppedNames(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::u16string> names;
    names.reserve(count);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring name(static_cast<size_t>(length) + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, i, name.data(), length + 1);
        name.resize(copied);
        names.push_back(fromWide(name));
    }
    return names;
}

std::optional<std::u16string> takeDroppedLsp(HDROP drop) {
    const UniqueDrop owner(drop);
    return pickDroppedLsp(droppedNames(drop));
}

} // namespace

void MainWindow::acceptDroppedLsp(HDROP drop) {
    const auto lspPath = takeDroppedLsp(drop);
    if (!lspPath)
        return;
    PlatformServices& system = services();
    const auto rows = buildDroppedList(*lspPath, environment_.exeFolder,
                                       readLspFile(*lspPath, system), system.collator);
    if (rows.empty())
        return;
    const auto answer =
        showMessageBox(hwnd(), replaceQuestion(rows.size()), MessageKind::Information,
                       MessageButtons::YesNo, MessageResult::Yes);
    if (answer != MessageResult::Yes)
        return;
    installDroppedList(environment_.exeFolder, rows, system);
    // The list written here is no change to follow; when the install fails
    // it puts the old list back as it was, which is none either.
    showingFile(LiveFile::CommandList, stampOf(LiveFile::CommandList));
    // The search text stays: the tree shows the file order whatever it held.
    loadMorvaneList(listFilePath());
    showRowsInFileOrder();
}

} // namespace morvane
