#pragma once
// The edits of the open stage that Ctrl+Z takes back, one class per kind.
// A command is made after its edit has been done by the handler, so the
// redo() that QUndoStack::push runs at once does nothing. Each stores only
// what it changed, before and after, and puts those values back exactly.
#include "entityfile.h"

#include <QPoint>
#include <QUndoCommand>
#include <memory>
#include <vector>

class frmVorn;

namespace vorn {

class EditCommand : public QUndoCommand {
public:
    void undo() final;
    void redo() final;
    // What the step holds in memory, counted against the history's cap.
    virtual qsizetype Bytes() const = 0;
    // A step with the same data, already done: the history copies the steps
    // it keeps when it drops its oldest.
    virtual EditCommand* Copy() const = 0;

protected:
    EditCommand() = default;
    virtual void Apply(bool forward) = 0;
    // The command object, Qt's private part and the allocator's share.
    static constexpr qsizetype kOverhead = 256;

private:
    bool done_ = true;
};

// Cells changed by one stroke, in the order they were written; a cell
// written twice with different tiles appears twice.
struct StrokeCells {
    std::vector<quint32> cell; // y * kGridSide + x
    std::vector<quint8> before;
    std::vector<quint8> after;
};

class PaintStrokeCommand : public EditCommand {
public:
    PaintStrokeCommand(frmVorn& window, StrokeCells cells);
    qsizetype Bytes() const override;
    EditCommand* Copy() const override;
    qsizetype CellCount() const { return qsizetype(cells_->cell.size()); }

private:
    PaintStrokeCommand(frmVorn& window, std::shared_ptr<const StrokeCells> cells);
    void Apply(bool forward) override;
    frmVorn& window_;
    std::shared_ptr<const StrokeCells> cells_; // shared with copies, never changed
};

// A commit of the entity properties dialog, or a marker drag: all six
// fields of one record.
class EditEntityCommand : public EditCommand {
public:
    EditEntityCommand(frmVorn& window, int index, const EntityRecord& before, const EntityRecord& after);
    qsizetype Bytes() const override { return kOverhead; }
    EditCommand* Copy() const override;

private:
    void Apply(bool forward) override;
    frmVorn& window_;
    int index_;
    EntityRecord before_, after_;
};

// "Change number of entities": EntityCount alone; the records stay.
class EntityCountCommand : public EditCommand {
public:
    EntityCountCommand(frmVorn& window, qint16 before, qint16 after);
    qsizetype Bytes() const override { return kOverhead; }
    EditCommand* Copy() const override;

private:
    void Apply(bool forward) override;
    frmVorn& window_;
    qint16 before_, after_;
};

} // namespace vorn
