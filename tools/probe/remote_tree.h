#pragma once
// Reads a tree-view control that lives in another process: its item texts
// and rectangles pass through memory allocated in that process.
#include <windows.h>

#include <string>
#include <vector>

namespace morvane::probe {

struct RemoteTreeItem {
    int level = 0;
    std::wstring text;
    LPARAM data = 0;
    int image = 0;
    bool selected = false;
    bool expanded = false;
    RECT rect{}; // screen coordinates of the label
};

std::vector<RemoteTreeItem> readRemoteTree(HWND tree);

} // namespace morvane::probe
