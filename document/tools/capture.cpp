#include "capture.h"

#include "editingstate.h"
#include "stagedocument.h"

namespace vorn {

bool CaptureTool::press(const ToolEvent& event)
{
    if (event.button != 2 || !event.shift || !onMap(event.cell))
        return false;
    return begin(event.cell);
}

void CaptureTool::finish(const QRect& cells)
{
    if (cells.width() * cells.height() == 1) {
        editing().useOneTile();
        editing().setTile(stage().cell(cells.x(), cells.y()));
    } else {
        editing().setBlock(stage().copyBlock(cells));
    }
}

} // namespace vorn
