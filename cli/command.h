#pragma once
// vorn-tool's subcommands. Each reads its own options, is checked for bad
// usage before the game is opened, then runs on the game.
#include "game.h"
#include "outcome.h"
#include "profile.h"

#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace vorn::cli {

enum ExitStatus { kSuccess = 0, kFoundWrong = 1, kBadUsage = 2 };

// The game the tool works on: its folder and its stage table, as the
// editor holds them.
using Game = vorn::Game;

class Command {
public:
    virtual ~Command() = default;
    // "render", and its synopsis after "vorn-tool [-C DIR] ".
    virtual QString name() const = 0;
    virtual QString synopsis() const = 0;
    virtual QString summary() const = 0; // one line for the program's help
    virtual QString description() const = 0;
    virtual void addOptions(QCommandLineParser& parser) = 0;
    // Takes the parsed options and arguments; refused, with the usage
    // error, when they do not fit.
    virtual Outcome take(const QCommandLineParser& parser) = 0;
    // Checks the parsed arguments against the opened game (its stage count);
    // refused, with the usage error, when they do not fit it.
    virtual Outcome takeGame(const Game& game)
    {
        (void)game;
        return {};
    }
    virtual int run(const Game& game) = 0;
};

std::unique_ptr<Command> MakeStagesCommand();
std::unique_ptr<Command> MakeStageCommand();
std::unique_ptr<Command> MakeCheckCommand();
std::unique_ptr<Command> MakeScriptCommand(bool decode);
std::unique_ptr<Command> MakeRenderCommand();
std::unique_ptr<Command> MakeEntitiesCommand();
std::unique_ptr<Command> MakeFindCommand();
std::unique_ptr<Command> MakeTypesCommand();
std::unique_ptr<Command> MakeProfileCommand();
std::unique_ptr<Command> MakePlayCommand();

// The settings file the editor reads (vorn.ini), wherever it is.
QString EditorSettingsFile();

// One line on standard output, or on standard error after "vorn-tool: ".
// Line breaks of the editor's messages ("\r\n") become plain ones; every
// other control character is written as an escape ("\t", "\n", "\r",
// "\x1b"), so that nothing read from the game reaches the terminal raw.
void PrintLine(const QString& text);
void PrintError(const QString& text);
// One line of cells separated by tabs, each escaped as PrintLine does.
void PrintCells(const QStringList& cells);
// Rows of cells (already escaped) in columns two blanks apart, as wide as
// a terminal shows them; the columns in `numbers` to the right.
void PrintColumns(const QList<QStringList>& rows, const QList<int>& numbers);
// A text as a cell of such a line: the same escapes, and a backslash as
// "\\", so that a cell reads back unambiguously.
QString EscapedCell(const QString& text);

// Stage numbers as typed, 0 to 999, each kept once in the order given.
// Refused, with the usage error, for anything else.
Outcome ParseStageNumbers(const QStringList& arguments, QList<int>& stages);
// Refused, with the usage error, for a stage the game's table lacks; an
// empty list becomes every stage when `everyWhenNone`.
Outcome CheckStageNumbers(const Game& game, QList<int>& stages, bool everyWhenNone = false);
// Exactly one stage number.
Outcome ParseOneStage(const QStringList& arguments, int& stage);
// A cell as typed, "X Y", each 0 to 512; the place's stage is left.
Outcome ParseCell(const QStringList& arguments, ProfilePlace& place);

} // namespace vorn::cli
