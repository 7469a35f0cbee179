#include "command.h"

#include "visibletext.h"

#include <QRegularExpression>
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

} // namespace

QString EscapedCell(const QString& text)
{
    return EscapeControls(QString(text).replace(u'\\', QStringLiteral("\\\\")));
}

void PrintLine(const QString& text)
{
    std::fputs(TerminalText(text).constData(), stdout);
}

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
        if (stage < 0 || stage >= kStageCount)
            return QStringLiteral("\"%1\" is not a stage number (0 to %2).").arg(argument).arg(kStageCount - 1);
        if (!stages.contains(stage))
            stages << stage;
    }
    return {};
}

} // namespace vorn::cli
