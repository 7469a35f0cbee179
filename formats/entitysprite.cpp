#include "entitysprite.h"

namespace vorn {

std::optional<EntitySprite> SpriteOf(int type, bool facingRight, const NpcTable& table)
{
    const ShippedEntityType* shipped = ShippedType(type);
    // A type a mod added is drawn with the frames of the type it copied.
    if (!shipped && type >= 0 && size_t(type) < table.size())
        shipped = ShippedType(table[size_t(type)].drawnAs);
    if (!shipped)
        return std::nullopt;
    EntitySprite sprite;
    sprite.frame = facingRight ? shipped->right : shipped->left;
    if (sprite.frame.isEmpty())
        return std::nullopt;
    // The game puts the entity's centre on the cell's centre, 8 pixels in.
    if (size_t(type) < table.size()) {
        const NpcType& row = table[size_t(type)];
        sprite.sheet = row.sheet;
        sprite.offsetX = 8 - (facingRight ? row.view.back : row.view.front);
        sprite.offsetY = 8 - row.view.top;
    } else {
        sprite.sheet = shipped->sheet;
        sprite.offsetX = 8 - sprite.frame.width() / 2;
        sprite.offsetY = 8 - sprite.frame.height() / 2;
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
