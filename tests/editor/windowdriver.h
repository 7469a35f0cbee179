#pragma once
// Drives a started main window on a fresh sample game, the way a user
// would: pointer events at pixel positions of its surfaces and markers.
#include "frmVorn.h"
#include "testgame.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QStringList>
#include <QTest>
#include <memory>

struct StartedWindow {
    StartedWindow()
    {
        window = std::make_unique<frmVorn>(game.gameDir(), game.programDir());
        window->messageHook = [this](const QString& text, QMessageBox::Icon) { messages << text; };
        started = window->Form_Load();
    }
    frmVorn& operator*() { return *window; }
    frmVorn* operator->() { return window.get(); }

    TestGame game;
    std::unique_ptr<frmVorn> window; // destroyed before the game folder
    QStringList messages;
    bool started = false;
};

// QTest's moves do not carry held buttons reliably, so moves are sent as
// events of their own.
inline void SendMove(QWidget* target, QPoint pos, Qt::MouseButtons held)
{
    QMouseEvent event(QEvent::MouseMove, QPointF(pos), target->mapToGlobal(QPointF(pos)),
                      Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

inline void SendPress(QWidget* target, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(pos), target->mapToGlobal(QPointF(pos)),
                      button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

inline void SendRelease(QWidget* target, QPoint pos, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(QEvent::MouseButtonRelease, QPointF(pos),
                      target->mapToGlobal(QPointF(pos)), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}
