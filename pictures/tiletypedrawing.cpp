#include "tiletypedrawing.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace vorn {
namespace {

// One type's mark at one zoom, as three masks a pixel goes through:
// out = (out & keep) + ((out >> 1) & half) + add. Kept pixels have keep all
// ones; painted ones add their colour; tinted ones are half the old pixel
// plus half the colour. No branch per pixel, so the loop stays fast.
struct Mark {
    int side = 0;
    std::vector<QRgb> keep, half, add;
    // Per row, the columns from the first to past the last pixel that
    // changes (equal where none does): most marks leave parts of rows alone.
    std::vector<std::pair<int, int>> span;
    bool whole = false; // every row's span is the whole row
    bool empty = true;
};

constexpr QRgb kSolid = qRgb(96, 96, 255);
constexpr QRgb kSpikes = qRgb(255, 48, 48);
constexpr QRgb kWater = qRgb(0, 200, 255);
constexpr QRgb kEntityBlock = qRgb(40, 220, 90);
constexpr QRgb kPlayerBlock = qRgb(255, 220, 0);
constexpr QRgb kBreakable = qRgb(255, 150, 0);
constexpr QRgb kWind = qRgb(235, 235, 235);
constexpr QRgb kForeground = qRgb(230, 130, 255);
constexpr QRgb kNumber = qRgb(255, 255, 255);

// 3 x 5 digits, a row per 3 bits, top row first.
constexpr std::array<quint16, 16> kDigits = {
    075557, 026227, 071747, 071717, 055711, 074717, 074757, 071111,
    075757, 075717, 075755, 065656, 074447, 065556, 074647, 074644,
};

// Draws the mark in a picture of its own first: alpha 0 leaves the map's
// pixel, 128 tints it, 255 paints over it.
class MarkPainter {
public:
    explicit MarkPainter(int side)
        : image_(side, side, QImage::Format_ARGB32)
        , side_(side)
    {
        image_.fill(0);
    }
    int side() const { return side_; }
    // Pixels of the mark at 16 a cell, scaled to the zoom.
    int at(double v) const { return int(v * side_ / 16.0); }
    int unit() const { return std::max(1, side_ / 16); }

    void tint(QRgb colour) { fill(QRect(0, 0, side_, side_), colour, 128); }
    void fill(const QRect& rect, QRgb colour, int alpha)
    {
        const QRect r = rect & image_.rect();
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                image_.setPixel(x, y, (colour & 0x00FFFFFFu) | (QRgb(alpha) << 24));
    }
    void border(QRgb colour)
    {
        const int w = unit();
        fill(QRect(0, 0, side_, w), colour, 255);
        fill(QRect(0, side_ - w, side_, w), colour, 255);
        fill(QRect(0, 0, w, side_), colour, 255);
        fill(QRect(side_ - w, 0, w, side_), colour, 255);
    }
    void polygon(const QPolygon& points, QRgb colour, int alpha)
    {
        QPainter painter(&image_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromRgba((colour & 0x00FFFFFFu) | (QRgb(alpha) << 24)));
        painter.drawPolygon(points);
    }
    void line(QPoint from, QPoint to, QRgb colour)
    {
        QPainter painter(&image_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor(colour), unit(), Qt::SolidLine, Qt::SquareCap));
        painter.drawLine(from, to);
    }
    // Solid ground: diagonal lines over the part tinted in `colour`, two
    // to a cell and continuous across cells, so that solid reads as solid
    // whatever the colour of the tile's art.
    void hatch(QRgb colour)
    {
        const int spacing = std::max(2, side_ / 2);
        const QRgb tinted = (colour & 0x00FFFFFFu) | 0x80000000u;
        for (int y = 0; y < side_; ++y)
            for (int x = 0; x < side_; ++x)
                if (image_.pixel(x, y) == tinted && (x + y) % spacing < unit())
                    image_.setPixel(x, y, colour | 0xFF000000u);
    }
    // Spikes: a row of teeth standing on the cell's floor.
    void teeth(QRgb colour)
    {
        for (int i = 0; i < 4; ++i)
            polygon(QPolygon({QPoint(at(i * 4), side_), QPoint(at(i * 4 + 2), at(8)), QPoint(at(i * 4 + 4), side_)}),
                    colour, 255);
    }
    // An arrow across the cell pointing left, up, right or down.
    void arrow(int direction, QRgb colour)
    {
        // Drawn pointing right, then turned.
        const QPolygon right(
            {QPoint(3, 6), QPoint(8, 6), QPoint(8, 3), QPoint(13, 8), QPoint(8, 13), QPoint(8, 10), QPoint(3, 10)});
        QPolygon turned;
        for (const QPoint& p : right) {
            QPoint q = p;
            if (direction == 0)
                q = QPoint(16 - p.x(), p.y());
            else if (direction == 1)
                q = QPoint(p.y(), 16 - p.x());
            else if (direction == 3)
                q = QPoint(p.y(), p.x());
            turned << QPoint(at(q.x()), at(q.y()));
        }
        polygon(turned, colour, 255);
    }
    // A slope: the solid side tinted, the surface drawn as a line.
    void slope(const SlopeSurface& surface, QRgb colour)
    {
        const QPoint left(0, at(surface.leftY)), right(side_, at(surface.rightY));
        const int edge = surface.ceiling ? 0 : side_;
        polygon(QPolygon({left, right, QPoint(side_, edge), QPoint(0, edge)}), colour, 128);
        hatch(colour);
        line(left, right - QPoint(1, 0), colour);
    }
    // Drawn in front of entities: a small corner, so the art stays seen.
    void corner(QRgb colour) { polygon(QPolygon({QPoint(0, 0), QPoint(at(6), 0), QPoint(0, at(6))}), colour, 255); }
    // The type as two small hexadecimal digits on a dark plate in the top
    // left corner, leaving most of the tile's art in view.
    void number(quint8 type)
    {
        const int f = std::max(1, side_ / 16);
        const int w = 7 * f, h = 5 * f;
        const int x0 = f, y0 = f;
        fill(QRect(x0 - f / 2, y0 - f / 2, w + f, h + f), qRgb(0, 0, 0), 128);
        for (int digit = 0; digit < 2; ++digit) {
            const quint16 bits = kDigits[digit == 0 ? type >> 4 : type & 15];
            for (int row = 0; row < 5; ++row)
                for (int col = 0; col < 3; ++col)
                    if (bits & (1u << ((4 - row) * 3 + (2 - col))))
                        fill(QRect(x0 + (digit * 4 + col) * f, y0 + row * f, f, f), kNumber, 255);
        }
    }

