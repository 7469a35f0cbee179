// vorn-tool entities: a stage's entities as the editor loads them, each
// with its type's name and the meaning of its bits.
#include "command.h"

#include "entitytypes.h"
#include "inifile.h"
#include "stageloading.h"

namespace vorn::cli {
namespace {

class EntitiesCommand : public Command {
public:
    QString name() const override { return QStringLiteral("entities"); }
    QString synopsis() const override { return QStringLiteral("entities STAGE [--tsv]"); }
    QString summary() const override { return QStringLiteral("list a stage's entities"); }
    QString description() const override
    {
        return QStringLiteral(
            "Lists the entities of the stage's entity file (data\\stage\\MAP.pxe), as many as its count "
            "gives, after a heading line: index, X, Y, flag, event (the entity's script event), type, "
            "the type's name (the one the editor's settings file gives under [Entities], else the "
            "game's own name for it, else none) and the names of the bits set in its last field. An "
            "entity file the editor refuses is refused with the same words; a missing one is a stage "
            "without entities. Control characters in a text are written as escapes (\\t, \\n, \\r, "
            "\\xNN), a backslash as \\\\.");
    }
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addOption(tsv_);
        parser.addPositionalArgument(QStringLiteral("STAGE"), QStringLiteral("The stage number."));
    }
    Outcome take(const QCommandLineParser& parser) override
    {
        if (const Outcome parsed = ParseOneStage(parser.positionalArguments(), stage_); !parsed.ok())
            return parsed;
        asTsv_ = parser.isSet(tsv_);
        return {};
    }
    Outcome takeGame(const Game& game) override
    {
        QList<int> stages{stage_};
        return CheckStageNumbers(game, stages);
    }
    int run(const Game& game) override
    {
        // Only the map name leads to the entity file.
        const QString mapName = DecodeAnsi(CutAtNull(game.table[size_t(stage_)].map()));
        if (!IsPlainFileName(mapName)) {
            PrintError(PlainNameError(stage_, QStringLiteral("map"), mapName));
            return kFoundWrong;
        }
        const StageFiles files = MapFilesOf(mapName);
        qint16 count = 0;
        EntityRecords records{};
        const ReadStatus read = LoadStageEntities(game.folder, files, count, records);
        if (!read.ok()) {
            PrintError(read.refusal());
            return kFoundWrong;
        }
        if (read.missing)
            PrintError(QStringLiteral("stage %1: no %2: the stage has no entities.").arg(stage_).arg(files.entities));

        const QStringList names = EntityTypeNames(EditorSettingsFile(), kEntityNameKeys);
        QList<QStringList> rows;
        rows.push_back({QStringLiteral("index"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("flag"),
                        QStringLiteral("event"), QStringLiteral("type"), QStringLiteral("name"),
                        QStringLiteral("bits")});
        for (int i = 0; i < count; ++i) {
            const EntityRecord& e = records[size_t(i)];
            const QString typeName = names.value(e.Type); // empty for a negative type too
            rows.push_back({QString::number(i), QString::number(e.X), QString::number(e.Y), QString::number(e.Flag),
                            QString::number(e.TSC), QString::number(e.Type), EscapedCell(typeName),
                            EntityBitNames(quint16(e.Unknown))});
        }
        if (asTsv_) {
            for (const QStringList& row : rows)
                PrintCells(row);
        } else {
            PrintColumns(rows, {0, 1, 2, 3, 4, 5});
        }
        return kSuccess;
    }

private:
    QCommandLineOption tsv_{QStringLiteral("tsv"), QStringLiteral("Tab-separated values, for scripts.")};
    int stage_ = 0;
    bool asTsv_ = false;
};

} // namespace

std::unique_ptr<Command> MakeEntitiesCommand() { return std::make_unique<EntitiesCommand>(); }

} // namespace vorn::cli
