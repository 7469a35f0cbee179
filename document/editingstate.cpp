#include "editingstate.h"

namespace vorn {

void EditingState::setTile(quint8 tile)
{
    if (tile_ == tile)
        return;
    tile_ = tile;
    emit brushChanged();
}

void EditingState::setBlock(TileBlock block)
{
    block_ = std::move(block);
    if (block_.valid())
        tile_ = block_.at(0, 0);
    emit brushChanged();
}

void EditingState::useOneTile()
{
    if (!block_.valid())
        return;
    block_ = {};
    emit brushChanged();
}

void EditingState::setSelection(std::optional<QRect> cells)
{
    if (selection_ == cells)
        return;
    selection_ = cells;
    emit selectionChanged();
}

void EditingState::setPicked(int index)
{
    if (picked_ == index)
        return;
    picked_ = index;
    emit pickedChanged(index);
}

void EditingState::setFloating(std::optional<CellsClip> clip)
{
    if (!floating_ && !clip)
        return;
    floating_ = std::move(clip);
    emit floatingChanged();
}

void EditingState::moveFloating(QPoint cell)
{
    if (floatingAt_ == cell)
        return;
    floatingAt_ = cell;
    if (floating_)
        emit floatingChanged();
}

QRect EditingState::floatingRect() const
{
    if (!floating_)
        return {};
    return QRect(floatingAt_, QSize(floating_->cells.width, floating_->cells.height));
}

} // namespace vorn
