#pragma once
// A started main window on a fresh sample game, with its messages caught.
#include "frmVorn.h"
#include "testgame.h"

#include <QFile>
#include <QStringList>
#include <functional>
#include <memory>

struct OpenWindow {
    // `prepare` may change the game's files before the window starts.
    explicit OpenWindow(const std::function<void(TestGame&)>& prepare = {})
    {
        if (prepare)
            prepare(game);
        window = std::make_unique<frmVorn>(game.gameDir(), game.programDir());
        window->messageHook = [this](const QString& text, QMessageBox::Icon) { messages << text; };
        started = window->Form_Load();
    }
    frmVorn* operator->() { return window.get(); }

    TestGame game;
    std::unique_ptr<frmVorn> window; // destroyed before the game folder
    QStringList messages;
    bool started = false;
};

inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
