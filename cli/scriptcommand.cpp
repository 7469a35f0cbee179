// vorn-tool decode and encode: the editor's Decode and Encode buttons over
// many stages, with the same codec and the same refusals.
#include "command.h"

#include "script.h"
#include "stagefiles.h"

#include <QSet>

namespace vorn::cli {
namespace {

class ScriptCommand : public Command {
public:
    explicit ScriptCommand(bool decode)
        : decode_(decode)
    {
    }

    QString name() const override { return decode_ ? QStringLiteral("decode") : QStringLiteral("encode"); }
    QString synopsis() const override { return name() + QStringLiteral(" STAGE...|--all [--force]"); }
    QString summary() const override
    {
        return decode_ ? QStringLiteral("turn stage scripts (.tsc) into plain text (.txt)")
                       : QStringLiteral("turn plain text (.txt) back into stage scripts (.tsc)");
    }
    QString description() const override
    {
        return QStringLiteral(
                   "Does what the editor's %1 button does, for each stage named or, with --all, every "
                   "stage: reads data\\stage\\MAP%2 and replaces data\\stage\\MAP%3 whole, and prints one line "
                   "per file written. A missing or empty source, a name that is not a plain file name and a "
                   "target that cannot be written are refused (exit status 1), and so, unless --force is "
                   "given, a target that has changes the source lacks: one that is not older than the "
                   "source and differs from what converting it gives. With --all, stages without a "
                   "source are skipped, saying so. A file that several stages share is written once.")
            .arg(decode_ ? QStringLiteral("Decode") : QStringLiteral("Encode"), source(), target());
    }
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addOption(all_);
        parser.addOption(force_);
        parser.addPositionalArgument(QStringLiteral("STAGE"), QStringLiteral("Stage numbers."),
                                     QStringLiteral("STAGE..."));
    }
    Outcome take(const QCommandLineParser& parser) override
    {
        everyStage_ = parser.isSet(all_);
        overwrite_ = parser.isSet(force_);
        if (const Outcome parsed = ParseStageNumbers(parser.positionalArguments(), stages_); !parsed.ok())
            return parsed;
        if (everyStage_ && !stages_.isEmpty())
            return QStringLiteral("name the stages or give --all, not both.");
        if (!everyStage_ && stages_.isEmpty())
            return QStringLiteral("name the stages, or give --all for every stage.");
        return {};
    }
    Outcome takeGame(const Game& game) override { return CheckStageNumbers(game, stages_, everyStage_); }
    int run(const Game& game) override
    {
        int status = kSuccess;
        QSet<QString> done; // sources, as found
        for (const int stage : stages_) {
            const QString mapName = DecodeAnsi(CutAtNull(game.table[size_t(stage)].map()));
            if (!IsPlainFileName(mapName)) {
                PrintError(PlainNameError(stage, QStringLiteral("map"), mapName));
                status = kFoundWrong;
                continue;
            }
            const StageFiles files = MapFilesOf(mapName);
            const QString from = decode_ ? files.script : files.plainScript;
            const QString found = game.folder.findEntry(from);
            if (found.isEmpty() && everyStage_) {
                PrintLine(QStringLiteral("stage %1: no %2, skipped").arg(stage).arg(from));
                continue;
            }
            if (!found.isEmpty() && done.contains(found))
                continue;
            if (const QString changes = overwrite_ ? QString() : ScriptChangesAtRisk(game.folder, mapName, decode_);
                !changes.isEmpty()) {
                PrintError(QStringLiteral("stage %1: %2; give --force to overwrite it.").arg(stage).arg(changes));
                status = kFoundWrong;
                continue;
            }
            const Outcome converted =
                decode_ ? DecodeScriptFile(game.folder, mapName) : EncodeScriptFile(game.folder, mapName);
            if (!converted.ok()) {
                PrintError(QStringLiteral("stage %1: %2").arg(stage).arg(converted.refusal()));
                status = kFoundWrong;
                continue;
            }
            done.insert(found);
            PrintLine(QStringLiteral("stage %1: wrote %2").arg(stage).arg(decode_ ? files.plainScript : files.script));
        }
        return status;
    }

private:
    QString source() const { return decode_ ? QStringLiteral(".tsc") : QStringLiteral(".txt"); }
    QString target() const { return decode_ ? QStringLiteral(".txt") : QStringLiteral(".tsc"); }

    bool decode_;
    QCommandLineOption all_{QStringLiteral("all"), QStringLiteral("Every stage that has a source.")};
    QCommandLineOption force_{QStringLiteral("force"),
                              QStringLiteral("Overwrite targets that have changes the source lacks.")};
    bool everyStage_ = false;
    bool overwrite_ = false;
    QList<int> stages_;
};

} // namespace

std::unique_ptr<Command> MakeScriptCommand(bool decode) { return std::make_unique<ScriptCommand>(decode); }

} // namespace vorn::cli
