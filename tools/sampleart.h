#pragma once
// The sample game's pixel art: tilesets, backdrops and sprite sheets, all
// drawn here from simple shapes.
#include "pixelimage.h"

namespace vorn::sample {

PixelImage GrottoTileset();  // 256 x 240, 16 colours
PixelImage FoundryTileset(); // 256 x 240, 256 colours
PixelImage PebbleTileset();  // 128 x 64

PixelImage DuskBackdrop();    // 48 x 64
PixelImage LatticeBackdrop(); // 64 x 64, two colours
PixelImage TideBackdrop();    // 96 x 80
PixelImage EmberBackdrop();   // 40 x 56, 16 colours

PixelImage CommonSprites(); // 128 x 64, 16 colours
PixelImage ForestSprites(); // 64 x 32, two colours
PixelImage MechSprites();   // 96 x 48, 256 colours

} // namespace vorn::sample
