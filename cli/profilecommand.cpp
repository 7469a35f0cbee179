// vorn-tool profile: a save file that starts the game in a stage at a cell,
// for play-testing from the title screen's "Load".
#include "command.h"

#include "mapfile.h"
#include "playplace.h"
#include "profile.h"
#include "safewrite.h"

#include <unistd.h>

namespace vorn::cli {
namespace {

class ProfileCommand : public Command {
public:
    QString name() const override { return QStringLiteral("profile"); }
    QString synopsis() const override { return QStringLiteral("profile STAGE X Y -o FILE"); }
    QString summary() const override { return QStringLiteral("write a save file that starts in a stage at a cell"); }
    QString description() const override
    {
        return QStringLiteral(
            "Writes a Profile.dat that puts the player in the stage at cell X, Y of its map, facing right: the "
            "game folder's own Profile.dat with only the stage and place changed (its life, weapons, items, "
            "equipment, flags and music kept), or, when the folder has none, a fresh one with life 3 of 3 and "
            "nothing else. The file is replaced whole; -o - writes it to standard output. The game starts there "
            "from the title screen's Load.");
    }
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addOption(output_);
        parser.addPositionalArgument(QStringLiteral("STAGE"), QStringLiteral("The stage number."));
        parser.addPositionalArgument(QStringLiteral("X"), QStringLiteral("The cell's column."));
        parser.addPositionalArgument(QStringLiteral("Y"), QStringLiteral("The cell's row."));
    }
    Outcome take(const QCommandLineParser& parser) override
    {
        const QStringList arguments = parser.positionalArguments();
        if (arguments.size() != 3)
            return QStringLiteral("name a stage and a cell: STAGE X Y.");
        if (const Outcome parsed = ParseOneStage(arguments.mid(0, 1), place_.stage); !parsed.ok())
            return parsed;
        if (const Outcome parsed = ParseCell(arguments.mid(1), place_); !parsed.ok())
            return parsed;
        if (!parser.isSet(output_) || parser.value(output_).isEmpty())
            return QStringLiteral("name the file to write with -o FILE.");
        path_ = parser.value(output_);
        if (path_ == u"-" && ::isatty(STDOUT_FILENO))
            return QStringLiteral("standard output is a terminal: send it to a file or a program, or name the "
                                  "file with -o FILE.");
        return {};
    }
    Outcome takeGame(const Game& game) override
    {
        QList<int> stages{place_.stage};
        return CheckStageNumbers(game, stages);
    }
    int run(const Game& game) override
    {
        QByteArray bytes;
        Outcome done = CheckPlayPlace(game, place_);
        if (done.ok())
            done = ComposeProfile(game.folder, place_, bytes);
        if (done.ok()) {
            if (path_ == u"-") {
                int code = 0;
                if (!WriteAll(STDOUT_FILENO, bytes.constData(), bytes.size(), code))
                    done = QStringLiteral("Cannot write the save file to standard output: %1.")
                               .arg(QString::fromLocal8Bit(strerror(code)));
            } else {
                done = WriteFileAtomically(path_, path_, bytes);
            }
        }
        if (!done.ok()) {
            PrintError(done.refusal());
            return kFoundWrong;
        }
        const QString wrote = QStringLiteral("stage %1 at (%2, %3): wrote %4")
                                  .arg(place_.stage)
                                  .arg(place_.x)
                                  .arg(place_.y)
                                  .arg(path_ == u"-" ? QStringLiteral("the save file to standard output") : path_);
        path_ == u"-" ? PrintError(wrote) : PrintLine(wrote);
        return kSuccess;
    }

private:
    QCommandLineOption output_{QStringList{QStringLiteral("o"), QStringLiteral("output")},
                               QStringLiteral("The save file to write; - for standard output."),
                               QStringLiteral("FILE")};
    ProfilePlace place_;
    QString path_;
};

} // namespace

std::unique_ptr<Command> MakeProfileCommand() { return std::make_unique<ProfileCommand>(); }

} // namespace vorn::cli
