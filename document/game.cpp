#include "game.h"

namespace vorn {

// Any kind of entry: a pipe or a folder in its place is named as such by
// the reading and writing of the table, which never open one.
QString Game::executablePath() const { return folder.findEntry(QStringLiteral("Doukutsu.exe")); }

Outcome Game::readTable() { return ReadStageTable(executablePath(), table); }

Outcome Game::writeRecord(int index, const StageRecord& record)
{
    const Outcome written = WriteStageRecord(executablePath(), index, record);
    if (written.ok())
        table[index] = record;
    return written;
}

QString Game::stageCaption(int index) const
{
    const QString stage = QStringLiteral("Stage %1").arg(index);
    if (index < 0 || index >= kStageCount)
        return stage;
    const QString title = DecodeAnsi(CutAtNull(table[index].title())).trimmed();
    return title.isEmpty() ? stage : stage + QStringLiteral(" (") + title + QLatin1Char(')');
}

} // namespace vorn
