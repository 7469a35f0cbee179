#pragma once
// Drives a started main window on a fresh sample game with the pointer.
#include "frmVorn.h"
#include "testgame.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTest>
#include <memory>

struct StartedWindow {
    StartedWindow() : window(std::make_unique<frmVorn>(game.gameDir(), game.programDir()))
    {
        window->messageHook = [this](const QString& text, QMessageBox::Icon) { messages << text; };
        started = window->Form_Load();
    }
    frmVorn* operator->() { return window.get(); }

    TestGame game;
    std::unique_ptr<frmVorn> window; // destroyed before the game folder
    QStringList messages;
    bool started = false;
};

// QTest's moves do not carry held buttons reliably, so events are sent as
// they are: type, button that changed, buttons held.
inline void Send(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButtons held,
                 Qt::MouseButton button = Qt::NoButton)
{
    QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
