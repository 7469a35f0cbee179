// vorn-tool stages: every record of the stage table the game reads.
#include "command.h"

namespace vorn::cli {
namespace {

QString Name(const QByteArray& field) { return EscapedCell(DecodeAnsi(CutAtNull(field))); }

// NPC sheet 2 starts at the byte the record calls its spare byte.
QByteArray SecondSheet(const StageRecord& record)
{
    return QByteArray(1, char(record.spareByte())) + record.spareName().left(kNameSize - 1);
}

class StagesCommand : public Command {
public:
    QString name() const override { return QStringLiteral("stages"); }
    QString synopsis() const override { return QStringLiteral("stages [--tsv]"); }
    QString summary() const override { return QStringLiteral("list the stage records"); }
    QString description() const override
    {
        return QStringLiteral(
            "Lists every record of the stage table the game reads, after a line that says where it is "
            "(\"Doukutsu.exe, section .csmap, 102 stages\", \"Doukutsu.exe at 604080, 95 stages\", "
            "\"data/stage.tbl, 95 stages\") and a heading line: index, title (as the editor's stage list shows "
            "it), tileset, map, backdrop type and its name, backdrop, NPC sheet 1, NPC sheet 2, boss and its "
            "name; with --tsv and data/stage.tbl, the Japanese title last. Control characters in a text are "
            "written as escapes (\\t, \\n, \\r, \\xNN), a backslash as \\\\.");
    }
    void addOptions(QCommandLineParser& parser) override { parser.addOption(tsv_); }
    Outcome take(const QCommandLineParser& parser) override
    {
        if (!parser.positionalArguments().isEmpty())
            return QStringLiteral("takes no arguments.");
        asTsv_ = parser.isSet(tsv_);
        return {};
    }
    int run(const Game& game) override
    {
        const bool japanese = asTsv_ && game.tableSource.kind == StageTableKind::StageTbl;
        QList<QStringList> rows;
        rows.push_back({QStringLiteral("index"), QStringLiteral("title"), QStringLiteral("tileset"),
                        QStringLiteral("map"), QStringLiteral("backdrop type"), QString(), QStringLiteral("backdrop"),
                        QStringLiteral("NPC sheet 1"), QStringLiteral("NPC sheet 2"), QStringLiteral("boss"),
                        QString()});
        if (japanese)
            rows.back() << QStringLiteral("Japanese title");
        for (int i = 0; i < game.stageCount(); ++i) {
            const StageRecord& record = game.table[size_t(i)];
            // The title exactly as the editor's stage list shows it.
            const QString item = StageListItemText(i, record);
            const QString title = item.mid(QStringLiteral("%1 - ").arg(i).size());
            const int boss = quint8(record.bytes[164]);
            rows.push_back({QString::number(i), EscapedCell(title), Name(record.tileset()), Name(record.map()),
                            QString::number(record.parallax()), BackdropTypeName(record.parallax()),
                            Name(record.backdrop()), Name(record.spriteSet()), Name(SecondSheet(record)),
                            QString::number(boss), BossName(boss)});
            if (japanese)
                rows.back() << Name(game.tableExtras[size_t(i)]);
        }
        PrintLine(game.tableDescription());
        if (asTsv_) {
            for (const QStringList& row : rows)
                PrintCells(row);
        } else {
            PrintColumns(rows, {0, 4, 9}); // index, backdrop type and boss
        }
        return kSuccess;
    }

private:
    QCommandLineOption tsv_{QStringLiteral("tsv"), QStringLiteral("Tab-separated values, for scripts.")};
    bool asTsv_ = false;
};

// vorn-tool stage: adds, removes and changes records.
class StageCommand : public Command {
public:
    QString name() const override { return QStringLiteral("stage"); }
    QString synopsis() const override
    {
        return QStringLiteral("stage (add [--copy N] | remove-last | set N FIELD VALUE)");
    }
    QString summary() const override { return QStringLiteral("add, remove or change a stage record"); }
    QString description() const override
    {
        return QStringLiteral(
            "add appends a record, a copy of stage N with --copy, else a blank one (every name \"0\", backdrop "
            "type 4, no title), and prints its number. remove-last removes the last record (the others keep "
            "their numbers, and scripts' TRA with them). set changes one field of stage N: tileset, map, "
            "backdrop-type, backdrop, sheet1, sheet2, boss or title; a backdrop type or boss by number or "
            "name. The table is written where the game reads it, atomically; an executable whose table has "
            "no room gets a new section .csmap. Before the first change of a run, the file is copied to "
            "backup/ in the game folder.");
    }
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addOption(copy_);
        parser.addPositionalArgument(QStringLiteral("ACTION"), QStringLiteral("add, remove-last or set."));
    }
    Outcome take(const QCommandLineParser& parser) override
    {
        arguments_ = parser.positionalArguments();
        const QString action = arguments_.value(0);
        const int expected = action == u"set" ? 4 : 1;
        if (action != u"add" && action != u"remove-last" && action != u"set")
            return QStringLiteral("give add, remove-last or set.");
        if (arguments_.size() != expected)
            return action == u"set" ? QStringLiteral("set takes a stage number, a field and a value.")
                                    : QStringLiteral("%1 takes no arguments.").arg(action);
        if (parser.isSet(copy_)) {
            if (action != u"add")
                return QStringLiteral("--copy goes with add.");
            bool number = false;
            copyOf_ = parser.value(copy_).toInt(&number);
            if (!number || *copyOf_ < 0)
                return QStringLiteral("\"%1\" is not a stage number.").arg(parser.value(copy_));
        }
        if (action == u"set") {
            bool number = false;
            stage_ = arguments_[1].toInt(&number);
            if (!number || stage_ < 0)
                return QStringLiteral("\"%1\" is not a stage number.").arg(arguments_[1]);
            static const QStringList fields = {"tileset", "map",    "backdrop-type", "backdrop",
                                               "sheet1",  "sheet2", "boss",          "title"};
            if (!fields.contains(arguments_[2]))
                return QStringLiteral("\"%1\" is not a field: give one of %2.").arg(arguments_[2], fields.join(u", "));
        }
        return {};
    }
    int run(const Game& opened) override
    {
        Game game = opened;
        const QString action = arguments_[0];
        Outcome done;
        if (action == u"add") {
            int added = -1;
            done = game.addStage(copyOf_, &added);
            if (done.ok())
                PrintLine(QString::number(added));
        } else if (action == u"remove-last") {
            done = game.removeLastStage();
        } else {
            if (!game.hasStage(stage_)) {
                PrintError(QStringLiteral("stage: there is no stage %1: the table holds stages 0 to %2.")
                               .arg(stage_)
                               .arg(game.stageCount() - 1));
                return kBadUsage;
            }
            StageRecord record = game.table[size_t(stage_)];
            done = SetStageField(record, arguments_[2], arguments_[3]);
            if (done.ok())
                done = game.writeRecord(stage_, record);
        }
        if (!done.ok()) {
            PrintError(done.refusal());
            return kFoundWrong;
        }
        return kSuccess;
    }

private:
    QCommandLineOption copy_{QStringLiteral("copy"), QStringLiteral("Copy stage N."), QStringLiteral("N")};
    QStringList arguments_;
    std::optional<int> copyOf_;
    int stage_ = -1;
};

} // namespace

std::unique_ptr<Command> MakeStagesCommand() { return std::make_unique<StagesCommand>(); }
std::unique_ptr<Command> MakeStageCommand() { return std::make_unique<StageCommand>(); }

} // namespace vorn::cli
