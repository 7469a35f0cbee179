#include "frmVorn.h"

#include "stagedocument.h"

#include <QApplication>
#include <QShortcut>

// The undo history of the open stage, driven from the keyboard only. The
// steps and the history are the document's.

void frmVorn::InstallHistoryKeys()
{
    // Shortcuts of the window reach it whatever child has the focus (none
    // of them takes these keys for itself), and not while a dialog is the
    // active window.
    const auto bind = [this](const QKeySequence& keys, void (frmVorn::*step)()) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, step);
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_Z), &frmVorn::UndoEdit);
    bind(QKeySequence(Qt::CTRL | Qt::Key_Y), &frmVorn::RedoEdit);
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &frmVorn::RedoEdit);
}

void frmVorn::UndoEdit()
{
    // A load or save processes events between its files; a step taken back
    // then would land half in the files.
    if (loading_ || saving_ || QApplication::activeModalWidget())
        return;
    stage_->undo();
}

void frmVorn::RedoEdit()
{
    if (loading_ || saving_ || QApplication::activeModalWidget())
        return;
    stage_->redo();
}

const vorn::EditHistory& frmVorn::History() const { return stage_->history(); }
