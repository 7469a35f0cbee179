#include "layoutwidgets.h"

#include "frmVorn.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace vorn {

namespace {
int Floor(qreal v) { return int(std::floor(v)); }
} // namespace

int ShiftState(Qt::KeyboardModifiers modifiers)
{
    int state = 0;
    if (modifiers & Qt::ShiftModifier)
        state |= 1;
    if (modifiers & Qt::ControlModifier)
        state |= 2;
    if (modifiers & Qt::AltModifier)
        state |= 4;
    return state;
}

StatusBar::StatusBar(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
}

void StatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    picStatusbar_Paint(painter);
}

void StatusBar::picStatusbar_Paint(QPainter& painter) const
{
    if (!framed_)
        return;
    const QRect label = framed_->geometry();
    const int l = label.left() - 8;
    const int t = label.top() - 1;
    const int r = label.left() + label.width();
    const int b = label.top() + label.height();
    const QPalette& pal = palette();
    painter.setPen(pal.color(QPalette::Dark)); // button shadow
    painter.drawLine(l, t, l, b);
    painter.drawLine(l, t, r, t);
    painter.setPen(pal.color(QPalette::Light)); // 3-D highlight
    painter.drawLine(r, t, r, b);
    painter.drawLine(l, b, r, b);
}

SplitterHandle::SplitterHandle(frmVorn* owner, QWidget* parent)
    : QWidget(parent)
    , owner_(owner)
{
    setCursor(Qt::SizeVerCursor);
}

void SplitterHandle::mousePressEvent(QMouseEvent* event)
{
    owner_->imgSplitter_MouseDown(ButtonState(event->button()), ShiftState(event->modifiers()),
                                  Floor(event->position().x()), Floor(event->position().y()));
}

void SplitterHandle::mouseMoveEvent(QMouseEvent* event)
{
    owner_->imgSplitter_MouseMove(ButtonState(event->buttons()), ShiftState(event->modifiers()),
                                  Floor(event->position().x()), Floor(event->position().y()));
}

void SplitterHandle::mouseReleaseEvent(QMouseEvent* event)
{
    owner_->imgSplitter_MouseUp(ButtonState(event->button()), ShiftState(event->modifiers()),
                                Floor(event->position().x()), Floor(event->position().y()));
}

} // namespace vorn
