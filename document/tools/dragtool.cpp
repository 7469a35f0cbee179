#include "dragtool.h"

namespace vorn {

bool DragTool::begin(QPoint cell)
{
    start_ = end_ = cell;
    dragging_ = true;
    return true;
}

std::optional<QRect> DragTool::dragFrame() const
{
    if (!dragging_)
        return std::nullopt;
    return cells();
}

void DragTool::move(const ToolEvent& event)
{
    if (dragging_)
        end_ = clampToMap(event.cell);
}

void DragTool::release(const ToolEvent& event)
{
    if (!dragging_)
        return;
    move(event);
    dragging_ = false;
    finish(cells());
}

} // namespace vorn
