#pragma once
// What the program knows of each entity type without reading the game: the
// name, sheet and resting frame of the 361 types the game ships with, and
// the meaning of the bits of an entity's last field.
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>
#include <optional>

namespace vorn {

constexpr int kShippedEntityTypes = 361;
// The settings file names types by the keys "0" to "386" of [Entities];
// a name set there is the user's and comes before the shipped one.
constexpr int kEntityNameKeys = 387;

// A frame in a sprite sheet, in pixels; right and bottom exclusive.
struct SheetFrame {
    qint16 left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
};

// Sheets as the game numbers them (the type's `surface`).
enum SheetNumber : quint8 {
    kSheetTileset = 2,
    kSheetItemImage = 8,
    kSheetMyChar = 16,
    kSheetBullet = 17,
    kSheetCaret = 19,
    kSheetNpcSym = 20,
    kSheetStageNpc1 = 21,
    kSheetStageNpc2 = 22,
    kSheetNpcRegu = 23,
    kSheetFace = 27,
};

struct ShippedEntityType {
    const char* name;
    quint8 sheet; // as the shipped npc.tbl gives it
    SheetFrame left; // at rest, facing left
    SheetFrame right; // at rest, facing right
};

// Type `type` as shipped; nullptr outside 0 to 360.
const ShippedEntityType* ShippedType(int type);
// Its name ("Behemoth"); empty outside 0 to 360.
QString ShippedTypeName(int type);

// The names of types 0 to count - 1 as the user sees them: the name under
// [Entities] in the settings file `settingsPath` where it gives one, else
// the shipped name, else empty.
QStringList EntityTypeNames(const QString& settingsPath, int count);

// Bits of an entity's last field (the one the entity file calls Unknown).
constexpr quint16 kFacesRightBit = 0x1000;
// The names of the bits set in `bits`, highest first, joined by ", ":
// "event on interact, spawns facing right"; empty when none is set.
QString EntityBitNames(quint16 bits);
// The name of bit `bit` (0 to 15): "spawns facing right" for 12.
QString EntityBitName(int bit);
// The bits named in `text`, names joined by commas as EntityBitNames gives
// them (case and blanks aside); nullopt when a part names no bit. An empty
// text is no bits.
std::optional<quint16> EntityBitsFromNames(const QString& text);

// One game folder's own names, kept in the settings file under a section
// of its own so that one mod's names never label another's types: the
// section's name for the folder `gameRoot` ("Entities 1f3a..." after the
// folder's canonical path).
QString GameEntitiesSection(const QString& gameRoot);
// The section that keeps, for each type the folder added past the shipped
// ones, the shipped type whose frames it is drawn with.
QString GameEntitySpritesSection(const QString& gameRoot);
// The names of types 0 to count - 1 for the game in `gameRoot`: its own
// name where it has one, else EntityTypeNames'.
QStringList EntityTypeNames(const QString& settingsPath, int count, const QString& gameRoot);
// The folder's own names alone, empty where it has none.
QStringList OwnEntityTypeNames(const QString& settingsPath, int count, const QString& gameRoot);

} // namespace vorn
