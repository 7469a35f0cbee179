#pragma once
// The two picture surfaces the user draws with: the map (picMap) and the
// tileset palette (picTileset). Both tell the pointer in pixels of the
// surface, moves included when no button is held, and know nothing of the
// window: it connects their signals to its handlers.
#include <QImage>
#include <QWidget>

#include <functional>

namespace vorn {

// picMap. Holds no image of its own: each paint renders only the exposed
// part through `render`, so the cost follows the screen and not the map's
// size at the zoom.
class MapView : public QWidget {
    Q_OBJECT
public:
    using Renderer = std::function<void(QImage& target, const QRect& area)>;
    MapView(Renderer render, QWidget* parent);

signals:
    // Buttons as the handlers take them (1 left, 2 right, 4 middle), Shift
    // as 1; `global` is the pointer on the screen.
    void pressed(int button, int shift, int x, int y, QPoint global);
    void moved(int buttons, int shift, int x, int y, QPoint global);
    void released(int button, int shift, int x, int y, QPoint global);
    void wheeled(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPoint pos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    Renderer render_;
    QImage buffer_; // reused between paints of the same size
};

// picTileset: the picture `picture` gives at its own size on black.
class TilesetView : public QWidget {
    Q_OBJECT
public:
    TilesetView(std::function<QImage()> picture, QWidget* parent);
    // Pixels a picture pixel; positions are signalled in picture pixels.
    void setZoom(int zoom);
    int zoom() const { return zoom_; }

signals:
    void pressed(int button, int shift, int x, int y);
    void moved(int buttons, int shift, int x, int y);
    void released(int button, int shift, int x, int y);
    // Only Ctrl+wheel, and a wheel across while zoomed: any other wheel
    // goes on to the window as it always did.
    void wheeled(QPoint angle, Qt::KeyboardModifiers modifiers);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    std::function<QImage()> picture_;
    int zoom_ = 1;
};

} // namespace vorn
