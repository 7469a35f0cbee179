// vorn-tool stages: the 95 records of the stage table.
#include "command.h"

namespace vorn::cli {
namespace {

QString Name(const QByteArray& field) { return EscapedCell(DecodeAnsi(CutAtNull(field))); }

class StagesCommand : public Command {
public:
    QString name() const override { return QStringLiteral("stages"); }
    QString synopsis() const override { return QStringLiteral("stages [--tsv]"); }
    QString summary() const override { return QStringLiteral("list the 95 stage records"); }
    QString description() const override
    {
        return QStringLiteral("Lists the 95 records of the stage table: index, title (as the editor's stage "
                              "list shows it), tileset, map, parallax, backdrop and sprite set, after a "
                              "heading line. Control characters in a text are written as escapes (\\t, \\n, "
                              "\\r, \\xNN), a backslash as \\\\.");
    }
    void addOptions(QCommandLineParser& parser) override
    {
        parser.addOption(tsv_);
    }
    Outcome take(const QCommandLineParser& parser) override
    {
        if (!parser.positionalArguments().isEmpty())
            return QStringLiteral("takes no arguments.");
        asTsv_ = parser.isSet(tsv_);
        return {};
    }
    int run(const Game& game) override
    {
        QList<QStringList> rows;
        rows.push_back({QStringLiteral("index"), QStringLiteral("title"), QStringLiteral("tileset"),
                        QStringLiteral("map"), QStringLiteral("parallax"), QStringLiteral("backdrop"),
                        QStringLiteral("sprite set")});
        for (int i = 0; i < kStageCount; ++i) {
            const StageRecord& record = game.table[i];
            // The title exactly as the editor's stage list shows it.
            const QString item = StageListItemText(i, record);
            const QString title = item.mid(QStringLiteral("%1 - ").arg(i).size());
            rows.push_back({QString::number(i), EscapedCell(title), Name(record.tileset()), Name(record.map()),
                            QString::number(record.parallax()), Name(record.backdrop()),
                            Name(record.spriteSet())});
        }
        if (asTsv_) {
            for (const QStringList& row : rows)
                PrintCells(row);
        } else {
            PrintColumns(rows, {0, 4}); // index and parallax
        }
        return kSuccess;
    }

private:
    QCommandLineOption tsv_{QStringLiteral("tsv"), QStringLiteral("Tab-separated values, for scripts.")};
    bool asTsv_ = false;
};

} // namespace

std::unique_ptr<Command> MakeStagesCommand() { return std::make_unique<StagesCommand>(); }

} // namespace vorn::cli
