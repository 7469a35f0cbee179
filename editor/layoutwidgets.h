#pragma once
// The status bar strip and the splitter's hit area of the main window.
#include <QWidget>

class QLabel;
class frmVorn;

namespace vorn {

// picStatusbar: a plain strip with no persistent image; its paint handler
// draws a sunken frame around the position label.
class StatusBar : public QWidget {
public:
    explicit StatusBar(QWidget* parent);
    void setFramedLabel(const QLabel* label) { framed_ = label; }

    // Draws the four frame lines around the framed label.
    void picStatusbar_Paint(QPainter& painter) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QLabel* framed_ = nullptr;
};

// imgSplitter: an invisible hit area with the north-south sizing pointer.
// Any button drags; positions go to the window's splitter handlers in
// pixels below the hit area's top edge.
class SplitterHandle : public QWidget {
public:
    SplitterHandle(frmVorn* owner, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    frmVorn* owner_;
};

// The shift-key state as the handlers take it: 1 Shift, 2 Ctrl, 4 Alt.
int ShiftState(Qt::KeyboardModifiers modifiers);
// Mouse buttons as the handlers take them: 1 left, 2 right, 4 middle, summed.
int ButtonState(Qt::MouseButtons buttons);

} // namespace vorn
