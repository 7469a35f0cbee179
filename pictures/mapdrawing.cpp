#include "mapdrawing.h"

#include <algorithm>
#include <array>
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

// Bit i of a tile row's entry is set where the row's column i shows the
// tileset: inside both pictures and exactly black in the mask.
using RowsShown = std::array<quint16, 256 * 16>;

// Worked out again only when the mask or the usable size changes: a
// QImage's cacheKey moves whenever its pixels are opened for writing.
const RowsShown& TileRowsShown(const QImage& mask, int tw, int th)
{
    struct Cache {
        qint64 key = 0;
        int tw = -1, th = -1;
        RowsShown rows{};
    };
    thread_local Cache cache;
    if (cache.key == mask.cacheKey() && cache.tw == tw && cache.th == th)
        return cache.rows;
    for (int t = 0; t < 256; ++t) {
        const int left = (t & 15) * 16;
        const int columns = std::clamp(tw - left, 0, 16);
        for (int row = 0; row < 16; ++row) {
            const int y = (t >> 4) * 16 + row;
            quint16 bits = 0;
            if (y < th && columns > 0) {
                const QRgb* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y)) + left;
                for (int i = 0; i < columns; ++i)
                    bits |= quint16(((m[i] & 0x00FFFFFFu) == 0) << i);
            }
            cache.rows[t * 16 + row] = bits;
        }
    }
    cache.key = mask.cacheKey();
    cache.tw = tw;
    cache.th = th;
    return cache.rows;
}

// What a source row (a row of the map at 16 pixels a cell) is drawn from.
struct SourceRow {
    // The cells the row crosses, the same for every row: only the first and
    // last can be cut. backX: the backdrop column of the first pixel.
    struct Span {
        int cx, from, count, backX;
    };
    std::vector<Span> spans;
    const QRgb* tilePixels = nullptr;
    qsizetype tileStride = 0; // in pixels: RGB32 rows are whole pixels long
    // A run of up to 16 backdrop pixels starting near the row's end wraps to
    // its start: the seam holds the row's last pixels and its first 16 again
    // (the row over and over when narrower than 16), so every run is read
    // from one place.
    int seamStart = 0;
    std::array<QRgb, 32> seam{};

    // This row's.
    const quint8* cells = nullptr;
    const quint16* shown = nullptr; // entry t * 16 is tile t's
    int tileY = 0; // the row within its cell
    const QRgb* backdrop = nullptr;
    const TileLooks* looks = nullptr;
};

// Half the tile's strength over what lies behind it.
QRgb Dimmed(QRgb tile, QRgb back) { return (((tile & 0xFEFEFEu) >> 1) + ((back & 0xFEFEFEu) >> 1)) | 0xFF000000u; }

// A cell of a tile the game draws otherwise: dimmed, or with an overlay.
void DrawLookedCell(const SourceRow& row, const SourceRow::Span& span, quint8 t, const QRgb* backRun, QRgb* dst)
{
    const TileLooks& looks = *row.looks;
    const unsigned bits = unsigned(row.shown[t * 16]) >> span.from;
    const unsigned over = unsigned(looks.overlaid[t * 16 + row.tileY]) >> span.from;
    const QRgb* tileRun =
        bits == 0 ? nullptr : row.tilePixels + ((t >> 4) * 16 + row.tileY) * row.tileStride + (t & 15) * 16 + span.from;
    const QRgb* overRun =
        looks.overlay[t] < 0 ? nullptr : looks.overlays[size_t(looks.overlay[t])].data() + row.tileY * 16 + span.from;
    const bool dimmed = looks.dimmed[t];
    for (int i = 0; i < span.count; ++i) {
        QRgb pixel = backRun[i];
        if ((bits >> i) & 1)
            pixel = dimmed ? Dimmed(tileRun[i], pixel) : tileRun[i];
        if ((over >> i) & 1)
            pixel = overRun[i];
        dst[i] = pixel;
    }
}

template <bool looked> void DrawSourceRow(const SourceRow& row, QRgb* dst)
{
    const quint8* cells = row.cells;
    const quint16* shown = row.shown;
    const QRgb* backdrop = row.backdrop;
    const QRgb* seam = row.seam.data();
    const int seamStart = row.seamStart;
    for (const SourceRow::Span& span : row.spans) {
        const quint8 t = cells[span.cx];
        const unsigned bits = unsigned(shown[t * 16]) >> span.from;
        const QRgb* backRun = span.backX >= seamStart ? seam + (span.backX - seamStart) : backdrop + span.backX;
        if constexpr (looked) {
            if (row.looks->dimmed[t] || row.looks->overlay[t] >= 0) {
                DrawLookedCell(row, span, t, backRun, dst);
                dst += span.count;
                continue;
            }
        }
        if (bits == 0 && span.count == 16) {
            std::memcpy(dst, backRun, 16 * sizeof(QRgb)); // a fixed size: copied inline
        } else {
            // Only runs with a shown pixel lie inside the tileset.
            const QRgb* tileRun =
                bits == 0 ? nullptr
                          : row.tilePixels + ((t >> 4) * 16 + row.tileY) * row.tileStride + (t & 15) * 16 + span.from;
            if (bits == 0xFFFFu && span.count == 16) {
                std::memcpy(dst, tileRun, 16 * sizeof(QRgb));
            } else {
                // Only shown pixels are read: the tileset may end inside the square.
                for (int i = 0, count = span.count; i < count; ++i)
                    dst[i] = (bits >> i) & 1 ? tileRun[i] : backRun[i];
            }
        }
        dst += span.count;
    }
}

// Each of `count` pixels `times` over, side by side.
template <int times> void Widen(const QRgb* from, int count, QRgb* to)
{
    for (int i = 0; i < count; ++i, to += times) {
        const QRgb pixel = from[i];
        for (int k = 0; k < times; ++k)
            to[k] = pixel;
    }
}

} // namespace

