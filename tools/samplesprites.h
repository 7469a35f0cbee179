#pragma once
// The sample game's entity sheets: pictures of its own at the resting frames
// of the entity types the sample places, facing left, and mirrored at the
// facing-right frame where the type has one of its own.
#include "pixelimage.h"

#include <vector>

namespace vorn::sample {

// The types the sample places whose frames lie on sheet `sheet` (a sheet
// number), ascending. Type 0 is among those of NpcSym but its cell stays
// black, as in the game; the tileset's types show the tileset's own tiles.
std::vector<int> CastOn(int sheet);

// Each just large enough for its frames; black is transparent.
PixelImage NpcSymSheet(); // 16 colours
PixelImage NpcReguSheet(); // 16 colours
PixelImage MyCharSheet(); // 16 colours
PixelImage CaretSheet(); // 16 colours
PixelImage ItemImageSheet(); // 16 colours
// The stage sheets: each holds the frames of both stage sheet numbers, so
// any of them serves a stage as its first or its second sheet.
PixelImage CommonSprites(); // 16 colours
PixelImage ForestSprites(); // two colours: silhouettes, the eye a hole
PixelImage MechSprites(); // 256 colours

} // namespace vorn::sample
