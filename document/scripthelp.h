#pragma once
// What a script window tells of the command or argument under the pointer,
// and the command list it offers after '<'.
#include "game.h"
#include "gamescripts.h"
#include "scriptcheck.h"

#include <QString>

#include <functional>
#include <vector>

namespace vorn {

// An entity of the stage, as the help names it.
struct ScriptHelpEntity {
    int index = 0;
    int type = 0;
    int x = 0, y = 0;
    int event = 0;
};

struct ScriptHelpSources {
    const Game* game = nullptr;
    const GameScripts* scripts = nullptr;
    std::function<QString(int type)> typeName; // "" when unnamed
    std::function<std::vector<ScriptHelpEntity>(int stage)> entities; // the stage's entities
};

// "event", "flag", "entity type", ...
QString ScriptArgKindName(ScriptArgKind kind);

// The help for what is at byte `offset` of the parsed script of `stage`
// (-1 for a shared script): a command's summary and its arguments by kind,
// or what an argument names. Empty over plain text.
QString ScriptHelpAt(const ParsedScript& parsed, int offset, int stage, const ScriptHelpSources& sources);

// "<TRA0000:0000:0000:0000": the command as typed, with placeholders.
QString ScriptCommandTemplate(const ScriptCommandInfo& info);

} // namespace vorn
