#pragma once
// Tile types shown over the map and the palette: a tint in the colour of what
// the tile does (solid, spikes, water, blocks for entities or the player,
// breakable), slopes drawn as their slope, wind and currents as arrows, and
// any other type but 0 as its number. Every mark is made of whole pixels
// scaled with the cell, so it reads the same at every zoom.
#include "mapdrawing.h"
#include "tiletypes.h"

#include <QImage>
#include <QRect>

namespace vorn {

// Marks the type of every map cell over `target`, which holds `area` of the
// map of `scene` at `zoom` in its top-left.
void DrawTileTypes(QImage& target, const QRect& area, int zoom, const MapScene& scene, const TileTypes& types);

// Marks the type of each tile over `tileset` (RGB32, tiles of 16 pixels,
// 16 to a row) in place.
void DrawTileTypesOnTileset(QImage& tileset, const TileTypes& types);

} // namespace vorn
