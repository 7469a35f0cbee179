#include "entitydrag.h"

#include "editingstate.h"
#include "stagedocument.h"

#include <algorithm>

namespace vorn {

bool EntityDragTool::press(const ToolEvent& event)
{
    const int picked = editing().picked();
    if (event.button != 1 || picked < 0 || picked >= stage().entityCount())
        return false;
    stage().finishEdit(); // a drag whose release was missed ends here
    dragging_ = true;
    return true;
}

void EntityDragTool::move(const ToolEvent& event)
{
    const int picked = editing().picked();
    if (!dragging_ || (event.button & 1) == 0 || picked < 0 || picked >= stage().entityCount())
        return;
    // The record holds 16-bit places; the map's top-left bounds them below.
    stage().moveEntity(picked, std::clamp(event.cell.x(), 0, 32767), std::clamp(event.cell.y(), 0, 32767));
}

void EntityDragTool::release(const ToolEvent&)
{
    dragging_ = false;
    stage().finishEdit();
}

void EntityDragTool::cancel()
{
    if (dragging_)
        stage().finishEdit();
    dragging_ = false;
}

} // namespace vorn
