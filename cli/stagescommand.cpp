// vorn-tool stages: the 95 records of the stage table.
#include "command.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vorn::cli {
namespace {

QString Name(const QByteArray& field) { return EscapedCell(DecodeAnsi(CutAtNull(field))); }

// Columns a text takes on a terminal: East Asian wide and full-width
// characters take two (Japanese titles), combining marks none.
qsizetype TerminalColumns(const QString& text)
{
    qsizetype columns = 0;
    for (const char32_t c : text.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing)
            continue;
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                          (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
        columns += wide ? 2 : 1;
    }
    return columns;
}

constexpr int kColumns = 7;
using Row = std::array<QString, kColumns>;

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
        std::vector<Row> rows;
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
            for (const Row& row : rows)
                PrintCells(QStringList(row.begin(), row.end()));
            return kSuccess;
        }
        std::array<qsizetype, kColumns> width{};
        for (const Row& row : rows)
            for (int c = 0; c < kColumns; ++c)
                width[c] = std::max(width[c], TerminalColumns(row[c]));
        for (const Row& row : rows) {
            QString line;
            for (int c = 0; c < kColumns; ++c) {
                // Numbers to the right, texts to the left.
                const bool number = c == 0 || c == 4;
                const QString fill(width[c] - TerminalColumns(row[c]), u' ');
                const QString cell = number ? fill + row[c] : row[c] + fill;
                line += (c ? QStringLiteral("  ") : QString()) + cell;
            }
            while (line.endsWith(u' '))
                line.chop(1);
            PrintLine(line);
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
