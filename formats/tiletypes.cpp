#include "tiletypes.h"

#include "gamefile.h"

#include <QStringList>
#include <algorithm>
#include <cstring>

namespace vorn {
namespace {

struct NamedType {
    quint8 type;
    const char* name;
};

// What the game makes of each type. A slope tile is half of a slope two
// tiles wide; its name says which way the surface runs and which half it is.
constexpr NamedType kNames[] = {
    {0x00, "background"},
    {0x01, "background, no effect"},
    {0x02, "water (behind)"},
    {0x03, "blocks entities only"},
    {0x04, "water-block for entities"},
    {0x05, "blocks player and entities, not shots"},
    {0x40, "foreground, no effect"},
    {0x41, "solid"},
    {0x42, "spikes"},
    {0x43, "breakable"},
    {0x44, "blocks entities and shots"},
    {0x45, "foreground, no effect"},
    {0x46, "solid to the player only"},
    {0x50, "ceiling slope up to the right (lower half)"},
    {0x51, "ceiling slope up to the right (upper half)"},
    {0x52, "ceiling slope down to the right (upper half)"},
    {0x53, "ceiling slope down to the right (lower half)"},
    {0x54, "floor slope down to the right (upper half)"},
    {0x55, "floor slope down to the right (lower half)"},
    {0x56, "floor slope up to the right (lower half)"},
    {0x57, "floor slope up to the right (upper half)"},
    {0x60, "water (in front)"},
    {0x61, "water, solid"},
    {0x62, "spikes in water"},
    {0x64, "water-block for entities, stops shots"},
    {0x70, "ceiling slope up to the right in water (lower half)"},
    {0x71, "ceiling slope up to the right in water (upper half)"},
    {0x72, "ceiling slope down to the right in water (upper half)"},
    {0x73, "ceiling slope down to the right in water (lower half)"},
    {0x74, "floor slope down to the right in water (upper half)"},
    {0x75, "floor slope down to the right in water (lower half)"},
    {0x76, "floor slope up to the right in water (lower half)"},
    {0x77, "floor slope up to the right in water (upper half)"},
    {0x80, "wind pushing left"},
    {0x81, "wind pushing up"},
    {0x82, "wind pushing right"},
    {0x83, "wind pushing down"},
    {0xA0, "water current left"},
    {0xA1, "water current up"},
    {0xA2, "water current right"},
    {0xA3, "water current down"},
};

} // namespace

TileTypes ParseTileTypes(const QByteArray& bytes)
{
    TileTypes types{};
    std::memcpy(types.data(), bytes.constData(), size_t(std::min<qsizetype>(bytes.size(), kTileTypeCount)));
    return types;
}

ReadStatus ReadTileTypeFile(const QString& path, const QString& displayName, TileTypeFile& out, const FileRules& rules)
{
    ReadableFile file;
    const ReadStatus status = file.open(path, displayName, rules);
    if (!status.ok())
        return status;
    TileTypeFile read;
    if (!status.missing) {
        QByteArray bytes;
        if (const Outcome done = file.read(kTileTypeCount, bytes); !done.ok())
            return done;
        read.types = ParseTileTypes(bytes);
        read.size = file.size();
    }
    out = read;
    return status;
}

Outcome WriteTileTypeFile(const QString& path, const QString& displayName, const TileTypes& types,
                          const FileRules& rules)
{
    return RewriteGameFile(path, displayName, rules, kTileTypeCount, [&types](const QByteArray&) {
        return QByteArray(reinterpret_cast<const char*>(types.data()), kTileTypeCount);
    });
}

QString TileTypeName(quint8 type)
{
    const auto* end = std::end(kNames);
    const auto* found = std::find_if(std::begin(kNames), end, [type](const NamedType& n) { return n.type == type; });
    return found == end ? QString() : QString::fromLatin1(found->name);
}

const std::vector<quint8>& NamedTileTypes()
{
    static const std::vector<quint8> types = [] {
        std::vector<quint8> list;
        for (const NamedType& named : kNames)
            list.push_back(named.type);
        return list;
    }();
    return types;
}

std::optional<SlopeSurface> SlopeOf(quint8 type)
{
    // Heights of the surface at the tile's left and right edges, 0 at its top.
    static constexpr SlopeSurface kSlopes[8] = {
        {true, 16, 8}, {true, 8, 0},   {true, 0, 8},   {true, 8, 16},
        {false, 0, 8}, {false, 8, 16}, {false, 16, 8}, {false, 8, 0},
    };
    if ((type >= 0x50 && type <= 0x57) || (type >= 0x70 && type <= 0x77))
        return kSlopes[type & 7];
    return std::nullopt;
}

QString TileTypeMeaning(quint8 type)
{
    const QString name = TileTypeName(type);
    if (!name.isEmpty())
        return name;
    // What the game does with a value it gives no meaning: it draws the
    // tile behind or in front of entities, or not at all, and nothing else.
    if (type < 0x20)
        return QStringLiteral("no effect, behind");
    if (type >= 0x40 && type < 0x80)
        return QStringLiteral("no effect, in front");
    return QStringLiteral("no effect, not drawn");
}

QString TileTypeText(quint8 type)
{
    return QStringLiteral("0x%1 ").arg(type, 2, 16, QLatin1Char('0')) + TileTypeMeaning(type);
}

} // namespace vorn
