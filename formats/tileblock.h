#pragma once
// A rectangle of tile numbers: a brush to paint with, or cells copied from
// the map to be pasted. A one-tile brush is 1 x 1.
#include <QtGlobal>
#include <vector>

namespace vorn {

struct TileBlock {
    int width = 0, height = 0;
    std::vector<quint8> tiles; // row after row

    static TileBlock One(quint8 tile) { return {1, 1, {tile}}; }
    quint8 at(int x, int y) const { return tiles[size_t(y) * size_t(width) + size_t(x)]; }
    // A block whose tiles do not fill its size paints nothing.
    bool valid() const { return width > 0 && height > 0 && tiles.size() == size_t(width) * size_t(height); }
    bool operator==(const TileBlock&) const = default;
};

} // namespace vorn
