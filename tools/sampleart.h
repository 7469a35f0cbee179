#pragma once
// The sample game's pixel art: tilesets and backdrops, all drawn here from
// simple shapes, and the tile types that fit the tilesets' pictures.
#include "pixelimage.h"

#include <QByteArray>

namespace vorn::sample {

PixelImage GrottoTileset(); // 256 x 240, 16 colours
PixelImage FoundryTileset(); // 256 x 240, 256 colours
PixelImage PebbleTileset(); // 128 x 64

// 256 bytes each, one type per tile; they differ in the type of plain water.
QByteArray GrottoTileTypes();
QByteArray FoundryTileTypes();

PixelImage DuskBackdrop(); // 48 x 64
PixelImage LatticeBackdrop(); // 64 x 64, two colours
PixelImage TideBackdrop(); // 96 x 80
PixelImage EmberBackdrop(); // 40 x 56, 16 colours

} // namespace vorn::sample
