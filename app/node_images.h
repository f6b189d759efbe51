#pragma once
// nodeImages_: the tree's node images, drawn from their pixel tables at the
// size for a DPI, with a mask for the transparent background.
#include <windows.h>

#include <commctrl.h>

#include "platform/win32/scoped.h"

namespace morvane {

struct ImageListTraits {
    static HIMAGELIST invalid() { return nullptr; }
    static void close(HIMAGELIST h) { ImageList_Destroy(h); }
};
using UniqueImageList = UniqueResource<HIMAGELIST, ImageListTraits>;

// Index 0 the group image, 1 the command image, 2 and 3 the small teal and
// orange-red variants. Images are 16 x 16 at 96 DPI.
UniqueImageList makeNodeImages(int dpi);

} // namespace morvane
