#pragma once
// A press and drag over cells, from the press's cell to the pointer's:
// what rectangle, select and the capture of a block share.
#include "maptool.h"

namespace vorn {

class DragTool : public MapTool {
public:
    using MapTool::MapTool;
    bool active() const override { return dragging_; }
    void cancel() override { dragging_ = false; }
    std::optional<QRect> dragFrame() const override;
    void move(const ToolEvent& event) override;
    void release(const ToolEvent& event) override;

protected:
    // Starts a drag on `cell`, which must lie on the map.
    bool begin(QPoint cell);
    QRect cells() const { return QRect(start_, end_).normalized(); }
    // The drag's cells at the release.
    virtual void finish(const QRect& cells) = 0;

private:
    bool dragging_ = false;
    QPoint start_, end_;
};

} // namespace vorn
