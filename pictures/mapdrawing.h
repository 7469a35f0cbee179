#pragma once
// The map as the editor shows it, for any rectangle at any zoom: the map
// view, the benchmark and vorn-tool all draw through here, so their pixels
// cannot drift apart.
#include "mapfile.h" // TileGrid

#include <QImage>
#include <QRect>
#include <QSize>
#include <array>

namespace vorn {

// The cell sides the map can be shown at, as the zoom list offers them.
constexpr std::array<int, 6> kZoomSizes = {8, 16, 24, 32, 56, 64};
bool IsZoomSize(int zoom);

// What a map is drawn from. A null backdrop shows white.
struct MapScene {
    const QImage* tileset = nullptr; // RGB32, as loaded
    const QImage* mask = nullptr; // CreateMaskImage of the tileset
    const QImage* backdrop = nullptr; // RGB32, repeated from the map's corner at 16 pixels a cell
    const TileGrid* grid = nullptr;
    int width = 0; // cells; a size beyond the grid draws only the grid's cells
    int height = 0;
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
