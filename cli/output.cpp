#include "command.h"

#include <QRegularExpression>
#include <cstdio>

namespace vorn::cli {
namespace {

QByteArray TerminalText(const QString& text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    while (plain.endsWith(u'\n'))
        plain.chop(1);
    return plain.toUtf8() + '\n';
}

} // namespace

void PrintLine(const QString& text)
{
    std::fputs(TerminalText(text).constData(), stdout);
}

void PrintError(const QString& text)
{
    std::fflush(stdout); // keeps the two streams in order on one terminal
    std::fputs(TerminalText(QStringLiteral("vorn-tool: ") + text).constData(), stderr);
}

bool ParseStageNumbers(const QStringList& arguments, QList<int>& stages, QString& error)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,3}$"));
    for (const QString& argument : arguments) {
        const int stage = digits.match(argument).hasMatch() ? argument.toInt() : -1;
        if (stage < 0 || stage >= kStageCount) {
            error = QStringLiteral("\"%1\" is not a stage number (0 to %2).").arg(argument).arg(kStageCount - 1);
            return false;
        }
        if (!stages.contains(stage))
            stages << stage;
    }
    return true;
}

} // namespace vorn::cli
