#include "entitymarker.h"

#include "layoutwidgets.h"
#include "markerdrawing.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace vorn {

EntityMarker::EntityMarker(std::shared_ptr<const MarkerHooks> hooks, int index, QWidget* parent)
    : QWidget(parent)
    , hooks_(std::move(hooks))
    , index_(index)
{
    // Pointing at a marker selects its entity, so moves without a button
    // must arrive too.
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
    resize(16, 16);
}

const QImage& EntityMarker::Picture() { return MarkerPicture(); }

void EntityMarker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (hooks_->drawsSprite && hooks_->drawsSprite(index_)) {
        // The sprite beneath shows through; the picked entity stands out.
        const bool picked = hooks_->picked && hooks_->picked(index_);
        PaintMarkerOutline(painter, rect(), picked ? kSelectedOutline : kOutline);
    } else {
        PaintMarker(painter, rect());
    }
}

bool EntityMarker::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const QString tip = hooks_->toolTip ? hooks_->toolTip(index_) : QString();
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
    if (hooks_->passPresses && hooks_->passPresses()) {
        event->ignore(); // the map beneath pans
        return;
    }
    event->accept();
    emit pressed(index_, ButtonState(event->button()), ShiftState(event->modifiers()), int(event->position().x()),
                 int(event->position().y()));
}

// A left double-click opens the entity its first press picked; its second
// press must not pick the next entity of a shared cell on the way.
void EntityMarker::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || (hooks_->passPresses && hooks_->passPresses())) {
        mousePressEvent(event);
        return;
    }
    event->accept();
    emit doubleClicked(index_);
}

void EntityMarker::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit moved(index_, ButtonState(event->buttons()), ShiftState(event->modifiers()), int(event->position().x()),
               int(event->position().y()));
}

void EntityMarker::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    emit released(index_, ButtonState(event->button()), ShiftState(event->modifiers()), int(event->position().x()),
                  int(event->position().y()));
}

} // namespace vorn
