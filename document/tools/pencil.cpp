#include "pencil.h"

#include "editingstate.h"
#include "preview.h"
#include "stagedocument.h"

#include <QPainter>

namespace vorn {

void PencilTool::drawIcon(QPainter& p) const
{
    p.drawLine(3, 12, 12, 3);
    p.drawLine(4, 13, 13, 4);
    p.fillRect(2, 12, 2, 2, Qt::black);
}

QRect PencilTool::previewCells() const
{
    const TileBlock& block = editing().block();
    if (!block.valid() || !hover_ || !onMap(*hover_))
        return {};
    return QRect(*hover_, QSize(block.width, block.height));
}

void PencilTool::drawPreview(QImage& target, const QRect& area, int zoom) const
{
    const QRect cells = previewCells();
    if (cells.isEmpty())
        return;
    DrawCellsPreview(target, area, zoom, stage(), editing().block(), cells.topLeft(), {}, false);
}

void PencilTool::paint(QPoint cell) const
{
    const TileBlock brush = editing().brush();
    for (int by = 0; by < brush.height && cell.y() + by < stage().height(); ++by)
        for (int bx = 0; bx < brush.width && cell.x() + bx < stage().width(); ++bx)
            stage().paintCell(cell.x() + bx, cell.y() + by, brush.at(bx, by));
}

} // namespace vorn
