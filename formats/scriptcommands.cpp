#include "scriptcommands.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace vorn {
namespace {

using K = ScriptArgKind;

struct Row {
    const char* code;
    int argCount;
    std::array<ScriptArgKind, 4> kinds;
    bool endsEvent;
    const char* summary;
};

constexpr Row kRows[] = {
    {"END", 0, {}, true, "End the event; give control back to the player and clear the face"},
    {"LI+", 1, {K::Life}, false, "Restore player health by N (not above max health)"},
    {"ML+", 1, {K::Life}, false, "Raise max health by N (max 232) and current health by N"},
    {"AE+", 0, {}, false, "Refill the ammo of every owned weapon"},
    {"IT+", 1, {K::Item}, false, "Add item N to the inventory (if absent); plays sound 38"},
    {"IT-", 1, {K::Item}, false, "Remove item N from the inventory"},
    {"EQ+", 1, {K::Equip}, false, "Turn on equipment bits N (bitmask 1,2,4..256)"},
    {"EQ-", 1, {K::Equip}, false, "Turn off equipment bits N (bitmask)"},
    {"AM+", 2, {K::Weapon, K::Ammo}, false, "Give weapon W and add X to its max/current ammo; plays sound 38"},
    {"AM-", 1, {K::Weapon}, false, "Remove weapon N"},
    {"ZAM", 0, {}, false, "Reset every weapon to level 1 with no experience"},
    {"TAM", 3, {K::Weapon, K::Weapon, K::Ammo}, false, "Turn owned weapon A into weapon B (level 1), adding C ammo"},
    {"PS+", 2, {K::Number, K::Event}, false, "Add teleporter slot for location N that runs event E when chosen"},
    {"MP+", 1, {K::MapFlag}, false, "Mark stage N's map as obtained (used by MPJ)"},
    {"UNI", 1, {K::Number}, false, "Set player movement mode (0 normal, 1 current/stream)"},
    {"STC", 0, {}, false, "Save the time-counter record if the counter item is equipped"},
    {"TRA", 4, {K::Stage, K::Event, K::X, K::Y}, true, "Load stage N, start event E, put player at tile X,Y"},
    {"MOV", 2, {K::X, K::Y}, false, "Move the player to tile X,Y"},
    {"HMC", 0, {}, false, "Hide the player character"},
    {"SMC", 0, {}, false, "Show the player character"},
    {"FL+", 1, {K::Flag}, false, "Set flag N"},
    {"FL-", 1, {K::Flag}, false, "Clear flag N"},
    {"SK+", 1, {K::SkipFlag}, false, "Set skip flag N (64 flags, not saved, cleared only at start-up)"},
    {"SK-", 1, {K::SkipFlag}, false, "Clear skip flag N"},
    {"KEY", 0, {}, false, "Lock player input and hide HUD; world keeps moving"},
    {"PRI", 0, {}, false, "Freeze the world and lock player input"},
    {"FRE", 0, {}, false, "Unfreeze the world and give input back (script keeps running)"},
    {"NOD", 0, {}, false, "Wait for OK/Cancel key, showing the blinking cursor"},
    {"CLR", 0, {}, false, "Clear the text in the message box"},
    {"MSG", 0, {}, false, "Open the framed message box at the bottom (clears text)"},
    {"MS2", 0, {}, false, "Open frameless text at the top and hide the face (clears text)"},
    {"MS3", 0, {}, false, "Open the framed message box at the top (clears text)"},
    {"WAI", 1, {K::Ticks}, false, "Pause the script N frames (9999 = forever)"},
    {"WAS", 0, {}, false, "Pause the script until the player stands on ground"},
    {"TUR", 0, {}, false, "Show following text instantly, a line at a time (until box reset)"},
    {"SAT", 0, {}, false, "From the next MSG/MS2/MS3 on, show text instantly (sticky)"},
    {"CAT", 0, {}, false, "Same as SAT"},
    {"CLO", 0, {}, false, "Close the message box"},
    {"EVE", 1, {K::Event}, true, "Jump to event N"},
    {"YNJ", 1, {K::Event}, true, "Show Yes/No prompt; jump to event N if No is chosen"},
    {"FLJ", 2, {K::Flag, K::Event}, true, "If flag X is set, jump to event Y"},
    {"SKJ", 2, {K::SkipFlag, K::Event}, true, "If skip flag X is set, jump to event Y"},
    {"ITJ", 2, {K::Item, K::Event}, true, "If item X is owned, jump to event Y"},
    {"AMJ", 2, {K::Weapon, K::Event}, true, "If weapon X is owned, jump to event Y"},
    {"UNJ", 2, {K::Number, K::Event}, true, "If player movement mode equals X, jump to event Y"},
    {"ECJ", 2, {K::EntityEvent, K::Event}, true, "If an active entity has event number X, jump to event Y"},
    {"NCJ", 2, {K::EntityType, K::Event}, true, "If an active entity of type X exists, jump to event Y"},
    {"MPJ", 1, {K::Event}, true, "If the current stage's map is marked (MP+), jump to event N"},
    {"SSS", 1, {K::Number}, false, "Start looping stream noise with frequency N"},
    {"CSS", 0, {}, false, "Stop stream/propeller noise"},
    {"SPS", 0, {}, false, "Start looping propeller noise"},
    {"CPS", 0, {}, false, "Stop stream/propeller noise (same as CSS)"},
    {"QUA", 1, {K::Ticks}, false, "Shake the screen for N frames"},
    {"FLA", 0, {}, false, "Flash the screen"},
    {"FAI", 1, {K::Direction}, false, "Fade in from direction N (0-4); script waits until done"},
    {"FAO", 1, {K::Direction}, false, "Fade out toward direction N (0-4); script waits until done"},
    {"MNA", 0, {}, false, "Show the current stage's name"},
    {"FOM", 1, {K::Number}, false, "Camera follows the player; N = speed divisor (larger = slower)"},
    {"FON", 2, {K::EntityEvent, K::Number}, false, "Camera follows entity with event number X; Y = speed divisor"},
    {"FOB", 2, {K::Number, K::Number}, false, "Camera follows boss part X; Y = speed divisor"},
    {"SOU", 1, {K::Sound}, false, "Play sound effect N"},
    {"CMU", 1, {K::Music}, false, "Change music to track N (0 = silence)"},
    {"FMU", 0, {}, false, "Fade out the music"},
    {"RMU", 0, {}, false, "Resume the previous track at its saved position"},
    {"MLP", 0, {}, false, "Show the map screen (script waits until it closes)"},
    {"SLP", 0, {}, true, "Teleporter menu; jump to the chosen slot's event (0 if cancelled)"},
    {"DNP", 1, {K::EntityEvent}, false, "Remove every entity with event number N (sets their flags)"},
    {"DNA", 1, {K::EntityType}, false, "Remove every entity of type N with smoke (sets their flags)"},
    {"BOA", 1, {K::Number}, false, "Set the boss's action state to N"},
    {"CNP",
     3,
     {K::EntityEvent, K::EntityType, K::Direction},
     false,
     "Change entities with event number X into type Y, direction Z"},
    {"ANP",
     3,
     {K::EntityEvent, K::Number, K::Direction},
     false,
     "Set action state Y and direction Z of entity with event no. X"},
    {"INP",
     3,
     {K::EntityEvent, K::EntityType, K::Direction},
     false,
     "Like CNP, also makes it interactable (see syntax notes)"},
    {"SNP",
     4,
     {K::EntityType, K::X, K::Y, K::Direction},
     false,
     "Spawn an entity of type W at tile X,Y with direction Z"},
    {"MNP",
     4,
     {K::EntityEvent, K::X, K::Y, K::Direction},
     false,
     "Move entity with event number W to tile X,Y, direction Z"},
    {"SMP", 2, {K::X, K::Y}, false, "Decrease the tile index at tile X,Y by one"},
    {"CMP", 3, {K::X, K::Y, K::Number}, false, "Set tile X,Y to tile index Z, with smoke"},
    {"BSL", 1, {K::EntityEvent}, false, "Show boss health bar for entity with event number N (0 = boss)"},
    {"MYD", 1, {K::Direction}, false, "Turn player (0 left, 2 right; >=10 face entity with that event no.)"},
    {"MYB", 1, {K::Direction}, false, "Player hops back (0/2 = facing dir; else away from entity N)"},
    {"MM0", 0, {}, false, "Stop the player's horizontal movement"},
    {"INI", 0, {}, true, "Reset the game and start a new one (stage 13, event 200)"},
    {"SVP", 0, {}, false, "Save the game"},
    {"LDP", 0, {}, true, "Load the saved game (new game if loading fails)"},
    {"FAC", 1, {K::Face}, false, "Show face picture N in the message box (0 = none)"},
    {"GIT", 1, {K::Item}, false, "Show item picture: N<1000 weapon N, N>=1000 item N-1000 (0 hides)"},
    {"NUM", 1, {K::Number}, false, "Type a stored number (index 0 = ammo value of the last AM+)"},
    {"CRE", 0, {}, false, "Start the credits"},
    {"SIL", 1, {K::Illustration}, false, "Show credits illustration N"},
    {"CIL", 0, {}, false, "Slide the credits illustration away"},
    {"XX1", 1, {K::Number}, false, "Play the island-falling scene (mode 0 or 1); waits until done"},
    {"ESC", 0, {}, true, "Quit to the opening/title sequence"},
};

bool HasKind(const Row& row, std::initializer_list<ScriptArgKind> wanted)
{
    for (int i = 0; i < row.argCount; ++i)
        if (std::find(wanted.begin(), wanted.end(), row.kinds[i]) != wanted.end())
            return true;
    return false;
}

bool OneOf(std::string_view code, std::initializer_list<std::string_view> codes)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// Jumps and anything that decides where the script goes are flow; after that
// the argument kinds decide, and the few commands without telling arguments
// are listed by code.
ScriptCategory CategoryOf(const Row& row)
{
    const std::string_view code = row.code;
    if (row.endsEvent || HasKind(row, {K::Event}) || OneOf(code, {"KEY", "PRI", "FRE", "WAI", "WAS", "SVP", "STC"}))
        return ScriptCategory::Flow;
    if (HasKind(row, {K::Flag, K::SkipFlag, K::MapFlag}))
        return ScriptCategory::Flags;
    if (HasKind(row, {K::Sound, K::Music}) || OneOf(code, {"FMU", "RMU", "SSS", "CSS", "SPS", "CPS"}))
        return ScriptCategory::Sound;
    if (HasKind(row, {K::Face}) ||
        OneOf(code, {"NOD", "CLR", "MSG", "MS2", "MS3", "TUR", "SAT", "CAT", "CLO", "GIT", "NUM"}))
        return ScriptCategory::Message;
    if (HasKind(row, {K::Item, K::Weapon, K::Ammo, K::Equip, K::Life}) || OneOf(code, {"AE+", "ZAM"}))
        return ScriptCategory::ItemsWeapons;
    // Camera commands name entities, and fades take a direction, as entity
    // commands do: they are sorted out first.
    if (OneOf(code, {"FON", "FOB", "FOM", "FAI", "FAO"}))
        return ScriptCategory::MapCamera;
    if (HasKind(row, {K::EntityEvent, K::EntityType, K::Direction}) ||
        OneOf(code, {"BOA", "HMC", "SMC", "MOV", "UNI", "MM0"}))
        return ScriptCategory::Entities;
    return ScriptCategory::MapCamera;
}

struct Table {
    std::array<ScriptCommandInfo, std::size(kRows)> commands;
    std::array<std::uint32_t, std::size(kRows)> sortedKeys;
    std::array<std::uint8_t, std::size(kRows)> sortedIndex;
};

std::uint32_t Key(const char* code)
{
    return (std::uint32_t(std::uint8_t(code[0])) << 16) | (std::uint32_t(std::uint8_t(code[1])) << 8) |
           std::uint8_t(code[2]);
}

const Table& TheTable()
{
    static const Table table = [] {
        Table t{};
        std::array<std::pair<std::uint32_t, std::uint8_t>, std::size(kRows)> keys{};
        for (std::size_t i = 0; i < std::size(kRows); ++i) {
            const Row& row = kRows[i];
            ScriptCommandInfo& info = t.commands[i];
            std::memcpy(info.code, row.code, 4);
            info.argCount = row.argCount;
            info.kinds = row.kinds;
            info.endsEvent = row.endsEvent;
            info.summary = row.summary;
            info.category = CategoryOf(row);
            keys[i] = {Key(row.code), std::uint8_t(i)};
        }
        std::sort(keys.begin(), keys.end());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            t.sortedKeys[i] = keys[i].first;
            t.sortedIndex[i] = keys[i].second;
        }
        return t;
    }();
    return table;
}

} // namespace

bool ScriptCommandInfo::AlwaysLeaves() const
{
    // The conditional jumps and YNJ can also carry on, so only these count.
    return OneOf(code, {"END", "EVE", "TRA", "ESC", "INI", "LDP", "SLP"});
}

std::span<const ScriptCommandInfo> ScriptCommands() { return TheTable().commands; }

const ScriptCommandInfo* FindScriptCommand(QByteArrayView code)
{
    if (code.size() != 3)
        return nullptr;
    const Table& t = TheTable();
    const std::uint32_t key = Key(code.data());
    const auto it = std::lower_bound(t.sortedKeys.begin(), t.sortedKeys.end(), key);
    if (it == t.sortedKeys.end() || *it != key)
        return nullptr;
    return &t.commands[t.sortedIndex[it - t.sortedKeys.begin()]];
}

} // namespace vorn
