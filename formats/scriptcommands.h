#pragma once
// The commands of the game's event scripts: what each takes, whether it can
// leave the event, and a category for highlighting.
#include <QByteArrayView>

#include <array>
#include <cstdint>
#include <span>

namespace vorn {

// What an argument stands for. EntityEvent is an entity's event field, the
// number commands such as CNP use to pick entities out.
enum class ScriptArgKind : std::uint8_t {
    Number,
    Event,
    Flag,
    SkipFlag,
    MapFlag,
    Stage,
    Item,
    Weapon,
    Ammo,
    Equip,
    Life,
    X,
    Y,
    Direction,
    EntityEvent,
    EntityType,
    Sound,
    Music,
    Face,
    Ticks,
    Illustration
};

enum class ScriptCategory : std::uint8_t {
    Flow, // ending, jumping, waiting, input lock, saving
    Message, // message box, text mode, faces, item pictures
    Flags, // flags, skip flags, map flags
    Entities, // entities, the boss and the player character
    ItemsWeapons, // items, weapons, equipment, health
    MapCamera, // stage, tiles, camera, screen effects, credits
    Sound // music and sound effects
};

struct ScriptCommandInfo {
    char code[4]; // three bytes and a NUL, e.g. "MSG"
    int argCount; // 0 to 4
    std::array<ScriptArgKind, 4> kinds; // the first argCount are used
    bool endsEvent; // may leave the event (conditional jumps included)
    const char* summary;
    ScriptCategory category;
    // Leaves the event every time it runs, so nothing after it is reached.
    bool AlwaysLeaves() const;
};

// All 91 commands, in the interpreter's order.
std::span<const ScriptCommandInfo> ScriptCommands();

// The command with exactly these three bytes (case matters), or null.
const ScriptCommandInfo* FindScriptCommand(QByteArrayView code);

} // namespace vorn
