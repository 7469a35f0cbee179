#pragma once
// A left drag from an entity's marker moves the picked entity cell by cell;
// the whole drag is one step at the release.
#include "maptool.h"

namespace vorn {

class EntityDragTool : public MapTool {
public:
    using MapTool::MapTool;
    bool active() const override { return dragging_; }
    // Pressed on a marker: the picked entity is the one dragged.
    bool press(const ToolEvent& event) override;
    void move(const ToolEvent& event) override;
    void release(const ToolEvent& event) override;
    void cancel() override;

private:
    bool dragging_ = false;
};

} // namespace vorn
