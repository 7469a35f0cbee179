#include "rectangle.h"

#include "editingstate.h"
#include "stagedocument.h"

#include <QPainter>

namespace vorn {

void RectangleTool::drawIcon(QPainter& p) const
{
    p.fillRect(3, 4, 11, 8, QColor(96, 96, 255));
    p.drawRect(3, 4, 10, 7);
}

bool RectangleTool::press(const ToolEvent& event)
{
    if (event.button != 1)
        return false;
    return onMap(event.cell) ? begin(event.cell) : true; // off the map: taken, nothing done
}

void RectangleTool::finish(const QRect& cells) { stage().paintRegion(cells, editing().brush()); }

} // namespace vorn
