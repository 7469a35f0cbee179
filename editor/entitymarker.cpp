#include "entitymarker.h"

#include "frmVorn.h"
#include "layoutwidgets.h"
#include "markerdrawing.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace vorn {

EntityMarker::EntityMarker(frmVorn* owner, int index, QWidget* parent)
    : QWidget(parent), owner_(owner), index_(index)
{
    // Pointing at a marker selects its entity, so moves without a button
    // must arrive too.
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(16, 16);
}

const QImage& EntityMarker::Picture()
{
    return MarkerPicture();
}

void EntityMarker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintMarker(painter, rect());
}

// Offsets are truncated toward zero to whole pixels. The events are
// accepted here so that the map beneath never paints or picks through a
// marker.
void EntityMarker::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    owner_->entity_MouseDown(index_, ButtonState(event->button()), ShiftState(event->modifiers()),
                             int(event->position().x()), int(event->position().y()));
}

void EntityMarker::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    owner_->entity_MouseMove(index_, ButtonState(event->buttons()), ShiftState(event->modifiers()),
                             int(event->position().x()), int(event->position().y()));
}

void EntityMarker::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    owner_->entity_MouseUp(index_, ButtonState(event->button()), ShiftState(event->modifiers()),
                           int(event->position().x()), int(event->position().y()));
}

} // namespace vorn
