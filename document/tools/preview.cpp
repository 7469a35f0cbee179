#include "preview.h"

#include "markerdrawing.h"
#include "spritedrawing.h"
#include "stagedocument.h"

#include <QPainter>
#include <algorithm>

namespace vorn {

void DrawCellsPreview(QImage& target, const QRect& area, int zoom, const StageDocument& stage, const TileBlock& cells,
                      QPoint at, const std::vector<EntityRecord>& entities, bool sprites)
{
    if (!cells.valid())
        return;
    const QRect pixels(at.x() * zoom, at.y() * zoom, cells.width * zoom, cells.height * zoom);
    if (!pixels.intersects(area))
        return;
    const QImage& tiles = stage.tileset();
    {
        QPainter painter(&target);
        painter.translate(-area.topLeft());
        painter.setOpacity(0.75);
        // Only the cells the area shows: a 513 x 513 copy costs no more than the window.
        const QRect shown = QRect(pixels & area);
        const int x0 = (shown.left() - pixels.left()) / zoom, x1 = (shown.right() - pixels.left()) / zoom;
        const int y0 = (shown.top() - pixels.top()) / zoom, y1 = (shown.bottom() - pixels.top()) / zoom;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const quint8 t = cells.at(x, y);
                painter.drawImage(QRect(pixels.x() + x * zoom, pixels.y() + y * zoom, zoom, zoom), tiles,
                                  QRect((t & 15) * 16, (t >> 4) * 16, 16, 16));
            }
    }
    if (!entities.empty()) {
        if (sprites) {
            EntityRecords records{};
            const int count = int(std::min<size_t>(entities.size(), records.size()));
            std::copy_n(entities.begin(), count, records.begin());
            DrawSprites(target, area, zoom, QSize(stage.width() * zoom, stage.height() * zoom), count, records,
                        stage.sheets(), stage.npcTable());
        } else {
            QPainter painter(&target);
            painter.translate(-area.topLeft());
            for (const EntityRecord& e : entities)
                PaintMarker(painter, MarkerRect(e, zoom));
        }
    }
}

} // namespace vorn
