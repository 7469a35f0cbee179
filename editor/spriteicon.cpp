#include "spriteicon.h"

#include "entitysprite.h"

namespace vorn {

QImage RestingSprite(int type, const NpcTable& table, const SpriteSheets* sheets)
{
    const std::optional<EntitySprite> sprite = SpriteOf(type, false, table);
    if (!sheets || !sprite)
        return {};
    const auto found = sheets->byNumber.find(sprite->sheet);
    if (found == sheets->byNumber.end() || found->second.isNull())
        return {};
    const QRect frame(sprite->frame.left, sprite->frame.top, sprite->frame.width(), sprite->frame.height());
    if ((frame & found->second.rect()).isEmpty())
        return {};
    // Black is transparent in every sheet.
    QImage image = found->second.copy(frame).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0x00FFFFFFu) == 0)
                line[x] = 0;
    }
    return image;
}

QImage SpriteIcon(int type, const NpcTable& table, const SpriteSheets* sheets, int side)
{
    const QImage sprite = RestingSprite(type, table, sheets);
    if (sprite.isNull() || (sprite.width() <= side && sprite.height() <= side))
        return sprite;
    return sprite.scaled(side, side, Qt::KeepAspectRatio, Qt::FastTransformation);
}

} // namespace vorn
