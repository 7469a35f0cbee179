#pragma once
// A started main window on a fresh sample game, with its messages caught
// and its questions answered as the designed window, which asks none, would
// act: unsaved edits discarded, files overwritten.
#include "frmVorn.h"
#include "stagedocument.h"
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
        window->askHook = [this](const QString& text, const QStringList& buttons) {
            questions << text;
            if (!answers.isEmpty())
                return answers.takeFirst();
            for (const char* designed : {"Discard", "Overwrite"})
                if (buttons.contains(QLatin1String(designed)))
                    return QString::fromLatin1(designed);
            return buttons.first();
        };
        window->SetRecoveryFolder(game.recoveryDir());
        started = window->Form_Load();
    }
    frmVorn* operator->() { return window.get(); }

    TestGame game;
    std::unique_ptr<frmVorn> window; // destroyed before the game folder
    QStringList messages;
    QStringList questions; // every question asked, in order
    QStringList answers; // the captions to answer the next questions with
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
