#include "stagecommands.h"

#include "stagedocument.h"

namespace vorn {

void EditCommand::undo() { Apply(false); }

void EditCommand::redo()
{
    if (done_) {
        done_ = false; // the push: the edit has already been made
        return;
    }
    Apply(true);
}

PaintStrokeCommand::PaintStrokeCommand(StageDocument& stage, StrokeCells cells)
    : PaintStrokeCommand(stage, std::make_shared<const StrokeCells>(std::move(cells)))
{
}

PaintStrokeCommand::PaintStrokeCommand(StageDocument& stage, std::shared_ptr<const StrokeCells> cells)
    : stage_(stage)
    , cells_(std::move(cells))
{
}

namespace {

qsizetype CellBytes(const StrokeCells& c)
{
    return qsizetype(c.cell.capacity() * sizeof(quint32) + c.before.capacity() + c.after.capacity());
}

} // namespace

qsizetype PaintStrokeCommand::Bytes() const { return kOverhead + CellBytes(*cells_); }

EditCommand* PaintStrokeCommand::Copy() const { return new PaintStrokeCommand(stage_, cells_); }

void PaintStrokeCommand::Apply(bool forward) { stage_.applyCells(*cells_, forward); }

EditEntityCommand::EditEntityCommand(StageDocument& stage, int index, const EntityRecord& before,
                                     const EntityRecord& after)
    : stage_(stage)
    , index_(index)
    , before_(before)
    , after_(after)
{
}

EditCommand* EditEntityCommand::Copy() const { return new EditEntityCommand(stage_, index_, before_, after_); }

void EditEntityCommand::Apply(bool forward) { stage_.applyRecord(index_, forward ? after_ : before_); }

EntityCountCommand::EntityCountCommand(StageDocument& stage, qint16 before, qint16 after)
    : stage_(stage)
    , before_(before)
    , after_(after)
{
}

EditCommand* EntityCountCommand::Copy() const { return new EntityCountCommand(stage_, before_, after_); }

void EntityCountCommand::Apply(bool forward) { stage_.applyEntityCount(forward ? after_ : before_); }

TileTypeCommand::TileTypeCommand(StageDocument& stage, int tile, quint8 before, quint8 after)
    : stage_(stage)
    , tile_(tile)
    , before_(before)
    , after_(after)
{
}

EditCommand* TileTypeCommand::Copy() const { return new TileTypeCommand(stage_, tile_, before_, after_); }

void TileTypeCommand::Apply(bool forward) { stage_.applyTileType(tile_, forward ? after_ : before_); }

CellsAndEntitiesCommand::CellsAndEntitiesCommand(StageDocument& stage, StrokeCells cells, const EntityList& before,
                                                 const EntityList& after)
    : CellsAndEntitiesCommand(stage, std::make_shared<const Data>(Data{std::move(cells), before, after}))
{
}

CellsAndEntitiesCommand::CellsAndEntitiesCommand(StageDocument& stage, std::shared_ptr<const Data> data)
    : stage_(stage)
    , data_(std::move(data))
{
}

qsizetype CellsAndEntitiesCommand::Bytes() const
{
    return kOverhead + qsizetype(sizeof(Data)) + CellBytes(data_->cells);
}

EditCommand* CellsAndEntitiesCommand::Copy() const { return new CellsAndEntitiesCommand(stage_, data_); }

void CellsAndEntitiesCommand::Apply(bool forward)
{
    stage_.applyCellsAndEntities(data_->cells, forward ? data_->after : data_->before, forward);
}

ReplaceStageCommand::ReplaceStageCommand(StageDocument& stage, const StageContent& before, const StageContent& after,
                                         StrokeCells cells)
    : ReplaceStageCommand(stage, std::make_shared<const Data>(Data{before, after, std::move(cells)}))
{
}

ReplaceStageCommand::ReplaceStageCommand(StageDocument& stage, std::shared_ptr<const Data> data)
    : stage_(stage)
    , data_(std::move(data))
{
}

qsizetype ReplaceStageCommand::Bytes() const { return kOverhead + qsizetype(sizeof(Data)) + CellBytes(data_->cells); }

EditCommand* ReplaceStageCommand::Copy() const { return new ReplaceStageCommand(stage_, data_); }

void ReplaceStageCommand::Apply(bool forward)
{
    stage_.applyContent(forward ? data_->after : data_->before, data_->cells, forward);
}

} // namespace vorn
