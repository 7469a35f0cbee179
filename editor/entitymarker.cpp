#include "entitymarker.h"

#include "frmVorn.h"
#include "layoutwidgets.h"
#include "markerdrawing.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

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
    if (owner_->DrawsSprite(index_)) {
        // The sprite beneath shows through; the selected entity stands out.
        const bool selected = owner_->SelectedEntity() == index_;
        PaintMarkerOutline(painter, rect(), selected ? kSelectedOutline : kOutline);
    } else {
        PaintMarker(painter, rect());
    }
}

bool EntityMarker::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const QString tip = owner_->EntityToolTip(index_);
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}

// Offsets are truncated toward zero to whole pixels. The events are
// accepted here so that the map beneath never paints or picks through a
// marker.
void EntityMarker::mousePressEvent(QMouseEvent* event)
{
    if (owner_->SpaceHeld()) {
        event->ignore(); // the map beneath pans
        return;
    }
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
