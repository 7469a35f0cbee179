#pragma once
// Cells and entities drawn over the map as they would land, before they do:
// a floating copy, a block brush under the pointer.
#include "entityfile.h"
#include "tileblock.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <vector>

namespace vorn {

class StageDocument;

// `cells` with its top-left on cell `at`, tiles as the palette shows them,
// seen through; then `entities` (already on map cells) as sprites or as
// markers.
void DrawCellsPreview(QImage& target, const QRect& area, int zoom, const StageDocument& stage, const TileBlock& cells,
                      QPoint at, const std::vector<EntityRecord>& entities, bool sprites);

} // namespace vorn
