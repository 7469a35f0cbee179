#include "frmVorn.h"

#include "mapview.h"
#include "shapeframe.h"
#include "stagedocument.h"

#include <QScrollBar>
#include <algorithm>

// The palette at 1, 2 or 3 times its size, for tiles too small to tell
// apart. Everything else keeps counting in tileset pixels: the view divides
// the pointer's place by its zoom.

namespace {
constexpr int kPaletteZoomMax = 3;
constexpr int kWheelNotch = 120;
constexpr int kTilePixels = 16;
constexpr int kPaletteRoom = 256; // the palette panel's width within its border
} // namespace

void frmVorn::SetPaletteZoom(int zoom)
{
    zoom = std::clamp(zoom, 1, kPaletteZoomMax);
    if (zoom == paletteZoom_)
        return;
    // The frame keeps the tiles it marks.
    const int oldSide = kTilePixels * paletteZoom_;
    const QRect frame = shpTile_->geometry();
    const QRect cells(frame.x() / oldSide, frame.y() / oldSide, std::max(1, (frame.width() - 1) / oldSide),
                      std::max(1, (frame.height() - 1) / oldSide));
    paletteZoom_ = zoom;
    picTileset_->setZoom(zoom);
    FrameTiles(cells);
    SizePalette();
    picTileset_->update();
    Form_Resize(); // the scroll bar's range follows the height
    StoreSettingsSoon();
}

void frmVorn::SizePalette()
{
    picTileset_->resize(stage_->tileset().size() * paletteZoom_);
    ScrollPaletteAcross(paletteAcross_); // a narrower palette scrolls back
}

void frmVorn::ScrollPaletteAcross(int pixels)
{
    paletteAcross_ = std::clamp(pixels, 0, std::max(0, picTileset_->width() - kPaletteRoom));
    const int left = picTileset_->parentWidget()->contentsRect().left();
    picTileset_->move(left - paletteAcross_, picTileset_->y());
}

void frmVorn::FrameTiles(const QRect& cells)
{
    const int side = kTilePixels * paletteZoom_;
    shpTile_->setGeometry(cells.x() * side, cells.y() * side, cells.width() * side + 1, cells.height() * side + 1);
}

void frmVorn::MoveTileFrame(QPoint cell) { shpTile_->move(cell * (kTilePixels * paletteZoom_)); }

void frmVorn::picTileset_Wheel(QPoint angle, Qt::KeyboardModifiers modifiers)
{
    paletteWheelRest_ += angle.y() != 0 ? angle.y() : angle.x();
    const int notches = paletteWheelRest_ / kWheelNotch;
    paletteWheelRest_ %= kWheelNotch;
    if (notches == 0)
        return;
    if (modifiers & Qt::ControlModifier)
        SetPaletteZoom(paletteZoom_ + (notches > 0 ? 1 : -1));
    else
        ScrollPaletteAcross(paletteAcross_ - notches * kTilePixels * paletteZoom_);
}
