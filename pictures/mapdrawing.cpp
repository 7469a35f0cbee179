#include "mapdrawing.h"

#include <algorithm>
#include <cstring>
#include <vector>

// What a map pixel shows is fixed: at 16 pixels a cell, the tileset pixel of
// the cell's tile square where that pixel is not exactly black, else the
// backdrop repeated over the map. Other zooms repeat source pixels, or at 8
// take the top-left one of each 2 x 2 block. Nothing the size of the map is
// ever built: callers render only the rectangle they need.

namespace vorn {
namespace {

constexpr QRgb kOpaqueWhite = 0xFFFFFFFFu;
constexpr QRgb kOpaqueBlack = 0xFF000000u;

// Cells the grid can hold in one direction: a size set beyond the grid
// (before a reload puts it right) must not read outside it.
int Cells(int count) { return std::clamp(count, 0, kGridSide); }

const QImage& WhiteBackdrop()
{
    static const QImage white = [] {
        QImage img(1, 1, QImage::Format_RGB32);
        img.fill(kOpaqueWhite);
        return img;
    }();
    return white;
}

} // namespace

bool IsZoomSize(int zoom)
{
    return std::find(kZoomSizes.begin(), kZoomSizes.end(), zoom) != kZoomSizes.end();
}

QImage CreateMaskImage(const QImage& picFrom, QRgb lTransparentColor)
{
    const QImage source = picFrom.convertToFormat(QImage::Format_RGB32);
    QImage picTo(source.size(), QImage::Format_RGB32);
    const QRgb key = lTransparentColor & 0x00FFFFFFu; // alpha plays no part
    for (int y = 0; y < source.height(); ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* to = reinterpret_cast<QRgb*>(picTo.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            to[x] = (from[x] & 0x00FFFFFFu) == key ? kOpaqueWhite : kOpaqueBlack;
    }
    return picTo;
}

QSize MapPixelSize(const MapScene& scene, int zoom)
{
    return {Cells(scene.width) * zoom, Cells(scene.height) * zoom};
}

void RenderMap(const MapScene& scene, int zoom, QImage& target, const QRect& area, QRgb outside)
{
    const int z = zoom > 0 ? zoom : 16;
    const QRect mapRect(QPoint(0, 0), MapPixelSize(scene, z));
    const QRect drawn = area & mapRect;
    if (drawn != area) {
        // Only reachable when asked for more than the map.
        target.fill(outside);
    }
    if (drawn.isEmpty())
        return;

    const QImage& back = !scene.backdrop || scene.backdrop->isNull() ? WhiteBackdrop() : *scene.backdrop;
    const int bw = back.width();
    const int bh = back.height();
    const QImage& tiles = *scene.tileset;
    const QImage& mask = *scene.mask;
    const TileGrid& grid = *scene.grid;
    // Squares outside the tileset (or its mask) are transparent.
    const int tw = std::min(tiles.width(), mask.width());
    const int th = std::min(tiles.height(), mask.height());

    const int x0 = drawn.left();
    const int x1 = drawn.right() + 1;
    const int sx0 = x0 * 16 / z;          // source columns at 16 a cell
    const int sx1 = (x1 - 1) * 16 / z + 1;
    const int n = sx1 - sx0;

    std::vector<int> backCol(n);
    for (int i = 0; i < n; ++i)
        backCol[i] = (sx0 + i) % bw;
    std::vector<int> pick;
    std::vector<QRgb> sourceRow;
    if (z != 16) {
        pick.resize(x1 - x0);
        for (int ox = x0; ox < x1; ++ox)
            pick[ox - x0] = ox * 16 / z - sx0;
        sourceRow.resize(n);
    }

    int prevSy = -1;
    const QRgb* prevOut = nullptr;
    for (int oy = drawn.top(); oy <= drawn.bottom(); ++oy) {
        QRgb* out = reinterpret_cast<QRgb*>(target.scanLine(oy - area.top())) + (x0 - area.left());
        const int sy = oy * 16 / z;
        if (sy == prevSy) { // zooms above 16 repeat source rows
            std::memcpy(out, prevOut, size_t(x1 - x0) * sizeof(QRgb));
            prevOut = out;
            continue;
        }
        QRgb* row = z == 16 ? out : sourceRow.data();
        const int cy = sy >> 4;
        const int ty = sy & 15;
        const QRgb* backRow = reinterpret_cast<const QRgb*>(back.constScanLine(sy % bh));

        int sx = sx0;
        QRgb* dst = row;
        while (sx < sx1) {
            const int cx = sx >> 4;
            const int cellEnd = std::min((cx + 1) * 16, sx1);
            const quint8 t = grid.at(cx, cy);
            const int tileX = (t & 15) * 16;
            const int tileY = (t >> 4) * 16 + ty;
            if (tileY < th) {
                const QRgb* tileRow = reinterpret_cast<const QRgb*>(tiles.constScanLine(tileY));
                const QRgb* maskRow = reinterpret_cast<const QRgb*>(mask.constScanLine(tileY));
                for (; sx < cellEnd; ++sx) {
                    const int tx = tileX + (sx & 15);
                    *dst++ = (tx < tw && (maskRow[tx] & 0x00FFFFFFu) == 0) ? tileRow[tx]
                                                                           : backRow[backCol[sx - sx0]];
                }
            } else {
                for (; sx < cellEnd; ++sx)
                    *dst++ = backRow[backCol[sx - sx0]];
            }
        }
        if (z != 16) {
            for (int i = 0; i < x1 - x0; ++i)
                out[i] = row[pick[i]];
        }
        prevSy = sy;
        prevOut = out;
    }
}

} // namespace vorn
