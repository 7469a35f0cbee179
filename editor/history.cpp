#include "frmVorn.h"

#include "edithistory.h"
#include "undocommands.h"

#include <QApplication>
#include <QShortcut>

// The undo history of the open stage, driven from the keyboard only.
// Handlers note what they change here; the steps themselves are in
// undocommands.h.

void frmVorn::InstallHistoryKeys()
{
    history_ = std::make_unique<vorn::EditHistory>();
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
    FinishPendingEdits();
    history_->Undo();
}

void frmVorn::RedoEdit()
{
    if (loading_ || saving_ || QApplication::activeModalWidget())
        return;
    FinishPendingEdits();
    history_->Redo();
}

// Edits under way are dropped too: their old values are of the stage before.
void frmVorn::ClearHistory()
{
    stroke_.reset();
    drag_.reset();
    history_->Clear();
}

void frmVorn::RecordCell(int x, int y, quint8 before, quint8 after)
{
    if (!stroke_)
        stroke_ = std::make_unique<vorn::StrokeCells>();
    stroke_->cell.push_back(quint32(y * vorn::kGridSide + x));
    stroke_->before.push_back(before);
    stroke_->after.push_back(after);
}

void frmVorn::RecordDrag(int index, QPoint before, QPoint after)
{
    if (drag_ && drag_->index != index)
        FinishPendingEdits();
    if (!drag_) {
        // The record as the drag found it; only its place changes until the
        // drag ends.
        vorn::EntityRecord start = EntityRecords[index];
        start.X = qint16(before.x());
        start.Y = qint16(before.y());
        drag_ = PendingDrag{index, start, after};
    } else {
        drag_->after = after;
    }
}

void frmVorn::RecordEntityEdit(int index, const vorn::EntityRecord& before)
{
    FinishPendingEdits();
    if (EntityRecords[index] != before)
        history_->Push(new vorn::EditEntityCommand(*this, index, before, EntityRecords[index]));
}

void frmVorn::RecordEntityCount(qint16 before)
{
    FinishPendingEdits();
    if (EntityCount != before)
        history_->Push(new vorn::EntityCountCommand(*this, before, EntityCount));
}

// A stroke or drag that changed nothing leaves no step.
void frmVorn::FinishPendingEdits()
{
    if (stroke_) {
        // The stroke is done growing: give back what the vectors reserved.
        stroke_->cell.shrink_to_fit();
        stroke_->before.shrink_to_fit();
        stroke_->after.shrink_to_fit();
        history_->Push(new vorn::PaintStrokeCommand(*this, std::move(*stroke_)));
        stroke_.reset();
    }
    if (drag_) {
        const PendingDrag drag = *drag_;
        drag_.reset();
        vorn::EntityRecord end = drag.before;
        end.X = qint16(drag.after.x());
        end.Y = qint16(drag.after.y());
        if (end != drag.before)
            history_->Push(new vorn::EditEntityCommand(*this, drag.index, drag.before, end));
    }
}
