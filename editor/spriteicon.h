#pragma once
// A type's resting sprite cut from its sheet, as the type lists show it.
#include "npctable.h"
#include "spritedrawing.h"

#include <QImage>

namespace vorn {

// The frame type `type` rests in, black made transparent (ARGB32); null
// when the type has no frame, `sheets` is null or lacks its sheet, or the
// frame lies outside it.
QImage RestingSprite(int type, const NpcTable& table, const SpriteSheets* sheets);
// The same, shrunk to fit `side` x `side` when larger.
QImage SpriteIcon(int type, const NpcTable& table, const SpriteSheets* sheets, int side);

} // namespace vorn
