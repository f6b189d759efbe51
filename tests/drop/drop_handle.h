#pragma once
// A drop handle as the shell hands it to a window with WM_DROPFILES: a
// DROPFILES header in movable global memory, then the wide names, each ended
// by a NUL, and one more NUL after the last. The window's handler frees it
// with DragFinish.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace morvane::test {

inline HDROP makeDropHandle(const std::vector<std::u16string>& names) {
    std::u16string list;
    for (const auto& name : names) {
        list += name;
        list += u'\0';
    }
    list += u'\0';
    const size_t nameBytes = list.size() * sizeof(char16_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + nameBytes);
    if (!memory)
        return nullptr;
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), nameBytes);
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

} // namespace morvane::test
