#pragma once
// Fills the connected cells of one tile with the brush, inside the
// selection when there is one; with Shift, that tile everywhere.
#include "maptool.h"

namespace vorn {

class FillTool : public MapTool {
public:
    using MapTool::MapTool;
    QString buttonName() const override { return QStringLiteral("cmdFill"); }
    QString toolTip() const override
    {
        return QStringLiteral("Fill: fill the connected cells of one tile; Shift replaces that tile everywhere (F)");
    }
    QKeySequence key() const override { return QKeySequence(Qt::Key_F); }
    void drawIcon(QPainter& p) const override;
    bool press(const ToolEvent& event) override;
};

} // namespace vorn
