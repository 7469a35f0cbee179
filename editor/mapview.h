#pragma once
// The two picture surfaces the user draws with: the map (picMap) and the
// tileset palette (picTileset). Both forward the pointer to the window's
// handlers in pixels of the surface, moves included when no button is held.
#include <QImage>
#include <QWidget>

class frmVorn;

namespace vorn {

// picMap. Holds no image of its own: each paint renders only the exposed
// part straight from the tileset, its mask and the backdrop, so the cost
// follows the screen and not the map's size at the zoom.
class MapView : public QWidget {
public:
    MapView(frmVorn* owner, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    frmVorn* owner_;
    QImage buffer_; // reused between paints of the same size
};

// picTileset: the tileset picture at its own size on black.
class TilesetView : public QWidget {
public:
    TilesetView(frmVorn* owner, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    frmVorn* owner_;
};

} // namespace vorn
