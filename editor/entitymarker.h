#pragma once
#include <QWidget>

#include <functional>
#include <memory>

namespace vorn {

// What a marker asks of the window that owns it, shared by all of them.
struct MarkerHooks {
    std::function<bool(int index)> drawsSprite; // only an outline then
    std::function<bool(int index)> picked; // the outline's second colour
    std::function<QString(int index)> toolTip;
    std::function<bool()> passPresses; // Space held: the map beneath pans
};

// One entity marker: the 16 x 16 marker picture stretched without smoothing
// to the marker's size, transparent elsewhere. Tells its pointer events, in
// its own pixels, with its index; it knows nothing of the window.
class EntityMarker : public QWidget {
    Q_OBJECT
public:
    EntityMarker(std::shared_ptr<const MarkerHooks> hooks, int index, QWidget* parent);
    int index() const { return index_; }

    // The 16 x 16 marker picture (ARGB32, transparent background).
    static const QImage& Picture();

signals:
    // Buttons as the handlers take them (1 left, 2 right, 4 middle), Shift as 1.
    void pressed(int index, int button, int shift, int x, int y);
    void moved(int index, int buttons, int shift, int x, int y);
    void released(int index, int button, int shift, int x, int y);
    // The second press of a left double-click, instead of a press.
    void doubleClicked(int index);

protected:
    bool event(QEvent* event) override; // the tooltip names the entity
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::shared_ptr<const MarkerHooks> hooks_;
    int index_;
};

} // namespace vorn
