#pragma once
// A copy floating under the pointer until a left click places it, over
// entity markers too; Escape drops it. Active while the editing state
// holds a floating copy, whatever tool is chosen.
#include "maptool.h"

namespace vorn {

class FloatingPasteTool : public MapTool {
public:
    using MapTool::MapTool;
    bool active() const override;
    bool press(const ToolEvent& event) override;
    void move(const ToolEvent& event) override;
    void cancel() override;
    void drawPreview(QImage& target, const QRect& area, int zoom) const override;
    QRect previewCells() const override;
    // Writes the copy at its place as one step; what falls outside the
    // map on any side is left out. Tells a refusal, and a copy taken from
    // a stage with another tileset.
    bool place();
};

} // namespace vorn
