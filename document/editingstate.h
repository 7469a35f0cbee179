#pragma once
// What the map's tools work with, apart from the stage itself: the brush,
// the selected cells, the picked entity and a copy floating before it is
// placed. The frames, the inspector and the status texts follow its
// signals; the tools change it.
#include "cellsclip.h"
#include "tileblock.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <optional>

namespace vorn {

class EditingState : public QObject {
    Q_OBJECT
public:
    explicit EditingState(QObject* parent = nullptr)
        : QObject(parent)
    {
    }

    // The palette's tile, and a block taken from the palette or the map
    // that paints in its place while set.
    quint8 tile() const { return tile_; }
    void setTile(quint8 tile);
    const TileBlock& block() const { return block_; }
    void setBlock(TileBlock block);
    void useOneTile(); // drops the block
    TileBlock brush() const { return block_.valid() ? block_ : TileBlock::One(tile_); }

    // The selected cells; fill stays inside them, Ctrl+C copies them.
    const std::optional<QRect>& selection() const { return selection_; }
    void setSelection(std::optional<QRect> cells);

    // The entity the entity commands act on; -1 for none.
    int picked() const { return picked_; }
    void setPicked(int index);

    // A paste not yet placed, and the cell its top-left stands on.
    const std::optional<CellsClip>& floating() const { return floating_; }
    void setFloating(std::optional<CellsClip> clip);
    QPoint floatingAt() const { return floatingAt_; }
    void moveFloating(QPoint cell);
    QRect floatingRect() const;

signals:
    void brushChanged();
    void selectionChanged();
    void pickedChanged(int index);
    void floatingChanged(); // taken, moved or dropped

private:
    quint8 tile_ = 0;
    TileBlock block_;
    std::optional<QRect> selection_;
    int picked_ = -1;
    std::optional<CellsClip> floating_;
    QPoint floatingAt_;
};

} // namespace vorn
