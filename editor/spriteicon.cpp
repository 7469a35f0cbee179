#include "spriteicon.h"


namespace vorn {

QImage RestingSprite(int type, const NpcTable& table, const SpriteSheets* sheets)
{
    return sheets ? TypeSpriteImage(type, *sheets, table) : QImage();
}

QImage SpriteIcon(int type, const NpcTable& table, const SpriteSheets* sheets, int side)
{
    const QImage sprite = RestingSprite(type, table, sheets);
    if (sprite.isNull() || (sprite.width() <= side && sprite.height() <= side))
        return sprite;
    return sprite.scaled(side, side, Qt::KeepAspectRatio, Qt::FastTransformation);
}

} // namespace vorn
