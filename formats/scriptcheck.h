#pragma once
// Reads a decoded event script the way the game's interpreter does, and finds
// what would make the game misbehave or quit.
#include "scriptcommands.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace vorn {

// Lines and columns are 1-based; a column counts bytes, so a two-byte
// character takes two. Offsets are 0-based byte positions in the script.
struct ScriptPosition {
    int offset = 0;
    int line = 1;
    int column = 1;
};

struct ScriptEvent {
    int number = 0; // as the game reads it, even from non-digits
    bool digits = true; // the four bytes after '#' are all digits
    ScriptPosition header; // the '#'
    int bodyOffset = 0; // first byte after the header line
    int endOffset = 0; // the next '#' or the end of the script
    bool findable = true; // false when an earlier header hides it
};

struct ScriptArgument {
    QByteArray text; // the four bytes the game reads, fewer at the very end
    int value = 0; // what the game makes of them
    bool digits = true;
    ScriptPosition position;
};

struct ScriptCommandUse {
    QByteArray code; // the three bytes after '<'
    const ScriptCommandInfo* info = nullptr; // null for an unknown code
    ScriptPosition position; // the '<'
    int length = 0; // bytes the game consumes
    int event = -1; // index into events, -1 before the first
    bool reachable = false; // false after an exit or before any event
    int argumentCount = 0;
    std::array<ScriptArgument, 4> arguments;
};

// Bytes the game types as text, cut at line ends and commands.
struct ScriptText {
    ScriptPosition position;
    int length = 0;
    int event = -1;
    bool reachable = false; // unreachable text works as a note
};

struct ParsedScript {
    std::vector<ScriptEvent> events;
    std::vector<ScriptCommandUse> commands;
    std::vector<ScriptText> texts;
};

ParsedScript ParseScript(const QByteArray& decoded);

// "0090", as scripts write event numbers; a negative one (an entity's
// field can hold it) as it is.
QString ScriptEventName(int number);

struct ScriptFinding {
    int line = 0; // 0 when it concerns the whole script, not a place in it
    int column = 0;
    int offset = -1; // the byte it concerns; -1 with line 0
    bool error = false;
    QString text;
};

struct ScriptContext {
    // Head.tsc's event numbers; a stage script runs after it in one buffer.
    std::vector<int> headEvents;
    // The event numbers of another stage's script, for TRA; nullopt when unknown.
    std::function<std::optional<std::vector<int>>(int stage)> stageEvents;
    int stageCount = 0; // 0: not known
    std::vector<int> entityEvents; // this stage's entities' event numbers
    std::optional<int> headSize; // decoded Head.tsc size, when known
};

// Findings in script order, the whole-script ones first.
std::vector<ScriptFinding> CheckScript(const QByteArray& decoded, const ScriptContext& context);
// The same for a script already parsed (ParseScript of `decoded`).
std::vector<ScriptFinding> CheckScript(const QByteArray& decoded, const ParsedScript& parsed,
                                       const ScriptContext& context);

} // namespace vorn