    Mark finish() const
    {
        Mark mark;
        const size_t n = size_t(side_) * side_;
        mark.side = side_;
        mark.keep.assign(n, 0xFFFFFFFFu);
        mark.half.assign(n, 0);
        mark.add.assign(n, 0);
        mark.span.assign(size_t(side_), {0, 0});
        for (int y = 0; y < side_; ++y) {
            for (int x = 0; x < side_; ++x) {
                const QRgb p = image_.pixel(x, y);
                const size_t i = size_t(y) * side_ + x;
                if (qAlpha(p) == 255) {
                    mark.keep[i] = 0;
                    mark.add[i] = p;
                } else if (qAlpha(p) > 0) {
                    mark.keep[i] = 0xFF000000u;
                    mark.half[i] = 0x007F7F7Fu;
                    mark.add[i] = (p >> 1) & 0x007F7F7Fu;
                } else {
                    continue;
                }
                auto& [first, end] = mark.span[size_t(y)];
                if (first == end)
                    first = x;
                end = x + 1;
                mark.empty = false;
            }
        }
        mark.whole = std::all_of(mark.span.begin(), mark.span.end(),
                                 [&](const std::pair<int, int>& span) { return span == std::pair(0, side_); });
        return mark;
    }

private:
    QImage image_;
    int side_;
};

Mark BuildMark(quint8 type, int side)
{
    MarkPainter p(side);
    const std::optional<SlopeSurface> slope = SlopeOf(type);
    if (slope) {
        if (type >= 0x70)
            p.tint(kWater);
        p.slope(*slope, kSolid);
        return p.finish();
    }
    switch (type) {
    case 0x00:
    case 0x01:
        break; // plain background tiles: nothing to show
    case 0x40:
    case 0x45:
        p.corner(kForeground);
        break;
    case 0x02:
    case 0x60:
        p.tint(kWater);
        break;
    case 0x03:
    case 0x44:
        p.tint(kEntityBlock);
        p.border(kEntityBlock);
        break;
    case 0x04:
    case 0x64:
        p.tint(kWater);
        p.border(kEntityBlock);
        break;
    case 0x05:
        p.tint(kSolid);
        p.hatch(kSolid);
        p.border(kEntityBlock);
        break;
    case 0x41:
        p.tint(kSolid);
        p.hatch(kSolid);
        break;
    case 0x42:
        p.teeth(kSpikes);
        break;
    case 0x43:
        p.tint(kSolid);
        p.hatch(kSolid);
        p.line(QPoint(p.at(3), p.at(3)), QPoint(p.at(13) - 1, p.at(13) - 1), kBreakable);
        p.line(QPoint(p.at(13) - 1, p.at(3)), QPoint(p.at(3), p.at(13) - 1), kBreakable);
        p.border(kBreakable);
        break;
    case 0x46:
        p.tint(kPlayerBlock);
        p.border(kPlayerBlock);
        break;
    case 0x61:
        p.tint(kSolid);
        p.hatch(kSolid);
        p.border(kWater);
        break;
    case 0x62:
        p.tint(kWater);
        p.teeth(kSpikes);
        break;
    case 0x80:
    case 0x81:
    case 0x82:
    case 0x83:
        p.arrow(type - 0x80, kWind);
        break;
    case 0xA0:
    case 0xA1:
    case 0xA2:
    case 0xA3:
        p.tint(kWater);
        p.arrow(type - 0xA0, kWind);
        break;
    default:
        p.number(type);
        break;
    }
    return p.finish();
}

