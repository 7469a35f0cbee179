// vorn-tool play: the game run as the editor's Play runs it, in the game
// folder, or in the play folder starting in a stage at a cell.
#include "command.h"

#include "inifile.h"
#include "playplace.h"

#include <QProcess>
#include <QStandardPaths>

namespace vorn::cli {
namespace {

class PlayCommand : public Command {
public:
    QString name() const override { return QStringLiteral("play"); }
    QString synopsis() const override { return QStringLiteral("play [STAGE X Y] [--command CMD]"); }
    QString summary() const override { return QStringLiteral("run the game, or a copy of it starting in a stage"); }
    QString description() const override
    {
        return QStringLiteral(
            "Runs the editor's play command (Command= under [Play] in vorn.ini, else \"wine {exe}\" when wine is "
            "installed) through /bin/sh in the game folder and waits for it; {folder}, {exe} and {data} stand for "
            "the quoted paths. With STAGE X Y it runs in the play folder instead, a copy of the game folder in "
            "the cache with a Profile.dat that starts in the stage at that cell: choose Load in the game. The "
            "game folder is not written.");
    }
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addOption(command_);
        parser.addPositionalArgument(QStringLiteral("[STAGE X Y]"), QStringLiteral("Where the player starts."));
    }
    Outcome take(const QCommandLineParser& parser) override
    {
        const QStringList arguments = parser.positionalArguments();
        if (!arguments.isEmpty()) {
            if (arguments.size() != 3)
                return QStringLiteral("name a stage and a cell, STAGE X Y, or nothing.");
            if (const Outcome parsed = ParseOneStage(arguments.mid(0, 1), place_.stage); !parsed.ok())
                return parsed;
            if (const Outcome parsed = ParseCell(arguments.mid(1), place_); !parsed.ok())
                return parsed;
            here_ = true;
        }
        command_text_ = parser.isSet(command_)
                            ? parser.value(command_)
                            : INIRead(EditorSettingsFile(), QStringLiteral("Play"), QStringLiteral("Command"));
        if (command_text_.trimmed().isEmpty() && !QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty())
            command_text_ = QStringLiteral("wine {exe}");
        if (command_text_.trimmed().isEmpty())
            return QStringLiteral("no play command is set and wine is not installed: install it (as root: "
                                  "dpkg --add-architecture i386; apt-get update; apt-get install wine wine32), or "
                                  "give the command with --command.");
        return {};
    }
    Outcome takeGame(const Game& game) override
    {
        if (!here_)
            return {};
        QList<int> stages{place_.stage};
        return CheckStageNumbers(game, stages);
    }
    int run(const Game& game) override
    {
        QString folder = game.folder.root();
        if (here_) {
            Outcome done = CheckPlayPlace(game, place_);
            if (done.ok())
                done = PreparePlayFolder(game, place_, {}, folder);
            if (!done.ok()) {
                PrintError(done.refusal());
                return kFoundWrong;
            }
            PrintError(QStringLiteral("Playing stage %1 at (%2, %3): choose Load in the game.")
                           .arg(place_.stage)
                           .arg(place_.x)
                           .arg(place_.y));
        }
        const PlayPaths paths = PlayPathsIn(folder);
        QProcess game_process;
        game_process.setProcessChannelMode(QProcess::ForwardedChannels);
        game_process.setInputChannelMode(QProcess::ForwardedInputChannel);
        game_process.setWorkingDirectory(folder);
        game_process.start(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), ExpandPlayCommand(command_text_, paths.folder, paths.exe, paths.data)});
        if (!game_process.waitForStarted(-1) || !game_process.waitForFinished(-1)) {
            PrintError(QStringLiteral("Cannot run the game: %1.").arg(game_process.errorString()));
            return kFoundWrong;
        }
        if (game_process.exitStatus() != QProcess::NormalExit || game_process.exitCode() != 0) {
            PrintError(QStringLiteral("The game ended with exit status %1.")
                           .arg(game_process.exitStatus() == QProcess::NormalExit ? game_process.exitCode() : 255));
            return kFoundWrong;
        }
        return kSuccess;
    }

private:
    QCommandLineOption command_{QStringLiteral("command"),
                                QStringLiteral("The play command, instead of the one vorn.ini sets."),
                                QStringLiteral("CMD")};
    ProfilePlace place_;
    bool here_ = false;
    QString command_text_;
};

} // namespace

std::unique_ptr<Command> MakePlayCommand() { return std::make_unique<PlayCommand>(); }

} // namespace vorn::cli
