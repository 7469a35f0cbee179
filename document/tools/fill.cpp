#include "fill.h"

#include "editingstate.h"
#include "stagedocument.h"

#include <QPainter>

namespace vorn {

void FillTool::drawIcon(QPainter& p) const
{
    p.drawRect(4, 5, 7, 8);
    p.fillRect(5, 9, 6, 4, QColor(96, 96, 255));
    p.drawLine(11, 7, 13, 10);
}

bool FillTool::press(const ToolEvent& event)
{
    if (event.button != 1)
        return false;
    if (!onMap(event.cell))
        return true;
    const QPoint c = event.cell;
    if (event.shift)
        stage().replaceAll(stage().cell(c.x(), c.y()), editing().brush(), std::nullopt);
    else
        stage().fill(c.x(), c.y(), editing().brush(), editing().selection());
    return true;
}

} // namespace vorn
