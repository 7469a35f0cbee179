#include "mapfile.h"

#include "gamefile.h"

#include <QtEndian>
#include <algorithm>

namespace vorn {
namespace {

constexpr int kHeaderSize = kGameFileHeaderSize;

bool SideInRange(int side) { return side >= 0 && side <= kMaxMapSide; }

} // namespace

Outcome ReadMap(QIODevice& device, const QString& displayName, MapData& out)
{
    QByteArray header;
    if (const Outcome read = ReadGameFileHeader(device, displayName, header); !read.ok())
        return read;
    const qint64 size = device.size();
    const qint16 width = qFromLittleEndian<qint16>(header.constData() + 4);
    const qint16 height = qFromLittleEndian<qint16>(header.constData() + 6);
    if (!SideInRange(width) || !SideInRange(height))
        return QStringLiteral("%1 has a map of %2 x %3 cells; width and height must lie "
                              "between 0 and %4.")
            .arg(displayName, QString::number(width), QString::number(height), QString::number(kMaxMapSide));
    const qint64 cellCount = qint64(width) * height;
    const QByteArray cells = device.read(cellCount);
    if (cells.size() < cellCount)
        return QStringLiteral("%1 is shorter than its header says: %2 of %3 bytes.")
            .arg(displayName, QString::number(size), QString::number(kHeaderSize + cellCount));

    MapData read;
    read.width = width;
    read.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            read.grid.at(x, y) = quint8(cells[qsizetype(y) * width + x]);
    out = std::move(read);
    return {};
}

ReadStatus ReadMapFile(const QString& path, const QString& displayName, MapData& out, const FileRules& rules)
{
    const ReadStatus status =
        ReadGameFile(path, displayName, rules, [&](QIODevice& device) { return ReadMap(device, displayName, out); });
    if (status.missing) {
        out.width = 0;
        out.height = 0;
        out.grid.clear();
    }
    return status;
}

QByteArray ComposeMapFile(const QByteArray& old, const MapData& map)
{
    // Sizes outside the grid write their fields but only the cells the grid
    // holds; WriteMapFile refuses them before it gets here.
    const int width = std::clamp<int>(map.width, 0, kMaxMapSide);
    const int height = std::clamp<int>(map.height, 0, kMaxMapSide);
    QByteArray bytes = WithRoomFor(old, QByteArray("PXM\x10", 4), kHeaderSize + qsizetype(width) * height);
    qToLittleEndian<qint16>(map.width, bytes.data() + 4);
    qToLittleEndian<qint16>(map.height, bytes.data() + 6);
    char* cell = bytes.data() + kHeaderSize;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            *cell++ = char(map.grid.at(x, y));
    return bytes;
}

Outcome WriteMapFile(const QString& path, const QString& displayName, const MapData& map, const FileRules& rules)
{
    if (!SideInRange(map.width) || !SideInRange(map.height))
        return QStringLiteral("Cannot write %1: a map of %2 x %3 cells does not fit; width and "
                              "height must lie between 0 and %4.")
            .arg(displayName, QString::number(map.width), QString::number(map.height), QString::number(kMaxMapSide));
    const qsizetype owned = kHeaderSize + qsizetype(map.width) * map.height;
    return RewriteGameFile(path, displayName, rules, owned,
                           [&map](const QByteArray& oldHead) { return ComposeMapFile(oldHead, map); });
}

} // namespace vorn
