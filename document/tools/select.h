#pragma once
// Drag to select cells. A click outside the selection clears it.
#include "dragtool.h"

namespace vorn {

class SelectTool : public DragTool {
public:
    using DragTool::DragTool;
    QString buttonName() const override { return QStringLiteral("cmdSelect"); }
    QString toolTip() const override
    {
        return QStringLiteral("Select: drag to select cells; Ctrl+A selects the whole map (R)");
    }
    QKeySequence key() const override { return QKeySequence(Qt::Key_R); }
    void drawIcon(QPainter& p) const override;
    bool press(const ToolEvent& event) override;
    QString status() const override;
    // The selection drawn dashed while the drag lasts, in place of the
    // frame of other drags.
    bool framesSelection() const { return active(); }

protected:
    void finish(const QRect& cells) override;
};

} // namespace vorn
