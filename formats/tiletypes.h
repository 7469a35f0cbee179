#pragma once
// A tileset's tile types ("data\stage\<tileset>.pxa"): one byte per tile of
// the 256 the tileset holds. Stages that share a tileset share the file.
#include "regularfile.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace vorn {

constexpr int kTileTypeCount = 256;
using TileTypes = std::array<quint8, kTileTypeCount>;

struct TileTypeFile {
    TileTypes types{};
    qint64 size = 0; // bytes the file held (0 when missing); the game reads the first 256
};

// The types a file holding `bytes` gives: its first 256 bytes, and 0 for
// the tiles a shorter file has no byte for.
TileTypes ParseTileTypes(const QByteArray& bytes);

// Reads the file `path` leads to. Missing: all 0 and `missing` set. A file
// shorter than 256 bytes gives its bytes and 0 for the rest; `size` tells
// the caller. Refused (a pipe, a folder, a read error) naming `displayName`,
// with `out` untouched.
ReadStatus ReadTileTypeFile(const QString& path, const QString& displayName, TileTypeFile& out,
                            const FileRules& rules = {});
// Writes the 256 types over the file's first 256 bytes, keeping any bytes
// after them; creates the file when it is missing. Atomic.
Outcome WriteTileTypeFile(const QString& path, const QString& displayName, const TileTypes& types,
                          const FileRules& rules = {});

// What the game does with a tile of `type`: "solid", "spikes in water",
// "wind pushing left"...; empty for a value the game gives no meaning.
QString TileTypeName(quint8 type);
// The types that have a name, in ascending order.
const std::vector<quint8>& NamedTileTypes();
// The surface of a slope tile: the solid side lies above it (ceiling) or
// below it (floor); its heights at the tile's left and right edges are in
// sixteenths of the tile from its top.
struct SlopeSurface {
    bool ceiling;
    int leftY, rightY;
};
std::optional<SlopeSurface> SlopeOf(quint8 type);
// TileTypeName, or for a value without one what the game does with it all
// the same: "no effect, behind", "no effect, in front" or "no effect, not
// drawn".
QString TileTypeMeaning(quint8 type);
// "0x41 solid", "0x3f no effect, not drawn".
QString TileTypeText(quint8 type);

} // namespace vorn
