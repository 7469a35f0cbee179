#pragma once
// Shift+right drag over the map: the cells become the brush (one cell: its
// tile, as the palette would choose it). Taken whatever tool is chosen.
#include "dragtool.h"

namespace vorn {

class CaptureTool : public DragTool {
public:
    using DragTool::DragTool;
    bool press(const ToolEvent& event) override;

protected:
    void finish(const QRect& cells) override;
};

} // namespace vorn
