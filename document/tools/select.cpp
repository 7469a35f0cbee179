#include "select.h"

#include "editingstate.h"

#include <QPainter>

namespace vorn {

void SelectTool::drawIcon(QPainter& p) const
{
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawRect(2, 3, 11, 9);
}

bool SelectTool::press(const ToolEvent& event)
{
    if (event.button != 1)
        return false;
    return onMap(event.cell) ? begin(event.cell) : true;
}

QString SelectTool::status() const
{
    if (!active())
        return {};
    return QStringLiteral("Selection %1 x %2").arg(cells().width()).arg(cells().height());
}

void SelectTool::finish(const QRect& cells)
{
    const std::optional<QRect>& selection = editing().selection();
    if (cells.width() * cells.height() > 1)
        editing().setSelection(cells);
    else if (!(selection && selection->contains(cells.topLeft())))
        editing().setSelection(std::nullopt);
}

} // namespace vorn
