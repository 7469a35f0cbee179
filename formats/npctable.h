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
    // Not in the file: for a type a mod added past the shipped ones, the
    // shipped type whose frames it is drawn with (kept in the settings);
    // -1 for none.
    qint16 drawnAs = -1;
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
// Where "data\npc.tbl" of `game` is, or would be made; empty without a
// "data" folder.
QString NpcTablePath(const GameFolder& game);
// Writes `table` as "data\npc.tbl" of `game`: checked first (1 to
// kNpcTableMaxTypes types, the file not marked read-only), the file as it
// was copied to backup/ once, then replaced whole and atomically.
Outcome WriteNpcTable(const GameFolder& game, const NpcTable& table);

// The fields of a type as the user edits them.
enum class NpcField { Sheet, Life, Damage, Experience, HurtSound, DeathSound, Smoke, HitBox, ViewBox, Bits };
// "life", "hit box": the field as a message names it.
QString NpcFieldName(NpcField field);
// The field as text: a number; a box as "front top back bottom"; the bits
// as "0x3800".
QString NpcFieldText(const NpcType& type, NpcField field);
// Sets the field from text: a whole number (decimal, "0x" or "&H" hex), four
// of them for a box, and for the bits also their names joined by commas.
// A value outside the field's range is refused with the range named, and
// `type` is then untouched.
Outcome SetNpcField(NpcType& type, NpcField field, const QString& text);

} // namespace vorn
