#include "frmVorn.h"
#include "toolbox.h"

#include "entitymarker.h"
#include "mapdrawing.h"
#include "mapview.h"
#include "shapeframe.h"
#include "spritedrawing.h"
#include "tiletypedrawing.h"
#include "stagedocument.h"

#include <QComboBox>
#include <QRegion>
#include <algorithm>
#include <vector>

// The map's pixels come from the drawing library (mapdrawing.h), shared
// with vorn-tool; paints render only what is exposed.

namespace {

// Cells the grid can hold in one direction: a size set beyond the grid
// (before a reload puts it right) must not read outside it.
int Cells(qint16 count) { return std::clamp(int(count), 0, vorn::kGridSide); }

} // namespace

QImage frmVorn::CreateMaskImage(const QImage& picFrom, QRgb lTransparentColor)
{
    return vorn::CreateMaskImage(picFrom, lTransparentColor);
}

vorn::MapScene frmVorn::Scene() const { return stage_->scene(); }

void frmVorn::RenderMap(QImage& target, const QRect& area) const
{
    // Beyond the map (only when asked for more than it): the surface's colour.
    vorn::MapScene scene = Scene();
    // With sprites the tiles take the game's order around them.
    vorn::TileLooks looks;
    if (ShowsSprites()) {
        looks = vorn::GameTileLooks(scene, stage_->tileTypes(), stage_->sheets());
        scene.looks = &looks;
    }
    vorn::RenderMap(scene, ZoomSize_, target, area, palette().color(QPalette::Button).rgb());
    // The views the user turned on, over the tiles: types first, so the
    // entities stand in front of them.
    if (ShowsTileTypes())
        vorn::DrawTileTypes(target, area, ZoomSize_, scene, stage_->tileTypes());
    if (ShowsSprites())
        vorn::DrawSprites(target, area, ZoomSize_, vorn::MapPixelSize(scene, ZoomSize_), stage_->entityCount(),
                          stage_->records(), stage_->sheets(), stage_->npcTable(), &scene);
    tools_->drawPreview(target, area, ZoomSize_);
}

// The cell shows the document's tile: callers store the tile first, then ask
// for the cell's square to be shown anew.
void frmVorn::DrawTile(int x, int y, quint8 /*tile*/)
{
    const int z = ZoomSize_;
    picMap_->update(x * z, y * z, z, z);
}

// One request per cell costs more than a whole-map undo may take; the
// strips of neighbours in a row, in row order, are few and join cheaply.
void frmVorn::DrawCells(std::span<const quint32> cells)
{
    if (cells.empty())
        return;
    // The cell under the pointer may be one of them: its tile and type are
    // in the status bar.
    ShowTileTypeAt(cursorCell_.x(), cursorCell_.y());
    if (cells.size() == 1) { // a painted cell: no marks needed
        DrawTile(int(cells[0] % vorn::kGridSide), int(cells[0] / vorn::kGridSide), 0);
        return;
    }
    std::vector<quint8> marked(size_t(vorn::kGridSide) * vorn::kGridSide, 0);
    int top = vorn::kGridSide;
    int bottom = -1;
    for (const quint32 cell : cells) {
        marked[cell] = 1;
        const int y = int(cell / vorn::kGridSide);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    const int z = ZoomSize_;
    QRegion strips;
    for (int y = top; y <= bottom; ++y) {
        const quint8* row = marked.data() + size_t(y) * vorn::kGridSide;
        for (int x = 0; x < vorn::kGridSide;) {
            if (!row[x]) {
                ++x;
                continue;
            }
            int end = x + 1;
            while (end < vorn::kGridSide && row[end])
                ++end;
            strips += QRect(x * z, y * z, (end - x) * z, z);
            x = end;
        }
    }
    picMap_->update(strips);
}

void frmVorn::RedrawMap()
{
    const int z = ZoomSize_;
    // 32-bit products: zoom 64 with 513 cells is 32832 pixels.
    picMap_->resize(Cells(stage_->width()) * z, Cells(stage_->height()) * z);
    // The frame stays on the cell lblPos names, at the new scale.
    shpCursor_->setGeometry(cursorCell_.x() * z, cursorCell_.y() * z, z, z);
    PlaceRegionFrames();
    picMap_->update();
}

void frmVorn::cboZoom_Click()
{
    const int z = cboZoom_->currentText().toInt();
    if (z <= 0)
        return;
    ZoomSize_ = quint8(z);
    RedrawMap();
    PositionEntities();
    Form_Resize();
}