// Marks are built once per type and zoom, when first shown.
using MarkTable = std::array<std::unique_ptr<Mark>, kTileTypeCount>;

MarkTable& MarksAt(int side)
{
    static std::map<int, MarkTable> marks;
    return marks[side];
}

const Mark& MarkOf(MarkTable& marks, quint8 type, int side)
{
    std::unique_ptr<Mark>& mark = marks[type];
    if (!mark)
        mark = std::make_unique<Mark>(BuildMark(type, side));
    return *mark;
}

#if defined(__GNUC__)
// Four pixels at a time, in whatever vector registers the target has.
using Pixels4 = QRgb __attribute__((vector_size(16)));
#endif

// Pixels `from` to `to` - 1 of one row through the mark's masks, which
// start at the same column.
inline void ApplyPixels(QRgb* pixels, const QRgb* keep, const QRgb* half, const QRgb* add, int from, int to)
{
    int x = from;
#if defined(__GNUC__)
    for (; x + 4 <= to; x += 4) {
        Pixels4 o, k, h, a;
        std::memcpy(&o, pixels + x, sizeof o);
        std::memcpy(&k, keep + x, sizeof k);
        std::memcpy(&h, half + x, sizeof h);
        std::memcpy(&a, add + x, sizeof a);
        o = (o & k) + ((o >> 1) & h) + a;
        std::memcpy(pixels + x, &o, sizeof o);
    }
#endif
    for (; x < to; ++x)
        pixels[x] = (pixels[x] & keep[x]) + ((pixels[x] >> 1) & half[x]) + add[x];
}

// Rows `top` to `bottom` of a whole mark, `Side` pixels wide, at `out`: a
// width known here lets the row's loop unroll, which the small zooms,
// whose rows are short, gain most from.
template <int Side> void ApplyWholeRows(const Mark& mark, int top, int bottom, uchar* out, qsizetype stride)
{
    const size_t at = size_t(top) * Side;
    const QRgb* keep = mark.keep.data() + at;
    const QRgb* half = mark.half.data() + at;
    const QRgb* add = mark.add.data() + at;
    for (int row = top; row <= bottom; ++row, keep += Side, half += Side, add += Side, out += stride)
        ApplyPixels(reinterpret_cast<QRgb*>(out), keep, half, add, 0, Side);
}

// Applies rows `top` to `bottom` of `mark`, `count` pixels from its column
// `from` each, to the pixels from `out` on, a row being `stride` bytes.
void ApplyRows(const Mark& mark, int top, int bottom, int from, int count, uchar* out, qsizetype stride)
{
    if (mark.whole && from == 0 && count == mark.side) {
        switch (mark.side) {
        case 8:
            return ApplyWholeRows<8>(mark, top, bottom, out, stride);
        case 16:
            return ApplyWholeRows<16>(mark, top, bottom, out, stride);
        case 24:
            return ApplyWholeRows<24>(mark, top, bottom, out, stride);
        case 32:
            return ApplyWholeRows<32>(mark, top, bottom, out, stride);
        default:
            break;
        }
    }
    const size_t side = size_t(mark.side);
    const QRgb* keep = mark.keep.data() + size_t(top) * side;
    const QRgb* half = mark.half.data() + size_t(top) * side;
    const QRgb* add = mark.add.data() + size_t(top) * side;
    const std::pair<int, int>* span = mark.span.data();
    for (int row = top; row <= bottom; ++row, keep += side, half += side, add += side, out += stride) {
        const int begin = std::max(from, span[row].first);
        const int end = std::min(from + count, span[row].second);
        ApplyPixels(reinterpret_cast<QRgb*>(out), keep + from, half + from, add + from, begin - from, end - from);
    }
}

// The legend's line for a type: types that share a mark share a line.
// Rank 0 is the background, which shows no mark.
struct KindLine {
    int rank;
    const char* meaning;
};

