#pragma once
// The map as the editor shows it, for any rectangle at any zoom: the map
// view, the benchmark and vorn-tool all draw through here, so their pixels
// cannot drift apart.
#include "mapfile.h" // TileGrid
#include "tiletypes.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <array>
#include <vector>

namespace vorn {

// The cell sides the map can be shown at, as the zoom list offers them.
constexpr std::array<int, 6> kZoomSizes = {8, 16, 24, 32, 56, 64};
bool IsZoomSize(int zoom);

struct MapScene;

// How each of a tileset's 256 tiles is drawn when the map shows what the
// game draws: tiles of types the game never draws at half strength over the
// backdrop, the star over a breakable block, the first frame of the wind and
// current dots; and which of their pixels stand in front of the entities.
struct TileLooks {
    std::array<bool, kTileTypeCount> dimmed{};
    // Bit i of entry t * 16 + row: pixel i of that row of tile t.
    std::array<quint16, kTileTypeCount * 16> overlaid{}; // an overlay pixel shows
    std::array<quint16, kTileTypeCount * 16> inFront{}; // covers a sprite
    std::array<qint8, kTileTypeCount> overlay{}; // index into overlays, -1 none
    std::vector<std::array<QRgb, 256>> overlays; // 16 x 16 pictures
};

// The looks of the tiles of `scene`'s tileset with the types `types`; the
// star comes from the NpcSym sheet and the dots from the Caret sheet, and
// either is left out when its sheet is null.
TileLooks GameTileLooks(const MapScene& scene, const TileTypes& types, const QImage* npcSym, const QImage* caret);

// What a map is drawn from. A null backdrop shows white.
struct MapScene {
    const QImage* tileset = nullptr; // RGB32, as loaded
    const QImage* mask = nullptr; // CreateMaskImage of the tileset
    const QImage* backdrop = nullptr; // RGB32, repeated from the map's corner at 16 pixels a cell
    const TileGrid* grid = nullptr;
    int width = 0; // cells; a size beyond the grid draws only the grid's cells
    int height = 0;
    // Null: every tile as the tileset has it. Else the game's look.
    const TileLooks* looks = nullptr;
};

// White where the pixel is exactly `lTransparentColor` (alpha aside),
// black elsewhere.
QImage CreateMaskImage(const QImage& picFrom, QRgb lTransparentColor);

// The map's size in pixels at `zoom`, in int: 513 cells at 64 is 32832.
QSize MapPixelSize(const MapScene& scene, int zoom);

// Renders `area` (pixels of the map at `zoom`) into the top-left of
// `target` (RGB32, at least area's size). Pixels of `area` beyond the map
// are `outside`.
void RenderMap(const MapScene& scene, int zoom, QImage& target, const QRect& area, QRgb outside);

} // namespace vorn
