#pragma once
// Tile map files (".pxm"): 4 header bytes, width and height as signed
// 16-bit, then one byte per cell, row after row.
#include "regularfile.h" // ReadStatus, FileRules

#include <QIODevice>
#include <QString>
#include <cstdint>
#include <vector>

namespace vorn {

constexpr int kGridSide = 513;
constexpr int kMaxMapSide = 513;

// 513 x 513 tile numbers, indexed by column x and row y.
class TileGrid {
public:
    TileGrid()
        : cells_(kGridSide * kGridSide, 0)
    {
    }
    quint8 at(int x, int y) const { return cells_[y * kGridSide + x]; }
    quint8& at(int x, int y) { return cells_[y * kGridSide + x]; }
    const quint8* row(int y) const { return cells_.data() + y * kGridSide; }
    void clear() { std::fill(cells_.begin(), cells_.end(), 0); }
    bool operator==(const TileGrid&) const = default;

private:
    std::vector<quint8> cells_;
};

struct MapData {
    qint16 width = 0;
    qint16 height = 0;
    TileGrid grid; // cells outside width x height are 0 after a read
};

// Reads a map file. On success (or when missing: a 0 x 0 map) fills `out`;
// when refused `out` is untouched and the refusal names `displayName` and the
// numbers ("data\stage\X.pxm is shorter than its header says: 300 of 308
// bytes."). Width or height outside 0 to 513 is refused. Never creates.
// Reads no further than the cells, however long the file is.
ReadStatus ReadMapFile(const QString& path, const QString& displayName, MapData& out, const FileRules& rules = {});

// The same from a device at the file's start.
Outcome ReadMap(QIODevice& device, const QString& displayName, MapData& out);

// Writes width, height and cells over the file's old content, keeping its
// first 4 bytes and any bytes after the last cell; never shortens it. A new
// or shorter-than-4-byte file starts with "PXM" and 0x10. Atomic. A refusal
// names `displayName`.
Outcome WriteMapFile(const QString& path, const QString& displayName, const MapData& map, const FileRules& rules = {});

// The same, on bytes in memory: `old` is the file's current content.
QByteArray ComposeMapFile(const QByteArray& old, const MapData& map);

} // namespace vorn
