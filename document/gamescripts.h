#pragma once
// The game's event scripts as the checks, the script window and vorn-tool's
// find read them: each stage's script, and the three shared ones.
#include "filestamp.h"
#include "game.h"
#include "outcome.h"
#include "scriptcheck.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vorn {

// "data\Head.tsc", whose events run before every stage script's.
QString HeadScriptName();
// Head.tsc, then the inventory's and the teleporter menu's scripts.
QStringList SharedScriptNames();

// Reads a script ("data\stage\Cave.tsc") and unscrambles it. Refused,
// naming the file, when it is missing, not a regular file in the game, or
// too large to be a script.
Outcome ReadDecodedScript(const GameFolder& folder, const QString& builtName, QByteArray& decoded);
// Scrambles `decoded` and replaces the file atomically; an empty text is refused.
Outcome WriteDecodedScript(const GameFolder& folder, const QString& builtName, const QByteArray& decoded);

// The findable event numbers of a decoded script, in script order.
std::vector<int> EventNumbersOf(const QByteArray& decoded);

// What checking a script needs to know of the rest of the game, read from
// disk once and kept. The game must outlive it, and it must outlive the
// contexts it gives: their stageEvents reads through it.
class GameScripts {
public:
    explicit GameScripts(const Game& game)
        : game_(game)
    {
    }

    // The script stage `stage` names ("data\stage\Cave.tsc"); empty when its
    // record holds no plain map name.
    QString stageScriptName(int stage) const;
    // A stage script's events; nullopt when it cannot be read.
    std::optional<std::vector<int>> stageEvents(int stage) const;
    // The events of any script ("data\Head.tsc"); nullopt when it cannot be read.
    std::optional<std::vector<int>> scriptEvents(const QString& builtName) const;

    // The context for checking a stage's script, with its entities' events.
    ScriptContext stageContext(std::vector<int> entityEvents) const;
    // The context for a shared script: loaded alone, so Head.tsc does not count.
    ScriptContext sharedContext() const;
    // The context for the script `builtName`: a stage script for the first
    // stage naming it, Head.tsc or another shared script.
    ScriptContext contextFor(const QString& builtName, std::vector<int> entityEvents = {}) const;
    int stageCount() const { return game_.stageCount(); }
    // The stage whose script `builtName` is; -1 for none.
    int stageOfScript(const QString& builtName) const;

    // Drops what was read of a script, after it was written.
    void forget(const QString& builtName);

private:
    struct Read {
        bool ok = false;
        std::vector<int> events;
        int size = 0;
        QString path; // where it was found
        FileStamp stamp; // as it was then: another stamp, and it is read again
    };
    const Read& read(const QString& builtName) const;

    const Game& game_;
    mutable QHash<QString, Read> read_; // by built name, case folded
};

} // namespace vorn
