#include "tools/probe/remote_tree.h"

#include <commctrl.h>

#include <cstring>

#include "platform/win32/scoped.h"

namespace morvane::probe {
namespace {

// A block of memory in the tree's process, freed with the object.
class RemoteBlock {
  public:
    RemoteBlock(HANDLE process, size_t size)
        : process_(process),
          address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBlock() {
        if (address_)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    char* address() const { return static_cast<char*>(address_); }

  private:
    HANDLE process_;
    void* address_;
};

constexpr size_t kTextChars = 1024;

struct Layout {
    TVITEMW item;
    RECT rect;
    wchar_t text[kTextChars];
};

void walk(HWND tree, HANDLE process, const RemoteBlock& block, HTREEITEM first, int level,
          std::vector<RemoteTreeItem>& out) {
    auto* remote = reinterpret_cast<Layout*>(block.address());
    for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tree, item)) {
        Layout local{};
        local.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_STATE | TVIF_HANDLE;
        local.item.hItem = item;
        local.item.stateMask = TVIS_SELECTED | TVIS_EXPANDED;
        local.item.pszText = remote->text;
        local.item.cchTextMax = kTextChars;
        // TVM_GETITEMRECT takes the item handle in the rectangle it fills.
        std::memcpy(&local.rect, &item, sizeof item);
        WriteProcessMemory(process, remote, &local, sizeof local, nullptr);
        SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&remote->item));
        SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&remote->rect));
        ReadProcessMemory(process, remote, &local, sizeof local, nullptr);
        RemoteTreeItem result;
        result.level = level;
        local.text[kTextChars - 1] = L'\0';
        result.text = local.text;
        result.data = local.item.lParam;
        result.image = local.item.iImage;
        result.selected = (local.item.state & TVIS_SELECTED) != 0;
        result.expanded = (local.item.state & TVIS_EXPANDED) != 0;
        result.rect = local.rect;
        MapWindowPoints(tree, nullptr, reinterpret_cast<POINT*>(&result.rect), 2);
        out.push_back(std::move(result));
        walk(tree, process, block, TreeView_GetChild(tree, item), level + 1, out);
    }
}

} // namespace

std::vector<RemoteTreeItem> readRemoteTree(HWND tree) {
    std::vector<RemoteTreeItem> items;
    DWORD pid = 0;
    GetWindowThreadProcessId(tree, &pid);
    UniqueHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
    if (!process)
        return items;
    RemoteBlock block(process.get(), sizeof(Layout));
    if (!block.address())
        return items;
    walk(tree, process.get(), block, TreeView_GetRoot(tree), 0, items);
    return items;
}

} // namespace morvane::probe
