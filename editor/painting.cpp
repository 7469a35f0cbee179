#include "frmVorn.h"

#include "cellmath.h"

#include "mapview.h"
#include "shapeframe.h"
#include "pencil.h"
#include "stagedocument.h"
#include "tiletypes.h"
#include "toolbox.h"

#include <QLabel>
#include <QScrollBar>

// Tile palette and map painting.

using vorn::FloorDiv;
using vorn::kPaletteSide;
using vorn::kTileSide;

namespace {

const QString kPressed = QStringLiteral("^_^");
const QString kReleased = QStringLiteral("-_-");

// A surface's origin in its panel: inside the panel's border, if it has one.
QPoint PanelOrigin(const QWidget* surface)
{
    const QWidget* panel = surface->parentWidget();
    return panel ? panel->contentsRect().topLeft() : QPoint();
}

} // namespace

void frmVorn::picTileset_MouseDown(int button, int shift, int x, int y)
{
    if (PaletteBlockDown(shift, x, y))
        return;
    picTileset_Tag_ = kPressed;
    picTileset_MouseMove(button, shift, x, y);
}

// Any button chooses; the choice follows the pointer while the button is
// held, so the tile under the pointer at release is the one kept.
void frmVorn::picTileset_MouseMove(int, int, int x, int y)
{
    const int column = FloorDiv(x, kTileSide);
    const int row = FloorDiv(y, kTileSide);
    const bool onGrid = column >= 0 && column < kPaletteSide && row >= 0 && row < kPaletteSide;
    if (onGrid && stage_->isOpen()) {
        const int tile = column + kPaletteSide * row;
        picTileset_->setToolTip(
            QStringLiteral("Tile %1 \u00b7 %2\nCtrl+wheel zooms the palette, Shift+wheel scrolls it across")
                .arg(tile)
                .arg(vorn::TileTypeText(stage_->tileType(quint8(tile)))));
    }
    if (PaletteBlockMove(x, y))
        return;
    if (picTileset_Tag_ != kPressed)
        return;
    // Positions off the grid of tile numbers name no tile.
    if (!onGrid)
        return;
    UseOneTileBrush();
    MoveTileFrame(QPoint(column, row));
    SetSelectedTile(quint8(column + kPaletteSide * row));
}

void frmVorn::picTileset_MouseUp(int, int, int, int)
{
    PaletteBlockUp();
    picTileset_Tag_ = kReleased;
}

void frmVorn::picMap_MouseDown(int button, int shift, int x, int y)
{
    stage_->finishEdit(); // a stroke whose release was missed ends here
    if (ToolMouseDown(button, shift, x, y))
        return;
    picMap_Tag_ = kPressed;
    picMap_MouseMove(button, shift, x, y);
}

void frmVorn::picMap_MouseMove(int button, int shift, int x, int y)
{
    ToolMouseMove(button, shift, x, y);
    const int zoom = ZoomSize_;
    const int cx = FloorDiv(x, zoom);
    const int cy = FloorDiv(y, zoom);
    // Includes drags that began on the map and left it: painting resumes
    // when the pointer comes back.
    if (cx < 0 || cx >= stage_->width() || cy < 0 || cy >= stage_->height())
        return;

    lblPos_->setText(QStringLiteral("%1x%2").arg(cx).arg(cy));
    ShowTileTypeAt(cx, cy);
    cursorCell_ = QPoint(cx, cy);
    shpCursor_->move(cx * zoom, cy * zoom);
    if (picMap_Tag_ != kPressed)
        return;

    if (button == 1) {
        PaintCell(cx, cy);
    } else {
        // Right, middle or several buttons: pick the tile as if chosen in
        // the palette. The palette is left where it is scrolled.
        UseOneTileBrush();
        SetSelectedTile(stage_->cell(cx, cy));
        MoveTileFrame(QPoint(SelectedTile() & 15, SelectedTile() >> 4));
    }
}

void frmVorn::picMap_MouseUp(int button, int shift, int x, int y)
{
    if (tools_->dragging())
        ToolMouseUp(button, shift, x, y);
    picMap_Tag_ = kReleased;
    stage_->finishEdit(); // the stroke becomes one step
}

// The document writes the cell and the map view redraws it from its signal.
void frmVorn::PaintCell(int cx, int cy) { tools_->pencil().paint(QPoint(cx, cy)); }

// Scroll values run from 0 down to a negative maximum, so moving a thumb
// right or down moves its surface left or up.
void frmVorn::hsbMap_Change()
{
    const QPoint origin = PanelOrigin(picMap_);
    picMap_->move(origin.x() + ScrollValue(hsbMap_) * kTileSide, picMap_->y());
}

void frmVorn::vsbMap_Change()
{
    const QPoint origin = PanelOrigin(picMap_);
    picMap_->move(picMap_->x(), origin.y() + ScrollValue(vsbMap_) * kTileSide);
}

void frmVorn::vsbTile_Change()
{
    const QPoint origin = PanelOrigin(picTileset_);
    picTileset_->move(picTileset_->x(), origin.y() + ScrollValue(vsbTile_) * kTileSide);
}
