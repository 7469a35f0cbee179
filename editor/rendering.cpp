#include "frmVorn.h"

#include "entitymarker.h"
#include "mapview.h"
#include "shapeframe.h"

#include <QComboBox>
#include <QRegion>
#include <algorithm>
#include <cstring>
#include <vector>

// What a map pixel shows is fixed: at 16 pixels a cell, the tileset pixel of
// the cell's tile square where that pixel is not exactly black, else the
// backdrop repeated over the map (picBacking). Other zooms repeat source
// pixels, or at 8 take the top-left one of each 2 x 2 block. Nothing the
// size of the map is ever built: paints render only what is exposed.

namespace {

constexpr QRgb kOpaqueWhite = 0xFFFFFFFFu;

// Cells the grid can hold in one direction: a size set beyond the grid
// (before a reload puts it right) must not read outside it.
int Cells(qint16 count) { return std::clamp(int(count), 0, vorn::kGridSide); }
constexpr QRgb kOpaqueBlack = 0xFF000000u;

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

QImage frmVorn::CreateMaskImage(const QImage& picFrom, QRgb lTransparentColor)
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

void frmVorn::RenderMap(QImage& target, const QRect& area) const
{
    const int z = ZoomSize > 0 ? ZoomSize : 16;
    const QRect mapRect(0, 0, Cells(MapWidth) * z, Cells(MapHeight) * z);
    const QRect drawn = area & mapRect;
    if (drawn != area) {
        // Only reachable when asked for more than the map: the surface's colour.
        target.fill(palette().color(QPalette::Button));
    }
    if (drawn.isEmpty())
        return;

    const QImage& back = picTemp.isNull() ? WhiteBackdrop() : picTemp;
    const int bw = back.width();
    const int bh = back.height();
    const QImage& tiles = picTilesetImage;
    // Squares outside the tileset (or its mask) are transparent.
    const int tw = std::min(tiles.width(), picMask.width());
    const int th = std::min(tiles.height(), picMask.height());

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
            const quint8 t = TileGrid.at(cx, cy);
            const int tileX = (t & 15) * 16;
            const int tileY = (t >> 4) * 16 + ty;
            if (tileY < th) {
                const QRgb* tileRow = reinterpret_cast<const QRgb*>(tiles.constScanLine(tileY));
                const QRgb* maskRow = reinterpret_cast<const QRgb*>(picMask.constScanLine(tileY));
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

// The cell shows TileGrid's tile: callers store the tile first, then ask for
// the cell's square to be shown anew.
void frmVorn::DrawTile(int x, int y, quint8 /*tile*/)
{
    const int z = ZoomSize;
    picMap->update(x * z, y * z, z, z);
}

// One request per cell costs more than a whole-map undo may take; the
// strips of neighbours in a row, in row order, are few and join cheaply.
void frmVorn::DrawCells(const std::vector<quint32>& cells)
{
    if (cells.empty())
        return;
    std::vector<quint8> marked(size_t(vorn::kGridSide) * vorn::kGridSide, 0);
    int top = vorn::kGridSide;
    int bottom = -1;
    for (const quint32 cell : cells) {
        marked[cell] = 1;
        const int y = int(cell / vorn::kGridSide);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    const int z = ZoomSize;
    QRegion strips;
    for (int y = top; y <= bottom; ++y) {
        const quint8* row = marked.data() + size_t(y) * vorn::kGridSide;
        for (int x = 0; x < vorn::kGridSide;) {
            if (!row[x]) {
                ++x;
                continue;
            }
            int end = x + 1;
            while (end < vorn::kGridSide && row[end])
                ++end;
            strips += QRect(x * z, y * z, (end - x) * z, z);
            x = end;
        }
    }
    picMap->update(strips);
}

void frmVorn::RedrawMap()
{
    const int z = ZoomSize;
    // 32-bit products: zoom 64 with 513 cells is 32832 pixels.
    picMap->resize(Cells(MapWidth) * z, Cells(MapHeight) * z);
    // The frame stays on the cell lblPos names, at the new scale.
    shpCursor->setGeometry(cursorCell_.x() * z, cursorCell_.y() * z, z, z);
    picMap->update();
}

void frmVorn::cboZoom_Click()
{
    const int z = cboZoom->currentText().toInt();
    if (z <= 0)
        return;
    ZoomSize = quint8(z);
    RedrawMap();
    PositionEntities();
    Form_Resize();
}
