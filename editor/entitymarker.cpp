#include "entitymarker.h"

#include "frmVorn.h"
#include "layoutwidgets.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace vorn {

namespace {

// K black, W white, . transparent; top row first.
constexpr const char* kMarkerRows[16] = {
    "..K.K.K.K.K.K.K.",
    "...............K",
    "K.....KKKK......",
    "......KWWK.....K",
    "K.....KWWK......",
    "......KWWK.....K",
    "K.....KWWK......",
    "......KWK......K",
    "K.....KWK.......",
    "......KWK......K",
    "K....KKKK.......",
    ".....KWWK......K",
    "K....KWWK.......",
    ".....KKKK......K",
    "K...............",
    ".K.K.K.K.K.K.K.K",
};

QImage BuildPicture()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            QRgb pixel = qRgba(0, 0, 0, 0);
            if (kMarkerRows[y][x] == 'K')
                pixel = qRgba(0, 0, 0, 255);
            else if (kMarkerRows[y][x] == 'W')
                pixel = qRgba(255, 255, 255, 255);
            image.setPixel(x, y, pixel);
        }
    }
    return image;
}

} // namespace

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
    static const QImage image = BuildPicture();
    return image;
}

void EntityMarker::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Pixel art: every source pixel becomes a solid block at any zoom.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), Picture());
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
