#include "cellsclip.h"

#include "mapfile.h"

#include <QStringList>

namespace vorn {

namespace {

const QString kHeader = QStringLiteral("Vorn cells 1");
const QString kTilesetKey = QStringLiteral("tileset ");

bool Number(const QString& text, int low, int high, int& out)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return false;
    out = value;
    return true;
}

} // namespace

QString CellsClip::toText() const
{
    QStringList lines{kHeader, QStringLiteral("%1 %2").arg(cells.width).arg(cells.height)};
    for (int y = 0; y < cells.height; ++y) {
        QStringList row;
        for (int x = 0; x < cells.width; ++x)
            row << QString::number(cells.at(x, y));
        lines << row.join(u' ');
    }
    lines << QStringLiteral("entities %1").arg(entities.size());
    for (const EntityRecord& e : entities)
        lines
            << QStringLiteral("%1 %2 %3 %4 %5 %6").arg(e.X).arg(e.Y).arg(e.Flag).arg(e.TSC).arg(e.Type).arg(e.Unknown);
    if (!tileset.isEmpty())
        lines << kTilesetKey + tileset;
    return lines.join(u'\n') + u'\n';
}

std::optional<CellsClip> CellsClip::fromText(const QString& text)
{
    if (text.size() > kMaxClipText || !text.startsWith(kHeader))
        return std::nullopt;
    const QStringList lines = text.split(u'\n');
    qsizetype at = 0;
    const auto next = [&]() { return at < lines.size() ? lines[at++].trimmed() : QString(); };
    if (next() != kHeader)
        return std::nullopt;
    CellsClip clip;
    const QStringList size = next().split(u' ', Qt::SkipEmptyParts);
    if (size.size() != 2 || !Number(size[0], 1, kMaxMapSide, clip.cells.width) ||
        !Number(size[1], 1, kMaxMapSide, clip.cells.height))
        return std::nullopt;
    clip.cells.tiles.reserve(size_t(clip.cells.width) * size_t(clip.cells.height));
    for (int y = 0; y < clip.cells.height; ++y) {
        const QStringList row = next().split(u' ', Qt::SkipEmptyParts);
        if (row.size() != clip.cells.width)
            return std::nullopt;
        for (const QString& cell : row) {
            int tile = 0;
            if (!Number(cell, 0, 255, tile))
                return std::nullopt;
            clip.cells.tiles.push_back(quint8(tile));
        }
    }
    const QStringList count = next().split(u' ', Qt::SkipEmptyParts);
    int n = 0;
    if (count.size() != 2 || count[0] != u"entities" || !Number(count[1], 0, kMaxEntities, n))
        return std::nullopt;
    for (int i = 0; i < n; ++i) {
        const QStringList fields = next().split(u' ', Qt::SkipEmptyParts);
        int v[6];
        if (fields.size() != 6)
            return std::nullopt;
        for (int f = 0; f < 6; ++f) {
            if (!Number(fields[f], -32768, 32767, v[f]))
                return std::nullopt;
        }
        clip.entities.push_back({qint16(v[0]), qint16(v[1]), qint16(v[2]), qint16(v[3]), qint16(v[4]), qint16(v[5])});
    }
    // Older copies end here; what follows an unknown line is not ours.
    if (const QString line = next(); line.startsWith(kTilesetKey))
        clip.tileset = line.mid(kTilesetKey.size()).trimmed();
    return clip;
}

std::vector<EntityRecord> CellsClip::entitiesAt(QPoint at, int mapWidth, int mapHeight) const
{
    std::vector<EntityRecord> placed;
    for (EntityRecord e : entities) {
        // Summed as int: a place past 32,767 must not wrap back onto the map.
        const int x = int(e.X) + at.x();
        const int y = int(e.Y) + at.y();
        if (x < 0 || y < 0 || x >= mapWidth || y >= mapHeight)
            continue;
        e.X = qint16(x);
        e.Y = qint16(y);
        placed.push_back(e);
    }
    return placed;
}

} // namespace vorn
