#include "game.h"

#include "safewrite.h"

namespace vorn {

// Any kind of entry: a pipe or a folder in its place is named as such by
// the reading and writing of the table, which never open one.
QString Game::executablePath() const { return folder.findEntry(QStringLiteral("Doukutsu.exe")); }

void Game::readPictureExtension()
{
    if (pictureExtensionRead_)
        return;
    pictureExtensionRead_ = true;
    QByteArray exe;
    const QString path = folder.findFile(QStringLiteral("Doukutsu.exe"));
    if (!path.isEmpty())
        (void)ReadWholeFile(path, QStringLiteral("Doukutsu.exe"), exe, folder.rules());
    QString note;
    folder.setPictureExtension(PictureExtensionOf(exe, &note));
    if (!note.isEmpty())
        notes << note;
}

StageTableFile Game::tableFile() const
{
    StageTableFile file;
    file.source = tableSource;
    file.records = table;
    file.extras = tableExtras;
    return file;
}

void Game::takeTableFile(const StageTableFile& file)
{
    tableSource = file.source;
    table = file.records;
    tableExtras = file.extras;
    tableStamp_ = StampOf(tablePath());
}

bool Game::tableChangedOutside() const { return StampOf(tablePath()) != tableStamp_; }

Outcome Game::readTable()
{
    readPictureExtension();
    StageTableFile file;
    if (const Outcome read = ReadGameStageTable(folder, file); !read.ok())
        return read;
    takeTableFile(file);
    for (const QString& note : file.notes)
        if (!notes.contains(note))
            notes << note;
    return {};
}

Outcome Game::writeRecord(int index, const StageRecord& record)
{
    if (const Outcome fits = CheckRecordFits(tableSource.kind, index, record); !fits.ok())
        return fits;
    StageTableFile file = tableFile();
    if (const Outcome written = WriteGameStageRecord(folder, file, index, record); !written.ok())
        return written;
    takeTableFile(file);
    return {};
}

Outcome Game::writeTable(const StageTable& wanted, std::vector<QByteArray> extras)
{
    StageTableFile file = tableFile();
    if (const Outcome written = WriteGameStageTable(folder, file, wanted, std::move(extras)); !written.ok())
        return written;
    takeTableFile(file);
    return {};
}

Outcome Game::addStage(std::optional<int> copyOf, int* added)
{
    if (copyOf && !hasStage(*copyOf))
        return QStringLiteral("There is no stage %1 to copy: the table holds stages 0 to %2.")
            .arg(*copyOf)
            .arg(stageCount() - 1);
    StageTable wanted = table;
    std::vector<QByteArray> extras = tableExtras;
    extras.resize(table.size());
    wanted.push_back(copyOf ? table[size_t(*copyOf)] : BlankStageRecord());
    extras.push_back(copyOf ? tableExtras[size_t(*copyOf)] : QByteArray());
    if (const Outcome written = writeTable(wanted, extras); !written.ok())
        return written;
    if (added)
        *added = stageCount() - 1;
    return {};
}

Outcome Game::removeLastStage()
{
    if (stageCount() <= 1)
        return QStringLiteral("The stage table's only stage cannot be removed.");
    StageTable wanted(table.begin(), table.end() - 1);
    return writeTable(wanted);
}

QString Game::stageCaption(int index) const
{
    const QString stage = QStringLiteral("Stage %1").arg(index);
    if (!hasStage(index))
        return stage;
    const QString title = DecodeAnsi(CutAtNull(table[size_t(index)].title())).trimmed();
    return title.isEmpty() ? stage : stage + QStringLiteral(" (") + title + QLatin1Char(')');
}

} // namespace vorn
