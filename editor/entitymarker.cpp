#include "entitymarker.h"
#include "frmVorn.h"
#include <QImage>
// (stub: to be written)
namespace vorn {
EntityMarker::EntityMarker(frmVorn* owner, int index, QWidget* parent) : QWidget(parent), owner_(owner), index_(index) {}
const QImage& EntityMarker::Picture() { static QImage image; return image; }
void EntityMarker::paintEvent(QPaintEvent*) {}
void EntityMarker::mousePressEvent(QMouseEvent*) {}
void EntityMarker::mouseMoveEvent(QMouseEvent*) {}
void EntityMarker::mouseReleaseEvent(QMouseEvent*) {}
}
