#pragma once
// Entities drawn as the game shows them at rest: each entity's frame from its
// sheet, centred as the type table says, scaled with the map by the same
// pixel repetition. Black in a sheet is transparent.
#include "entityfile.h"
#include "entitysprite.h"
#include "gamefolder.h"
#include "mapdrawing.h"
#include "npctable.h"
#include "stagefiles.h"

#include <QImage>
#include <QRect>
#include <QStringList>
#include <map>
#include <optional>

namespace vorn {

// The sheets one stage's sprites come from, by sheet number (RGB32). A
// sheet that is missing, refused or unreadable is absent: its entities show
// the marker instead.
struct SpriteSheets {
    std::map<int, QImage> byNumber;
    QStringList problems; // one line per sheet that did not load, with why
};

// Reads the shared sheets and the stage's NPC sheets through `game`; the
// stage's tileset is `tileset`, as the stage opened with it.
SpriteSheets LoadSpriteSheets(const GameFolder& game, const StageFiles& files, const QImage& tileset);

// An entity's frame, ready to draw: the sheet, the part of it, and where
// its top-left goes in map pixels at 16 a cell.
struct PlacedSprite {
    const QImage* sheet = nullptr;
    QRect frame; // within the sheet
    QPoint topLeft;
};
// At rest, or as the game draws it on the first frame after the stage
// loads (FirstFrameSpriteOf).
enum class SpriteMoment { AtRest, FirstFrame };
// None when the type has no frame, its sheet is absent, or its frame lies
// wholly outside the sheet: the entity then shows the marker.
std::optional<PlacedSprite> PlaceSprite(const EntityRecord& record, const SpriteSheets& sheets, const NpcTable& table,
                                        SpriteMoment moment = SpriteMoment::AtRest);

// Draws the sprites of records 0 to count - 1, later over earlier, into
// `target`, which holds `area` of the map at `zoom` in its top-left; nothing
// beyond the map of `mapSize` (pixels at the zoom) is drawn. With
// `gameOrder`, whose looks are set and which `target` already shows, each
// sprite is on its first frame and stays behind what the game draws in
// front of the entities.
void DrawSprites(QImage& target, const QRect& area, int zoom, const QSize& mapSize, int count,
                 const EntityRecords& records, const SpriteSheets& sheets, const NpcTable& table,
                 const MapScene* gameOrder = nullptr);

// The tile looks for the game's order over a stage: its tile types, the
// star and the current dots from `sheets`.
TileLooks GameTileLooks(const MapScene& scene, const TileTypes& types, const SpriteSheets& sheets);

// Type `type`'s sprite at rest facing left, cut from its sheet with black
// made transparent, for lists and pickers; null when it has none.
QImage TypeSpriteImage(int type, const SpriteSheets& sheets, const NpcTable& table);

} // namespace vorn
