#pragma once
// The game the editor and vorn-tool work on: its folder and the stage table
// kept in its executable.
#include "gamefolder.h"
#include "outcome.h"
#include "stagetable.h"

#include <QString>

namespace vorn {

struct Game {
    explicit Game(const QString& root) : folder(root) {}

    GameFolder folder;
    StageTable table{};

    // "Doukutsu.exe" as the folder holds it, whatever kind of entry it is;
    // empty when it has none.
    QString executablePath() const;
    // Reads the 95 records; on a refusal the table stays as it was.
    Outcome readTable();
    // Patches record `index` into the executable, then takes it into the
    // table; a refused write changes neither.
    Outcome writeRecord(int index, const StageRecord& record);
    // "Stage 13 (Start)": the stage as questions name it, with its title
    // when it has one.
    QString stageCaption(int index) const;
};

} // namespace vorn
