#include "mapview.h"

#include "frmVorn.h"
#include "layoutwidgets.h"
#include "stagedocument.h"
#include "tiletypedrawing.h"

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

MapView::MapView(frmVorn* owner, QWidget* parent) : QWidget(parent), owner_(owner)
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
    owner_->RenderMap(buffer_, area);
    QPainter painter(this);
    painter.drawImage(area.topLeft(), buffer_);
}

void MapView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && owner_->BeginPan(event->globalPosition().toPoint()))
        return;
    const PointerArgs a = Args(event);
    owner_->picMap_MouseDown(ButtonState(event->button()), a.shift, a.x, a.y);
}

void MapView::mouseMoveEvent(QMouseEvent* event)
{
    if (owner_->PanTo(event->globalPosition().toPoint()))
        return;
    const PointerArgs a = Args(event);
    owner_->picMap_MouseMove(ButtonState(event->buttons()), a.shift, a.x, a.y);
}

void MapView::mouseReleaseEvent(QMouseEvent* event)
{
    if (owner_->EndPan())
        return;
    const PointerArgs a = Args(event);
    owner_->picMap_MouseUp(ButtonState(event->button()), a.shift, a.x, a.y);
}

void MapView::wheelEvent(QWheelEvent* event)
{
    event->accept();
    owner_->picMap_Wheel(event->angleDelta(), event->modifiers(), event->position().toPoint());
}

TilesetView::TilesetView(frmVorn* owner, QWidget* parent) : QWidget(parent), owner_(owner)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TilesetView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    const QImage& tileset = owner_->stage().tileset();
    if (tileset.isNull())
        return;
    if (owner_->ShowsTileTypes()) {
        QImage marked = tileset.convertToFormat(QImage::Format_RGB32);
        DrawTileTypesOnTileset(marked, owner_->stage().tileTypes());
        painter.drawImage(QPoint(0, 0), marked);
    } else {
        painter.drawImage(QPoint(0, 0), tileset);
    }
}

void TilesetView::mousePressEvent(QMouseEvent* event)
{
    const PointerArgs a = Args(event);
    owner_->picTileset_MouseDown(ButtonState(event->button()), a.shift, a.x, a.y);
}

void TilesetView::mouseMoveEvent(QMouseEvent* event)
{
    const PointerArgs a = Args(event);
    owner_->picTileset_MouseMove(ButtonState(event->buttons()), a.shift, a.x, a.y);
}

void TilesetView::mouseReleaseEvent(QMouseEvent* event)
{
    const PointerArgs a = Args(event);
    owner_->picTileset_MouseUp(ButtonState(event->button()), a.shift, a.x, a.y);
}

} // namespace vorn
