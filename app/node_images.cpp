#include "app/node_images.h"

#include <array>
#include <vector>

#include "shell/main_layout.h"

namespace morvane {
namespace {

constexpr int kDesignSize = 16;
constexpr COLORREF kTransparent = 0xFFFFFFFF;

using Pixels = std::array<std::array<COLORREF, kDesignSize>, kDesignSize>;

struct SquareColours {
    COLORREF fill;
    COLORREF edge;
};

constexpr SquareColours kOrangeRed{RGB(231, 99, 66), RGB(231, 132, 132)};
constexpr SquareColours kTeal{RGB(0, 132, 132), RGB(0, 255, 255)};

Pixels blank() {
    Pixels pixels;
    for (auto& row : pixels)
        row.fill(kTransparent);
    return pixels;
}

// x from..to and y from..to inclusive.
void fill(Pixels& pixels, int x0, int x1, int y0, int y1, COLORREF colour) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            pixels[static_cast<size_t>(y)][static_cast<size_t>(x)] = colour;
}

// The bar and the raised square of the group and command images.
Pixels nodeImage(SquareColours colours) {
    Pixels pixels = blank();
    fill(pixels, 2, 3, 2, 13, RGB(255, 255, 255));
    fill(pixels, 5, 13, 4, 12, colours.fill);
    fill(pixels, 4, 12, 3, 3, colours.edge);
    fill(pixels, 4, 4, 4, 11, colours.edge);
    return pixels;
}

// A smaller raised square on its own.
Pixels smallImage(SquareColours colours) {
    Pixels pixels = blank();
    fill(pixels, 6, 11, 6, 11, colours.fill);
    fill(pixels, 5, 10, 5, 5, colours.edge);
    fill(pixels, 5, 5, 6, 10, colours.edge);
    return pixels;
}

// Colour and mask bitmaps at size x size, each target pixel taking its design
// pixel (nearest neighbour, so edges stay sharp at any scale).
void addScaled(HIMAGELIST list, const Pixels& pixels, int size) {
    std::vector<uint32_t> colour(static_cast<size_t>(size * size));
    const int stride = ((size + 15) / 16) * 2; // mask rows are WORD aligned
    std::vector<uint8_t> mask(static_cast<size_t>(stride * size), 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const COLORREF c = pixels[static_cast<size_t>(y * kDesignSize / size)]
                                     [static_cast<size_t>(x * kDesignSize / size)];
            if (c == kTransparent) {
                mask[static_cast<size_t>(y * stride + x / 8)] |=
                    static_cast<uint8_t>(0x80 >> (x % 8));
                continue;
            }
            colour[static_cast<size_t>(y * size + x)] =
                (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
        }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap colourBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colourBitmap)
        return;
    std::copy(colour.begin(), colour.end(), static_cast<uint32_t*>(bits));
    UniqueBitmap maskBitmap(CreateBitmap(size, size, 1, 1, mask.data()));
    ImageList_Add(list, colourBitmap.get(), maskBitmap.get());
}

} // namespace

UniqueImageList makeNodeImages(int dpi) {
    const int size = scaleForDpi(kDesignSize, dpi);
    UniqueImageList list(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 4, 0));
    if (!list)
        return list;
    addScaled(list.get(), nodeImage(kOrangeRed), size);
    addScaled(list.get(), nodeImage(kTeal), size);
    addScaled(list.get(), smallImage(kTeal), size);
    addScaled(list.get(), smallImage(kOrangeRed), size);
    return list;
}

} // namespace morvane
