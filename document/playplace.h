#pragma once
// Play-testing a stage: where the player may start, and the folder the
// game runs from, the game folder's copy with the editor's state in it.
#include "game.h"
#include "outcome.h"
#include "playfolder.h"
#include "profile.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace vorn {

// Refused, with the reason, when the stage's map does not load or the cell
// lies outside it.
Outcome CheckPlayPlace(const Game& game, const ProfilePlace& place);

// A file written over its copy in the play folder: what the editor holds
// and has not saved. `builtName` as the game builds it ("data\stage\X.pxm").
struct PlayOverlay {
    QString builtName;
    QByteArray bytes;
};

// The paths the play command's placeholders stand for, in `root`.
struct PlayPaths {
    QString folder, exe, data;
};
PlayPaths PlayPathsIn(const QString& root);

// Makes the game's play folder (PlayFolderFor) a copy of the game folder,
// writes `overlays` over their copies, and a Profile.dat starting at
// `place` made from the game folder's own. Nothing in the game folder is
// written. `playRoot` gets the folder. Refused with the reason when
// anything cannot be copied or written.
Outcome PreparePlayFolder(const Game& game, const ProfilePlace& place, const std::vector<PlayOverlay>& overlays,
                          QString& playRoot, MirrorCount* count = nullptr);

} // namespace vorn
