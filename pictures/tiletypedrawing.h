#pragma once
// Tile types shown over the map and the palette: a tint in the colour of what
// the tile does (solid, spikes, water, blocks for entities or the player,
// breakable), slopes drawn as their slope, wind and currents as arrows,
// tiles drawn in front of entities by a small corner, and a type without a
// name as its number in a corner. Every mark is made of whole pixels scaled
// with the cell, so it reads the same at every zoom, and leaves the tile's
// art in view.
#include "mapdrawing.h"
#include "tiletypes.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <array>
#include <vector>

namespace vorn {

// Marks the type of every map cell over `target`, which holds `area` of the
// map of `scene` at `zoom` in its top-left.
void DrawTileTypes(QImage& target, const QRect& area, int zoom, const MapScene& scene, const TileTypes& types);

// Marks the type of each tile over `tileset` (RGB32, tiles of 16 pixels,
// 16 to a row) in place.
void DrawTileTypesOnTileset(QImage& tileset, const TileTypes& types);

// A kind of mark, for a legend: what it means and a type that shows it.
struct TileTypeKind {
    QString meaning;
    quint8 sample;
};
// The kinds of mark `present` (a flag per type) shows, once each, in a
// fixed order; the background types, which show none, are left out.
std::vector<TileTypeKind> TileTypeKinds(const std::array<bool, kTileTypeCount>& present);
// The mark of `type` over a mid-grey tile `side` pixels square.
QImage TileTypeSample(quint8 type, int side);

} // namespace vorn
