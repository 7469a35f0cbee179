#pragma once
// Where an entity's resting frame comes from and where it goes: the sheet
// and view box from the game's npc.tbl, the frame from what the program
// knows of the shipped types.
#include "entityspawn.h"
#include "entitytypes.h"
#include "npctable.h"
#include "stagefiles.h"

#include <optional>

namespace vorn {

struct EntitySprite {
    quint8 sheet = 0; // SheetNumber
    SheetFrame frame; // in the sheet
    // The frame's top-left corner from the top-left of the entity's cell,
    // in map pixels at 16 a cell.
    int offsetX = 0, offsetY = 0;
};

// The shipped type whose frames `type` is drawn with: its own, or for a type
// a mod added, the one it copied; -1 for none.
int DrawnAs(int type, const NpcTable& table);

// The sprite of an entity of `type` facing right or left. The sheet and
// view box come from `table` for the types it holds; without a table, or
// beyond it, from the shipped sheet with the frame centred on the cell.
// A type past the shipped ones takes the frames of its row's drawnAs. None
// for a type the program has no frame for, or whose frame is empty.
std::optional<EntitySprite> SpriteOf(int type, bool facingRight, const NpcTable& table);
// What the game draws of it first after the stage loads: SpriteOf, moved
// and on another frame where the type's first-frame look says so, on the
// frame `event` picks for types that choose by it; none where it draws
// nothing then.
std::optional<EntitySprite> FirstFrameSpriteOf(int type, bool facingRight, quint16 event, const NpcTable& table);

// The file of sheet `sheet` for the stage of `files` ("data\npc\npcsym.pbm",
// the stage's tileset, its NPC sheets); empty for a sheet number no file
// belongs to and for a stage sheet the stage has none of.
QString SheetFileOf(int sheet, const StageFiles& files);

} // namespace vorn