bool IsZoomSize(int zoom) { return std::find(kZoomSizes.begin(), kZoomSizes.end(), zoom) != kZoomSizes.end(); }

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

TileLooks GameTileLooks(const MapScene& scene, const TileTypes& types, const QImage* npcSym, const QImage* caret)
{
    TileLooks looks;
    looks.overlay.fill(-1);
    // A 16 x 16 part of a sheet; what lies beyond the sheet is transparent.
    const auto cut = [&looks](const QImage* sheet, int left, int top) -> qint8 {
        if (!sheet || sheet->isNull())
            return -1;
        std::array<QRgb, 256> picture{};
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (sheet->valid(left + x, top + y))
                    picture[size_t(y * 16 + x)] = sheet->pixel(left + x, top + y);
        looks.overlays.push_back(picture);
        return qint8(looks.overlays.size() - 1);
    };
    const qint8 star = cut(npcSym, 256, 48);
    // The dots' first frame: two pixels along the flow, left, up, right, down.
    const std::array<qint8, 4> dots = {cut(caret, 226, 48), cut(caret, 224, 50), cut(caret, 238, 48),
                                       cut(caret, 224, 62)};
    const int tw = std::min(scene.tileset->width(), scene.mask->width());
    const int th = std::min(scene.tileset->height(), scene.mask->height());
    const RowsShown& shown = TileRowsShown(*scene.mask, tw, th);
    for (int t = 0; t < kTileTypeCount; ++t) {
        const quint8 type = types[size_t(t)];
        const bool front = type >= 0x40 && type <= 0x7F;
        looks.dimmed[size_t(t)] = (type >= 0x20 && type <= 0x3F) || type >= 0x80;
        if (type == 0x43)
            looks.overlay[size_t(t)] = star;
        else if ((type >= 0x80 && type <= 0x83) || (type >= 0xA0 && type <= 0xA3))
            looks.overlay[size_t(t)] = dots[type & 3];
        const qint8 overlay = looks.overlay[size_t(t)];
        for (int row = 0; row < 16; ++row) {
            quint16 over = 0;
            if (overlay >= 0)
                for (int i = 0; i < 16; ++i)
                    over |= quint16(((looks.overlays[size_t(overlay)][size_t(row * 16 + i)] & 0x00FFFFFFu) != 0) << i);
            const size_t at = size_t(t * 16 + row);
            looks.overlaid[at] = over;
            looks.inFront[at] = quint16(over | (front ? shown[at] : 0));
        }
    }
    return looks;
}

QSize MapPixelSize(const MapScene& scene, int zoom) { return {Cells(scene.width) * zoom, Cells(scene.height) * zoom}; }

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
    const int sx0 = x0 * 16 / z; // source columns at 16 a cell
    const int sx1 = (x1 - 1) * 16 / z + 1;
    const int n = sx1 - sx0;

    const RowsShown& shown = TileRowsShown(mask, tw, th);
    SourceRow row;
    row.tilePixels = reinterpret_cast<const QRgb*>(tiles.constBits());
    row.tileStride = tiles.bytesPerLine() / qsizetype(sizeof(QRgb));
    row.seamStart = std::max(bw - 16, 0);
    row.looks = scene.looks;
    for (int sx = sx0; sx < sx1;) {
        const int cellEnd = std::min((sx / 16 + 1) * 16, sx1);
        row.spans.push_back({sx / 16, sx & 15, cellEnd - sx, sx % bw});
        sx = cellEnd;
    }
    int seamRow = -1;

    // Zooms 32 and 64 repeat each source pixel a whole number of times:
    // widened from the source row's first pixel, then the view's part copied.
    // Other zooms look up each pixel's source column.
    const int times = z == 32 || z == 64 ? z / 16 : 0;
    std::vector<QRgb> sourceRow;
    std::vector<QRgb> widened;
    std::vector<int> pick;
    if (z != 16)
        sourceRow.resize(n);
    if (times > 0) {
        widened.resize(size_t(n) * times);
    } else if (z != 16) {
        pick.resize(x1 - x0);
        for (int ox = x0; ox < x1; ++ox)
            pick[ox - x0] = ox * 16 / z - sx0;
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
        row.cells = grid.row(sy >> 4);
        row.shown = shown.data() + (sy & 15);
        row.tileY = sy & 15;
        const int by = sy % bh;
        row.backdrop = reinterpret_cast<const QRgb*>(back.constScanLine(by));
        if (by != seamRow) {
            if (bw >= 16) {
                std::memcpy(row.seam.data(), row.backdrop + row.seamStart, 16 * sizeof(QRgb));
                std::memcpy(row.seam.data() + 16, row.backdrop, 16 * sizeof(QRgb));
            } else {
                for (int i = 0; i < bw + 16; ++i)
                    row.seam[i] = row.backdrop[i % bw];
            }
            seamRow = by;
        }

        QRgb* const rowOut = z == 16 ? out : sourceRow.data();
        if (row.looks)
            DrawSourceRow<true>(row, rowOut);
        else
            DrawSourceRow<false>(row, rowOut);
        if (z != 16) {
            if (times > 0) {
                if (times == 2)
                    Widen<2>(sourceRow.data(), n, widened.data());
                else
                    Widen<4>(sourceRow.data(), n, widened.data());
                std::memcpy(out, widened.data() + (x0 - sx0 * times), size_t(x1 - x0) * sizeof(QRgb));
            } else {
                for (int i = 0; i < x1 - x0; ++i)
                    out[i] = sourceRow[pick[i]];
            }
        }
        prevSy = sy;
        prevOut = out;
    }
}

} // namespace vorn
