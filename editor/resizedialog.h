#pragma once
// "Resize map": a new width and height and the anchor, a 3 x 3 grid of
// buttons as image editors have; the anchor's edges stay where they are.
#include <QDialog>

class QSpinBox;
class QToolButton;

class ResizeDialog : public QDialog {
    Q_OBJECT
public:
    ResizeDialog(int width, int height, QWidget* parent = nullptr);
    int mapWidth() const;
    int mapHeight() const;
    int anchorX() const { return anchor_ % 3; } // 0 left, 1 centre, 2 right
    int anchorY() const { return anchor_ / 3; } // 0 top, 1 centre, 2 bottom
    void setAnchor(int x, int y);

private:
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QToolButton* anchors_[9] = {};
    int anchor_ = 0; // the top-left: the designed resize
};
