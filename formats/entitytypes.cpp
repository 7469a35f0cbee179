#include "entitytypes.h"

#include "inifile.h"

#include <QCryptographicHash>
#include <algorithm>
#include <QDir>
#include <QStringList>

namespace vorn {

extern const std::array<ShippedEntityType, kShippedEntityTypes> kShippedEntityTypeTable;

const ShippedEntityType* ShippedType(int type)
{
    if (type < 0 || type >= kShippedEntityTypes)
        return nullptr;
    return &kShippedEntityTypeTable[size_t(type)];
}

QString ShippedTypeName(int type)
{
    const ShippedEntityType* shipped = ShippedType(type);
    return shipped ? QString::fromLatin1(shipped->name) : QString();
}

QStringList EntityTypeNames(const QString& settingsPath, int count)
{
    QStringList names = INIReadNumberedKeys(settingsPath, QStringLiteral("Entities"), count);
    for (int n = 0; n < count; ++n) {
        if (names[n].isEmpty())
            names[n] = ShippedTypeName(n);
    }
    return names;
}

namespace {

// Short enough for a tooltip line; bit 0x400 does nothing in the game.
const char* const kBitNames[16] = {
    "soft solid",
    "ignores tile 0x44",
    "invulnerable",
    "ignores solid tiles",
    "bouncy",
    "can be shot",
    "hard solid",
    "harmless from above and behind",
    "event on touch",
    "event on death",
    "bit 0x400",
    "shown while its flag is set",
    "spawns facing right",
    "event on interact",
    "hidden while its flag is set",
    "shows damage",
};

QString FolderKey(const QString& gameRoot)
{
    const QString canonical = QDir(gameRoot).canonicalPath();
    const QString path = canonical.isEmpty() ? QDir(gameRoot).absolutePath() : canonical;
    // A path may hold "]" or line breaks, which no section name can; a hash
    // of it cannot.
    return QString::fromLatin1(QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

} // namespace

QString EntityBitNames(quint16 bits)
{
    QStringList names;
    for (int bit = 15; bit >= 0; --bit) {
        if (bits & (1u << bit))
            names << QLatin1String(kBitNames[bit]);
    }
    return names.join(QStringLiteral(", "));
}

QString EntityBitName(int bit) { return bit >= 0 && bit < 16 ? QLatin1String(kBitNames[bit]) : QString(); }

std::optional<quint16> EntityBitsFromNames(const QString& text)
{
    quint16 bits = 0;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        const QString name = part.simplified();
        if (name.isEmpty())
            continue;
        int found = -1;
        for (int bit = 0; bit < 16 && found < 0; ++bit)
            if (name.compare(QLatin1String(kBitNames[bit]), Qt::CaseInsensitive) == 0)
                found = bit;
        if (found < 0)
            return std::nullopt;
        bits = quint16(bits | (1u << found));
    }
    return bits;
}

QString GameEntitiesSection(const QString& gameRoot) { return QStringLiteral("Entities ") + FolderKey(gameRoot); }

QString GameEntitySpritesSection(const QString& gameRoot)
{
    return QStringLiteral("Entity Sprites ") + FolderKey(gameRoot);
}

QStringList OwnEntityTypeNames(const QString& settingsPath, int count, const QString& gameRoot)
{
    return INIReadNumberedKeys(settingsPath, GameEntitiesSection(gameRoot), count);
}

QStringList EntityTypeNames(const QString& settingsPath, int count, const QString& gameRoot)
{
    // The shared names only go as far as their keys do.
    QStringList names = EntityTypeNames(settingsPath, std::min(count, kEntityNameKeys));
    while (names.size() < count)
        names << ShippedTypeName(int(names.size()));
    const QStringList own = OwnEntityTypeNames(settingsPath, count, gameRoot);
    for (int n = 0; n < count; ++n)
        if (!own[n].isEmpty())
            names[n] = own[n];
    return names;
}

} // namespace vorn
