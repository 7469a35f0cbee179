#include "mapview.h"

#include "layoutwidgets.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace vorn {

namespace {

struct PointerArgs {
    int shift, x, y;
};

// Positions round down, so a pointer just left of the surface is at -1.
PointerArgs Args(const QMouseEvent* event)
{
    return {ShiftState(event->modifiers()), int(std::floor(event->position().x())),
            int(std::floor(event->position().y()))};
}

// The same in picture pixels of a view `zoom` times their size.
PointerArgs Args(const QMouseEvent* event, int zoom)
{
    return {ShiftState(event->modifiers()), int(std::floor(event->position().x() / zoom)),
            int(std::floor(event->position().y() / zoom))};
}

} // namespace

MapView::MapView(Renderer render, QWidget* parent)
    : QWidget(parent)
    , render_(std::move(render))
{
    setMouseTracking(true);
    // Every exposed pixel is rendered, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MapView::paintEvent(QPaintEvent* event)
{
    const QRect area = event->rect() & rect();
    if (area.isEmpty())
        return;
    if (buffer_.size() != area.size())
        buffer_ = QImage(area.size(), QImage::Format_RGB32);
    render_(buffer_, area);
    QPainter painter(this);
    painter.drawImage(area.topLeft(), buffer_);
}

void MapView::mousePressEvent(QMouseEvent* event)
{
    const PointerArgs a = Args(event);
    emit pressed(ButtonState(event->button()), a.shift, a.x, a.y, event->globalPosition().toPoint());
}

void MapView::mouseMoveEvent(QMouseEvent* event)
{
    const PointerArgs a = Args(event);
    emit moved(ButtonState(event->buttons()), a.shift, a.x, a.y, event->globalPosition().toPoint());
}

void MapView::mouseReleaseEvent(QMouseEvent* event)
{
    const PointerArgs a = Args(event);
    emit released(ButtonState(event->button()), a.shift, a.x, a.y, event->globalPosition().toPoint());
}

void MapView::wheelEvent(QWheelEvent* event)
{
    event->accept();
    emit wheeled(event->angleDelta(), event->modifiers(), event->position().toPoint());
}

TilesetView::TilesetView(std::function<QImage()> picture, QWidget* parent)
    : QWidget(parent)
    , picture_(std::move(picture))
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TilesetView::setZoom(int zoom)
{
    zoom_ = std::max(1, zoom);
    update();
}

void TilesetView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    const QImage picture = picture_ ? picture_() : QImage();
    if (picture.isNull())
        return;
    if (zoom_ == 1)
        painter.drawImage(QPoint(0, 0), picture);
    else // whole pixels, never smoothed, so the tiles stay sharp
        painter.drawImage(QRect(QPoint(0, 0), picture.size() * zoom_), picture);
}

void TilesetView::mousePressEvent(QMouseEvent* event)
{
    const PointerArgs a = Args(event, zoom_);
    emit pressed(ButtonState(event->button()), a.shift, a.x, a.y);
}

void TilesetView::mouseMoveEvent(QMouseEvent* event)
{
    const PointerArgs a = Args(event, zoom_);
    emit moved(ButtonState(event->buttons()), a.shift, a.x, a.y);
}

void TilesetView::mouseReleaseEvent(QMouseEvent* event)
{
    const PointerArgs a = Args(event, zoom_);
    emit released(ButtonState(event->button()), a.shift, a.x, a.y);
}

void TilesetView::wheelEvent(QWheelEvent* event)
{
    const QPoint angle = event->angleDelta();
    const bool across = (event->modifiers() & Qt::ShiftModifier) || (angle.y() == 0 && angle.x() != 0);
    if (!(event->modifiers() & Qt::ControlModifier) && !(across && zoom_ > 1)) {
        event->ignore();
        return;
    }
    event->accept();
    emit wheeled(angle, event->modifiers());
}

} // namespace vorn
