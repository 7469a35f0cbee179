#pragma once
// Drives a started main window on a fresh sample game with the pointer.
#include "openwindow.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

// QTest's moves do not carry held buttons reliably, so events are sent as
// they are: type, button that changed, buttons held.
inline void Send(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButtons held,
                 Qt::MouseButton button = Qt::NoButton, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, held, modifiers);
    QApplication::sendEvent(target, &event);
}
