#include "markerdrawing.h"

#include <QPainter>
#include <algorithm>

namespace vorn {
namespace {

// K black, W white, . transparent; top row first.
constexpr const char* kMarkerRows[16] = {
    "..K.K.K.K.K.K.K.", "...............K", "K.....KKKK......", "......KWWK.....K",
    "K.....KWWK......", "......KWWK.....K", "K.....KWWK......", "......KWK......K",
    "K.....KWK.......", "......KWK......K", "K....KKKK.......", ".....KWWK......K",
    "K....KWWK.......", ".....KKKK......K", "K...............", ".K.K.K.K.K.K.K.K",
};

QImage BuildPicture()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            QRgb pixel = qRgba(0, 0, 0, 0);
            if (kMarkerRows[y][x] == 'K')
                pixel = qRgba(0, 0, 0, 255);
            else if (kMarkerRows[y][x] == 'W')
                pixel = qRgba(255, 255, 255, 255);
            image.setPixel(x, y, pixel);
        }
    }
    return image;
}

} // namespace

const QImage& MarkerPicture()
{
    static const QImage image = BuildPicture();
    return image;
}

QRect MarkerRect(const EntityRecord& record, int zoom) { return {record.X * zoom, record.Y * zoom, zoom, zoom}; }

void PaintMarker(QPainter& painter, const QRect& rect)
{
    // Pixel art: every source pixel becomes a solid block at any zoom.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect, MarkerPicture());
}

void PaintMarkerOutline(QPainter& painter, const QRect& rect, QRgb colour)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::NoBrush);
    const QColor c = QColor::fromRgb(colour);
    painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), c);
    painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), c);
    painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), c);
    painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), c);
}

void DrawMarkers(QImage& target, const QRect& area, int zoom, int count, const EntityRecords& records,
                 const std::function<bool(int index)>& outlined)
{
    const int placed = std::clamp(count, 0, int(records.size()));
    QPainter painter(&target);
    painter.setClipRect(QRect(QPoint(0, 0), area.size()));
    // The markers' own coordinates, as each widget paints itself at its place.
    painter.translate(-area.topLeft());
    for (int i = 0; i < placed; ++i) {
        const QRect rect = MarkerRect(records[i], zoom);
        if (!rect.intersects(area))
            continue;
        if (outlined && outlined(i))
            PaintMarkerOutline(painter, rect, kOutline);
        else
            PaintMarker(painter, rect);
    }
}

} // namespace vorn
