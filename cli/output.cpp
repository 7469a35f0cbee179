#include "command.h"

#include "mapfile.h"
#include "visibletext.h"

#include <QRegularExpression>
#include <algorithm>
#include <cstdio>

namespace vorn::cli {
namespace {

// Every line the tool prints goes through here: the messages' own "\r\n"
// become line breaks, trailing ones dropped, and any other control
// character, which can only come from a game file, a setting or an argument,
// is written as an escape.
QByteArray TerminalText(const QString& text)
{
    QStringList lines = text.split(QStringLiteral("\r\n"));
    while (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines)
        line = EscapeControls(line);
    return lines.join(u'\n').toUtf8() + '\n';
}

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

} // namespace

void PrintColumns(const QList<QStringList>& rows, const QList<int>& numbers)
{
    QList<qsizetype> width;
    for (const QStringList& row : rows) {
        width.resize(std::max(width.size(), row.size()));
        for (qsizetype c = 0; c < row.size(); ++c)
            width[c] = std::max(width[c], TerminalColumns(row[c]));
    }
    for (const QStringList& row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c) {
            const QString fill(width[c] - TerminalColumns(row[c]), u' ');
            const QString cell = numbers.contains(int(c)) ? fill + row[c] : row[c] + fill;
            line += (c ? QStringLiteral("  ") : QString()) + cell;
        }
        while (line.endsWith(u' '))
            line.chop(1);
        PrintLine(line);
    }
}

QString EscapedCell(const QString& text)
{
    return EscapeControls(QString(text).replace(u'\\', QStringLiteral("\\\\")));
}

void PrintLine(const QString& text) { std::fputs(TerminalText(text).constData(), stdout); }

void PrintCells(const QStringList& cells)
{
    QStringList escaped;
    for (const QString& cell : cells)
        escaped << EscapeControls(cell);
    std::fputs((escaped.join(u'\t') + u'\n').toUtf8().constData(), stdout);
}

void PrintError(const QString& text)
{
    std::fflush(stdout); // keeps the two streams in order on one terminal
    std::fputs(TerminalText(QStringLiteral("vorn-tool: ") + text).constData(), stderr);
}

Outcome ParseStageNumbers(const QStringList& arguments, QList<int>& stages)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,3}$"));
    for (const QString& argument : arguments) {
        const int stage = digits.match(argument).hasMatch() ? argument.toInt() : -1;
        if (stage < 0)
            return QStringLiteral("\"%1\" is not a stage number.").arg(argument);
        if (!stages.contains(stage))
            stages << stage;
    }
    return {};
}

Outcome CheckStageNumbers(const Game& game, QList<int>& stages, bool everyWhenNone)
{
    if (stages.isEmpty() && everyWhenNone)
        for (int i = 0; i < game.stageCount(); ++i)
            stages << i;
    for (const int stage : stages)
        if (!game.hasStage(stage))
            return QStringLiteral("\"%1\" is not a stage number (0 to %2).").arg(stage).arg(game.stageCount() - 1);
    return {};
}

Outcome ParseOneStage(const QStringList& arguments, int& stage)
{
    QList<int> stages;
    if (const Outcome parsed = ParseStageNumbers(arguments, stages); !parsed.ok())
        return parsed;
    if (arguments.size() != 1)
        return QStringLiteral("name one stage.");
    stage = stages.first();
    return {};
}

Outcome ParseCell(const QStringList& arguments, ProfilePlace& place)
{
    if (arguments.size() != 2)
        return QStringLiteral("name a cell: X Y.");
    int values[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        bool number = false;
        values[i] = arguments[i].toInt(&number);
        if (!number || values[i] < 0 || values[i] >= kMaxMapSide)
            return QStringLiteral("a cell's column and row are 0 to %1, not \"%2\".")
                .arg(kMaxMapSide - 1)
                .arg(arguments[i]);
    }
    place.x = values[0];
    place.y = values[1];
    return {};
}

} // namespace vorn::cli
