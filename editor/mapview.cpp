#include "mapview.h"

#include "layoutwidgets.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
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

void TilesetView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    const QImage picture = picture_ ? picture_() : QImage();
    if (!picture.isNull())
        painter.drawImage(QPoint(0, 0), picture);
}

void TilesetView::mousePressEvent(QMouseEvent* event)
{
    const PointerArgs a = Args(event);
    emit pressed(ButtonState(event->button()), a.shift, a.x, a.y);
}

void TilesetView::mouseMoveEvent(QMouseEvent* event)
{
    const PointerArgs a = Args(event);
    emit moved(ButtonState(event->buttons()), a.shift, a.x, a.y);
}

void TilesetView::mouseReleaseEvent(QMouseEvent* event)
{
    const PointerArgs a = Args(event);
    emit released(ButtonState(event->button()), a.shift, a.x, a.y);
}

} // namespace vorn