KindLine KindOf(quint8 type)
{
    if (type >= 0x50 && type <= 0x57)
        return {9, "slope"};
    if (type >= 0x70 && type <= 0x77)
        return {10, "slope in water"};
    switch (type) {
    case 0x00:
    case 0x01:
        return {0, ""};
    case 0x41:
        return {1, "solid"};
    case 0x43:
        return {2, "solid, breakable"};
    case 0x46:
        return {3, "solid to the player only"};
    case 0x03:
    case 0x44:
        return {4, "blocks entities (0x44: and shots)"};
    case 0x05:
        return {5, "blocks player and entities, not shots"};
    case 0x42:
        return {6, "spikes"};
    case 0x62:
        return {7, "spikes in water"};
    case 0x02:
    case 0x60:
        return {8, "water"};
    case 0x61:
        return {11, "water, solid"};
    case 0x04:
    case 0x64:
        return {12, "water-block for entities"};
    case 0x80:
    case 0x81:
    case 0x82:
    case 0x83:
        return {13, "wind"};
    case 0xA0:
    case 0xA1:
    case 0xA2:
    case 0xA3:
        return {14, "water current"};
    case 0x40:
    case 0x45:
        return {15, "in front of entities"};
    default:
        return {16, "other value, shown by its number"};
    }
}

} // namespace

std::vector<TileTypeKind> TileTypeKinds(const std::array<bool, kTileTypeCount>& present)
{
    std::map<int, TileTypeKind> lines;
    for (int type = 0; type < kTileTypeCount; ++type) {
        if (!present[size_t(type)])
            continue;
        const KindLine kind = KindOf(quint8(type));
        if (kind.rank > 0 && !lines.count(kind.rank))
            lines[kind.rank] = TileTypeKind{QString::fromLatin1(kind.meaning), quint8(type)};
    }
    std::vector<TileTypeKind> out;
    for (auto& [rank, kind] : lines)
        out.push_back(std::move(kind));
    return out;
}

QImage TileTypeSample(quint8 type, int side)
{
    QImage sample(side, side, QImage::Format_RGB32);
    sample.fill(qRgb(128, 128, 128));
    const Mark& mark = MarkOf(MarksAt(side), type, side);
    if (!mark.empty)
        ApplyRows(mark, 0, side - 1, 0, side, sample.bits(), sample.bytesPerLine());
    return sample;
}

void DrawTileTypes(QImage& target, const QRect& area, int zoom, const MapScene& scene, const TileTypes& types)
{
    const int z = zoom > 0 ? zoom : 16;
    const QRect drawn = area & QRect(QPoint(0, 0), MapPixelSize(scene, z));
    if (drawn.isEmpty() || !scene.grid)
        return;
    const TileGrid& grid = *scene.grid;
    MarkTable& marks = MarksAt(z);
    uchar* const bits = target.bits(); // scanLine() per row would check for sharing each time
    const qsizetype stride = target.bytesPerLine();
    // Cell by cell, each down its rows: a cell's mark stays at hand.
    for (int cy = drawn.top() / z; cy * z <= drawn.bottom(); ++cy) {
        const int top = std::max(cy * z, drawn.top());
        const int bottom = std::min(cy * z + z - 1, drawn.bottom());
        uchar* const band = bits + (top - area.top()) * stride;
        const quint8* tiles = grid.row(cy);
        for (int cx = drawn.left() / z; cx * z <= drawn.right(); ++cx) {
            const quint8 type = types[tiles[cx]];
            if (type == 0)
                continue;
            const Mark& mark = MarkOf(marks, type, z);
            if (mark.empty)
                continue;
            const int from = std::max(cx * z, drawn.left());
            const int count = std::min(cx * z + z, drawn.right() + 1) - from;
            ApplyRows(mark, top - cy * z, bottom - cy * z, from - cx * z, count,
                      band + (from - area.left()) * qsizetype(sizeof(QRgb)), stride);
        }
    }
}

void DrawTileTypesOnTileset(QImage& tileset, const TileTypes& types)
{
    for (int tile = 0; tile < kTileTypeCount; ++tile) {
        if (types[size_t(tile)] == 0)
            continue;
        const Mark& mark = MarkOf(MarksAt(16), types[size_t(tile)], 16);
        const QRect cell = QRect((tile & 15) * 16, (tile >> 4) * 16, 16, 16) & tileset.rect();
        if (cell.isEmpty())
            continue;
        ApplyRows(mark, cell.top() - (tile >> 4) * 16, cell.bottom() - (tile >> 4) * 16, cell.left() - (tile & 15) * 16,
                  cell.width(), tileset.scanLine(cell.top()) + cell.left() * qsizetype(sizeof(QRgb)),
                  tileset.bytesPerLine());
    }
}

} // namespace vorn
