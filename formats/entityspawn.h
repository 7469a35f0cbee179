#pragma once
// What the game draws of an entity on the first frame after its stage loads,
// where that differs from the type's frame at rest: moved, on another frame,
// on a frame its event number picks, or nothing at all.
#include "entitytypes.h"

#include <QString>
#include <optional>

namespace vorn {

// How a type's first frame differs; the kinds join (moved and another frame).
enum SpawnKind : quint8 {
    kSpawnMoved = 0x1,
    kSpawnFrame = 0x2,
    kSpawnByEvent = 0x4,
    kSpawnHidden = 0x8,
};

struct SpawnLook {
    qint16 type;
    quint8 kinds;
    // Pixels right and down, facing left and facing right. Where the game
    // moves it toward the player, 0: the editor has no player to follow.
    qint16 dx, dy, rightDx, rightDy;
    // The first frame facing left and right; empty where nothing is drawn.
    // Where the game picks at random or by the player's place, the likeliest.
    SheetFrame left, right;
};

// Type `type`'s first-frame look; nullptr where it is the frame at rest.
const SpawnLook* SpawnLookOf(int type);

// What the game draws first of an entity of a type that has a SpawnLook.
struct FirstFrame {
    SheetFrame frame; // empty: nothing drawn
    int dx = 0, dy = 0;
};
FirstFrame FirstFrameOf(const SpawnLook& look, bool facingRight, quint16 event);

// One line for an entity's tooltip when its first frame is moved, hidden
// or picked by its event number ("Drawn 3 px lower: the game moves it on
// its first frame"); empty otherwise.
QString FirstFrameNote(int type, bool facingRight, quint16 event);

// Types that only work spawned by another entity: placed from a stage file
// they have no parent, and the game crashes on their first tick.
bool CrashesWhenPlaced(int type, bool facingRight);

} // namespace vorn
