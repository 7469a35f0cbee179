#include "undocommands.h"

#include "frmVorn.h"

// Every step ends with the markers laid out again from the records, which
// also brings the selector's maximum (and a selection beyond it) down to
// the count.

namespace vorn {

void EditCommand::undo() { Apply(false); }

void EditCommand::redo()
{
    if (done_) {
        done_ = false; // the push: the handler has already made the edit
        return;
    }
    Apply(true);
}

PaintStrokeCommand::PaintStrokeCommand(frmVorn& window, StrokeCells cells)
    : PaintStrokeCommand(window, std::make_shared<const StrokeCells>(std::move(cells)))
{
}

PaintStrokeCommand::PaintStrokeCommand(frmVorn& window, std::shared_ptr<const StrokeCells> cells)
    : window_(window), cells_(std::move(cells))
{
}

qsizetype PaintStrokeCommand::Bytes() const
{
    const StrokeCells& c = *cells_;
    return kOverhead + qsizetype(c.cell.capacity() * sizeof(quint32) + c.before.capacity() +
                                 c.after.capacity());
}

EditCommand* PaintStrokeCommand::Copy() const { return new PaintStrokeCommand(window_, cells_); }

// Backwards on undo, so that a cell written twice ends on its first value.
void PaintStrokeCommand::Apply(bool forward)
{
    const StrokeCells& c = *cells_;
    const qsizetype n = qsizetype(c.cell.size());
    for (qsizetype k = 0; k < n; ++k) {
        const qsizetype i = forward ? k : n - 1 - k;
        const quint32 cell = c.cell[i];
        window_.TileGrid.at(int(cell % kGridSide), int(cell / kGridSide)) = forward ? c.after[i] : c.before[i];
    }
    window_.DrawCells(c.cell);
    window_.PositionEntities();
}

EditEntityCommand::EditEntityCommand(frmVorn& window, int index, const EntityRecord& before,
                                     const EntityRecord& after)
    : window_(window), index_(index), before_(before), after_(after)
{
}

EditCommand* EditEntityCommand::Copy() const
{
    return new EditEntityCommand(window_, index_, before_, after_);
}

void EditEntityCommand::Apply(bool forward)
{
    window_.EntityRecords[index_] = forward ? after_ : before_;
    window_.PositionEntities();
}

EntityCountCommand::EntityCountCommand(frmVorn& window, qint16 before, qint16 after)
    : window_(window), before_(before), after_(after)
{
}

EditCommand* EntityCountCommand::Copy() const { return new EntityCountCommand(window_, before_, after_); }

void EntityCountCommand::Apply(bool forward)
{
    window_.EntityCount = forward ? after_ : before_;
    window_.PositionEntities();
}

} // namespace vorn
