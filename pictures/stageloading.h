#pragma once
// Reading one stage's files the way the editor opens a stage: names from
// its record, the tileset, the map, the backdrop and the entities, each
// found through the game folder and checked before use. The editor and
// vorn-tool both load through here, so they accept and refuse the same
// stages with the same words.
#include "entityfile.h"
#include "gamefolder.h"
#include "mapfile.h"
#include "picture.h"
#include "stagefiles.h"
#include "stagetable.h"

#include <QString>
#include <functional>

namespace vorn {

// The steps of a load, one file each. A picture that is missing or cannot
// be decoded comes back null without a refusal; one that is refused (a
// pipe, an absurd size) carries the reason. A missing map or entity file is
// not refused: `missing` tells, and it reads as a 0 x 0 map or no entities.
// `found`, when given, gets the entry the file was read from (empty when
// there is none).
Picture LoadStageTileset(const GameFolder& game, const StageFiles& files, QString* found = nullptr);
ReadStatus LoadStageMap(const GameFolder& game, const StageFiles& files, MapData& map, QString* found = nullptr);
// The backdrop's largest size follows the map's, in cells.
Picture LoadStageBackdrop(const GameFolder& game, const StageFiles& files, int mapWidth, int mapHeight,
                          QString* found = nullptr);
// Records from the count on keep what `records` held.
ReadStatus LoadStageEntities(const GameFolder& game, const StageFiles& files, qint16& count, EntityRecords& records,
                             QString* found = nullptr);

// Where a stage's files were found in the game folder; empty where missing.
struct FoundFiles {
    QString tileset, map, backdrop, entities;
};

struct LoadedStage {
    StageFiles files;
    FoundFiles found;
    Picture tileset;
    MapData map;
    Picture backdrop;
    qint16 entityCount = 0;
    EntityRecords records{}; // set by the caller: records from the count on stay
};

// Runs the steps in the editor's order, calling `status` with the editor's
// progress text before the tileset, the map and the entities. Refused when
// the stage cannot open; nothing after the refusal is read.
Outcome LoadStage(const GameFolder& game, int stage, const StageRecord& record, LoadedStage& out,
                  const std::function<void(const QString& text)>& status = {});

// Puts stand-ins in the place of pictures that did not load, a black
// 256 x 256 tileset and no backdrop (white), as the stage opens with them.
// Returns the warning that says so, empty when both pictures loaded.
QString UseStandInPictures(LoadedStage& stage);
// The tileset that stands in for one that cannot be read: 256 x 256 black.
QImage StandInTileset();

} // namespace vorn
