#pragma once
// The designed pencil: the brush where the pointer is pressed and dragged.
// Its press is the designed handler's, which paints through paint().
#include "maptool.h"

namespace vorn {

class PencilTool : public MapTool {
public:
    using MapTool::MapTool;
    QString buttonName() const override { return QStringLiteral("cmdPencil"); }
    QString toolTip() const override { return QStringLiteral("Pencil: paint the brush where you press and drag (B)"); }
    QKeySequence key() const override { return QKeySequence(Qt::Key_B); }
    void drawIcon(QPainter& p) const override;
    bool press(const ToolEvent&) override { return false; }
    // A block brush shows its whole block under the pointer.
    void move(const ToolEvent& event) override { hover_ = event.cell; }
    void drawPreview(QImage& target, const QRect& area, int zoom) const override;
    QRect previewCells() const override;
    // The brush with its top-left on `cell`; what passes the map's edge is
    // left out. One step with the rest of the stroke at finishEdit.
    void paint(QPoint cell) const;

private:
    std::optional<QPoint> hover_;
};

} // namespace vorn
