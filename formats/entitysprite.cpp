#include "entitysprite.h"

namespace vorn {

int DrawnAs(int type, const NpcTable& table)
{
    if (ShippedType(type))
        return type;
    if (type >= 0 && size_t(type) < table.size() && ShippedType(table[size_t(type)].drawnAs))
        return table[size_t(type)].drawnAs;
    return -1;
}

namespace {

std::optional<EntitySprite> Place(int type, int sheet, const SheetFrame& frame, bool facingRight, const NpcTable& table)
{
    if (frame.isEmpty())
        return std::nullopt;
    EntitySprite sprite;
    sprite.frame = frame;
    // The game puts the entity's centre on the cell's centre, 8 pixels in.
    if (size_t(type) < table.size()) {
        const NpcType& row = table[size_t(type)];
        sprite.sheet = row.sheet;
        sprite.offsetX = 8 - (facingRight ? row.view.back : row.view.front);
        sprite.offsetY = 8 - row.view.top;
    } else {
        sprite.sheet = quint8(sheet);
        sprite.offsetX = 8 - frame.width() / 2;
        sprite.offsetY = 8 - frame.height() / 2;
    }
    return sprite;
}

} // namespace

std::optional<EntitySprite> SpriteOf(int type, bool facingRight, const NpcTable& table)
{
    const int drawnAs = DrawnAs(type, table);
    if (drawnAs < 0)
        return std::nullopt;
    const ShippedEntityType& shipped = *ShippedType(drawnAs);
    return Place(type, shipped.sheet, facingRight ? shipped.right : shipped.left, facingRight, table);
}

std::optional<EntitySprite> FirstFrameSpriteOf(int type, bool facingRight, quint16 event, const NpcTable& table)
{
    const int drawnAs = DrawnAs(type, table);
    const SpawnLook* look = drawnAs < 0 ? nullptr : SpawnLookOf(drawnAs);
    if (!look)
        return SpriteOf(type, facingRight, table);
    const FirstFrame first = FirstFrameOf(*look, facingRight, event);
    std::optional<EntitySprite> sprite = Place(type, ShippedType(drawnAs)->sheet, first.frame, facingRight, table);
    if (sprite) {
        sprite->offsetX += first.dx;
        sprite->offsetY += first.dy;
    }
    return sprite;
}

QString SheetFileOf(int sheet, const StageFiles& files)
{
    const QString ext = QStringLiteral(".") + files.pictureExtension;
    switch (sheet) {
    case kSheetTileset:
        return files.tileset;
    case kSheetItemImage:
        return QStringLiteral("data\\itemimage") + ext;
    case kSheetMyChar:
        return QStringLiteral("data\\mychar") + ext;
    case kSheetBullet:
        return QStringLiteral("data\\bullet") + ext;
    case kSheetCaret:
        return QStringLiteral("data\\caret") + ext;
    case kSheetNpcSym:
        return QStringLiteral("data\\npc\\npcsym") + ext;
    case kSheetStageNpc1:
        return files.npcSheet1;
    case kSheetStageNpc2:
        return files.npcSheet2;
    case kSheetNpcRegu:
        return QStringLiteral("data\\npc\\npcregu") + ext;
    case kSheetFace:
        return QStringLiteral("data\\face") + ext;
    default:
        return {};
    }
}

} // namespace vorn
