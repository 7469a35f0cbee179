#pragma once
// A left drag while Space is held pans the map instead of painting.
#include "maptool.h"

namespace vorn {

class PanTool : public MapTool {
public:
    using MapTool::MapTool;
    bool active() const override { return from_.has_value(); }
    bool press(const ToolEvent& event) override; // only while Space is held: the window asks
    void move(const ToolEvent& event) override;
    void release(const ToolEvent&) override { from_.reset(); }
    void cancel() override { from_.reset(); }

private:
    std::optional<QPoint> from_; // where the drag began, on the screen
    QPoint start_; // the scroll position then
};

} // namespace vorn
