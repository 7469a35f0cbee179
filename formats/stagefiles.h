#pragma once
// A stage's files, named as messages name them ("data\stage\Cave.pxm"):
// built here, and nowhere else, from the names its record holds.
#include "outcome.h"
#include "stagetable.h"

#include <QString>

namespace vorn {

struct StageFiles {
    // The record's names, cut at the first NUL and decoded.
    QString tilesetName, mapName, backdropName;
    QString tileset, map, backdrop, entities;
    QString script, plainScript; // ".tsc" and the ".txt" Decode makes of it
    QString tileTypes; // "data\stage\<tileset>.pxa", shared by the tileset's stages
    // The stage's two entity sheets ("data\npc\npc<name>.pbm"); a second
    // sheet named "0" or nothing is none, and its file stays empty.
    QString npcSheet1Name, npcSheet2Name;
    QString npcSheet1, npcSheet2;
    QString pictureExtension = QStringLiteral("pbm"); // the game's, without the dot
};

// The files named after map `mapName`: map, entities and both scripts
// (the names and files of the tileset and backdrop stay empty).
StageFiles MapFilesOf(const QString& mapName);

// The names and files of `record` (stage `stage`), pictures named with the
// game's extension. Fills `out` whatever the names; refused for the first
// name, in the order tileset, map, backdrop, that is not a plain file name.
Outcome StageFilesOf(int stage, const StageRecord& record, StageFiles& out,
                     const QString& pictureExtension = QStringLiteral("pbm"));

} // namespace vorn
