#pragma once
// Drag to fill a rectangle with the brush, one step at the release.
#include "dragtool.h"

namespace vorn {

class RectangleTool : public DragTool {
public:
    using DragTool::DragTool;
    QString buttonName() const override { return QStringLiteral("cmdRectangle"); }
    QString toolTip() const override
    {
        return QStringLiteral("Rectangle: drag to fill a rectangle with the brush (P)");
    }
    QKeySequence key() const override { return QKeySequence(Qt::Key_P); }
    void drawIcon(QPainter& p) const override;
    bool press(const ToolEvent& event) override;

protected:
    void finish(const QRect& cells) override;
};

} // namespace vorn
