// The three views in the tree, the search box and the two view buttons.
#include <windows.h>

#include <commctrl.h>

#include "app/app_state.h"
#include "app/morvane_form.h"
#include "list/list_file.h"
#include "platform/services.h"
#include "platform/win32/win32_text.h"

namespace morvane {
namespace {

HTREEITEM appendNode(HWND tree, HTREEITEM parent, const TreeNode& node) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE;
    insert.item.pszText = const_cast<wchar_t*>(wptr(node.text));
    insert.item.iImage = node.image;
    insert.item.lParam = static_cast<LPARAM>(node.row); // sign-extended
    // A group is expanded as it is made: expanding each afterwards costs the
    // tree two notifications and a recount of its visible rows per group.
    if (!node.children.empty()) {
        insert.item.mask |= TVIF_STATE;
        insert.item.state = TVIS_EXPANDED;
        insert.item.stateMask = TVIS_EXPANDED;
    }
    return TreeView_InsertItem(tree, &insert);
}

std::u16string windowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    const int length = GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(length));
    return fromWide(text);
}

} // namespace

// Steps 4 to 9 of every build: nothing happens for an empty array (nullopt),
// otherwise the tree is refilled in one redraw batch and its first node
// selected.
void TMorvaneForm::showNodes(const std::optional<TreeNodes>& nodes) {
    if (!nodes)
        return;
    SendMessageW(TreeView1, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(TreeView1);
    for (const auto& node : *nodes) {
        HTREEITEM item = appendNode(TreeView1, TVI_ROOT, node);
        for (const auto& child : node.children)
            appendNode(TreeView1, item, child);
    }
    SendMessageW(TreeView1, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(TreeView1, nullptr, FALSE); // the tree paints its own background
    if (HTREEITEM first = TreeView_GetRoot(TreeView1))
        TreeView_SelectItem(TreeView1, first);
}

void TMorvaneForm::makeTreeViewItemsByRow() {
    showNodes(makeRowView(lspRecords, &lspRecordOrder));
}

void TMorvaneForm::makeTreeViewItemsByCmd() {
    showNodes(makeCmdView(lspRecords, &lspRecordOrder));
}

void TMorvaneForm::makeTreeViewItemsByStr() {
    if (lspRecords.empty())
        return;
    showNodes(makeSearchView(lspRecords, windowText(Edit1), &lspRecordOrder));
}

void TMorvaneForm::loadMorvaneList(std::u16string_view fName) {
    morvane::loadMorvaneList(fName, platformServices(), lspRecords);
}

void TMorvaneForm::setSearchText(std::u16string_view text) {
    // Setting the text it already has is no change and fires no event.
    if (windowText(Edit1) == text)
        return;
    SetWindowTextW(Edit1, toWide(text).c_str());
}

void TMorvaneForm::Edit1Change() {
    makeTreeViewItemsByStr();
}

void TMorvaneForm::Button2Click() {
    setSearchText(u"");
    makeTreeViewItemsByCmd();
}

void TMorvaneForm::Button3Click() {
    setSearchText(u"");
    makeTreeViewItemsByRow();
}

} // namespace morvane
