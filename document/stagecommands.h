#pragma once
// The edits of the open stage that undo takes back, one class per kind.
// A command is made after its edit has been done, so the redo() that
// QUndoStack::push runs at once does nothing. Each stores only what it
// changed, before and after, and puts those values back exactly, through
// the document, whose signals redraw the views.
#include "entityfile.h"
#include "mapfile.h"
#include "tiletypes.h"

#include <QUndoCommand>
#include <memory>
#include <vector>

namespace vorn {

class StageDocument;

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
    PaintStrokeCommand(StageDocument& stage, StrokeCells cells);
    qsizetype Bytes() const override;
    EditCommand* Copy() const override;
    qsizetype CellCount() const { return qsizetype(cells_->cell.size()); }

private:
    PaintStrokeCommand(StageDocument& stage, std::shared_ptr<const StrokeCells> cells);
    void Apply(bool forward) override;
    StageDocument& stage_;
    std::shared_ptr<const StrokeCells> cells_; // shared with copies, never changed
};

// A commit of the entity properties dialog, or a marker drag: all six
// fields of one record.
class EditEntityCommand : public EditCommand {
public:
    EditEntityCommand(StageDocument& stage, int index, const EntityRecord& before, const EntityRecord& after);
    qsizetype Bytes() const override { return kOverhead; }
    EditCommand* Copy() const override;

private:
    void Apply(bool forward) override;
    StageDocument& stage_;
    int index_;
    EntityRecord before_, after_;
};

// "Change number of entities": the count alone; the records stay.
class EntityCountCommand : public EditCommand {
public:
    EntityCountCommand(StageDocument& stage, qint16 before, qint16 after);
    qsizetype Bytes() const override { return kOverhead; }
    EditCommand* Copy() const override;

private:
    void Apply(bool forward) override;
    StageDocument& stage_;
    qint16 before_, after_;
};

// One tile's type in the tileset's type file.
class TileTypeCommand : public EditCommand {
public:
    TileTypeCommand(StageDocument& stage, int tile, quint8 before, quint8 after);
    qsizetype Bytes() const override { return kOverhead; }
    EditCommand* Copy() const override;

private:
    void Apply(bool forward) override;
    StageDocument& stage_;
    int tile_;
    quint8 before_, after_;
};

// The whole map and every entity at once (a recovered stage put back): the
// size, the cells that differ, the count and all the records.
struct StageContent {
    qint16 width = 0, height = 0;
    qint16 entityCount = 0;
    EntityRecords records{};
    TileTypes tileTypes{};
};

// The entity list as a step finds or leaves it: the count and every
// record, those beyond the count too, so that undo puts back exactly what
// a removal moved down or an insertion wrote over.
struct EntityList {
    qint16 count = 0;
    EntityRecords records{};
};

// Cells and the entity list changed together: a paste, a clear that takes
// the entities inside, an entity put in or taken out.
class CellsAndEntitiesCommand : public EditCommand {
public:
    CellsAndEntitiesCommand(StageDocument& stage, StrokeCells cells, const EntityList& before, const EntityList& after);
    qsizetype Bytes() const override;
    EditCommand* Copy() const override;

private:
    struct Data {
        StrokeCells cells;
        EntityList before, after;
    };
    CellsAndEntitiesCommand(StageDocument& stage, std::shared_ptr<const Data> data);
    void Apply(bool forward) override;
    StageDocument& stage_;
    std::shared_ptr<const Data> data_;
};

class ReplaceStageCommand : public EditCommand {
public:
    ReplaceStageCommand(StageDocument& stage, const StageContent& before, const StageContent& after, StrokeCells cells);
    qsizetype Bytes() const override;
    EditCommand* Copy() const override;

private:
    struct Data {
        StageContent before, after;
        StrokeCells cells;
    };
    ReplaceStageCommand(StageDocument& stage, std::shared_ptr<const Data> data);
    void Apply(bool forward) override;
    StageDocument& stage_;
    std::shared_ptr<const Data> data_;
};

} // namespace vorn
