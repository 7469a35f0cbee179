#include "entitytypes.h"

#include "inifile.h"

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

QString EntityBitNames(quint16 bits)
{
    // Short enough for a tooltip line; bit 0x400 does nothing in the game.
    static const char* const kNames[16] = {
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
    QStringList names;
    for (int bit = 15; bit >= 0; --bit) {
        if (bits & (1u << bit))
            names << QLatin1String(kNames[bit]);
    }
    return names.join(QStringLiteral(", "));
}

} // namespace vorn
