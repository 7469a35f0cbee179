#pragma once
// The game's entity type table, "data\npc.tbl": for N types (size / 24), N
// values of each field in turn, little-endian. Mods edit it, so the sheet
// and view box of a type are taken from the game folder's copy.
#include "gamefolder.h"
#include "regularfile.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace vorn {

constexpr int kNpcTableBytesPerType = 24;
// The shipped table holds 361 types; a mod that adds more is still read,
// but nothing beyond this many: no real table comes near it.
constexpr int kNpcTableMaxTypes = 8192;

// Four box sides in pixels from the entity's centre, as the table orders them.
struct NpcBox {
    quint8 front = 0, top = 0, back = 0, bottom = 0;
};

struct NpcType {
    quint16 bits = 0;
    quint16 life = 0;
    quint8 sheet = 0; // SheetNumber
    quint8 deathSound = 0, hitSound = 0, deathSmoke = 0;
    qint32 experience = 0, damage = 0;
    NpcBox hit, view;
};

using NpcTable = std::vector<NpcType>;

const QString& NpcTableName(); // "data\npc.tbl"

// The types in `bytes`. Refused, naming `displayName`, when the size is not
// a whole number of types (a cut-off file would shift every column), is
// zero, or is beyond the largest table read; `out` is then untouched.
Outcome ParseNpcTable(const QByteArray& bytes, const QString& displayName, NpcTable& out);
// The bytes of `table` in the game's layout: ParseNpcTable reads them back.
QByteArray ComposeNpcTable(const NpcTable& table);
// "data\npc.tbl" of `game`: missing sets `missing` and leaves `out` empty.
ReadStatus ReadNpcTable(const GameFolder& game, NpcTable& out);

} // namespace vorn
