#pragma once
// Cells with the entities standing on them, as copied from a map; the text
// form goes on the system clipboard, so a copy pastes into another stage or
// another running Vorn:
//
//   Vorn cells 1
//   <width> <height>
//   <height lines of width tile numbers, 0 to 255>
//   entities <n>
//   <n lines: x y flag event type bits, x and y from the block's top-left>
//   tileset <name>          (last, and left out by older copies)
#include "entityfile.h"
#include "tileblock.h"

#include <QPoint>
#include <QString>
#include <optional>
#include <vector>

namespace vorn {

// Text longer than this is refused before it is read: no copy of a map
// comes near it, and reading gigabytes would stall the window.
constexpr qsizetype kMaxClipText = 64 * 1024 * 1024;

struct CellsClip {
    TileBlock cells;
    std::vector<EntityRecord> entities; // X and Y from the block's top-left
    QString tileset; // the stage's tileset it was copied from; empty when unknown

    QString toText() const;
    // Nullopt for text that is not such a copy, or is longer than
    // kMaxClipText.
    static std::optional<CellsClip> fromText(const QString& text);
    // The entities with the block's top-left on cell `at` of a map of that
    // size: those that land outside it, on any side, are left out.
    std::vector<EntityRecord> entitiesAt(QPoint at, int mapWidth, int mapHeight) const;
};

} // namespace vorn
