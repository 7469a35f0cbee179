#pragma once
// The game the editor and vorn-tool work on: its folder, the picture
// extension its executable uses, and the stage table it reads.
#include "filestamp.h"
#include "gamefolder.h"
#include "gamestagetable.h"
#include "outcome.h"
#include "stagetable.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace vorn {

struct Game {
    explicit Game(const QString& root)
        : folder(root)
    {
    }

    GameFolder folder;
    StageTable table; // index = stage number
    StageTableSource tableSource; // where the game reads it
    std::vector<QByteArray> tableExtras; // bytes of each record's place it does not hold
    // Said once in the status bar: a table place or picture extension that
    // had to be guessed.
    QStringList notes;

    // "Doukutsu.exe" as the folder holds it, whatever kind of entry it is;
    // empty when it has none.
    QString executablePath() const;
    // The file the table is read from and written to, as the folder holds it.
    QString tablePath() const { return folder.findEntry(tableSource.builtName); }
    int stageCount() const { return int(table.size()); }
    bool hasStage(int index) const { return index >= 0 && index < stageCount(); }
    // Reads the picture extension from the executable into `folder`, once.
    void readPictureExtension();
    // Reads the table where the game reads it (and the picture extension);
    // on a refusal the table stays as it was.
    Outcome readTable();
    // Writes record `index` where the table keeps it, then takes it into the
    // table; a refused write changes neither.
    Outcome writeRecord(int index, const StageRecord& record);
    // Writes the whole table with `wanted` as its records (any count from 1
    // to 1,000), moving it when its place has no room.
    Outcome writeTable(const StageTable& wanted, std::vector<QByteArray> extras = {});
    // Appends a copy of stage `copyOf`, or a blank record; `added` gets its
    // number.
    Outcome addStage(std::optional<int> copyOf, int* added = nullptr);
    // Removes the last record; the others keep their numbers.
    Outcome removeLastStage();
    // Whether another program wrote the table's file since Vorn last read
    // or wrote it.
    bool tableChangedOutside() const;
    // "Doukutsu.exe, section .csmap, 102 stages".
    QString tableDescription() const { return tableSource.describe(stageCount()); }
    // "Stage 13 (Start)": the stage as questions name it, with its title
    // when it has one.
    QString stageCaption(int index) const;

private:
    StageTableFile tableFile() const;
    void takeTableFile(const StageTableFile& file);
    bool pictureExtensionRead_ = false;
    FileStamp tableStamp_;
};

} // namespace vorn
