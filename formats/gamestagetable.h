#pragma once
// The stage table the game reads, wherever it is kept: in the executable,
// where the stage loader's code points (the freeware place, or a section of
// its own that mods add), or in one of the table files other engines read
// ("data\stage.tbl", "data\stage.sect", "data\mrmap.bin"). Read, written
// record by record or whole, grown and shrunk in that place's own layout.
#include "gamefolder.h"
#include "outcome.h"
#include "stagetable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace vorn {

constexpr int kMaxStageCount = 1000;

enum class StageTableKind { Executable, StageTbl, StageSect, MrMap };

struct StageTableSource {
    StageTableKind kind = StageTableKind::Executable;
    QString builtName = QStringLiteral("Doukutsu.exe"); // "data\stage.tbl"
    // The executable's table: where its first record is, and how it was
    // found. `inCode` when the loader's code gave the address; `ownSection`
    // when that lies in the section ".csmap", whose size gives the count.
    bool inCode = false;
    bool ownSection = false;
    quint32 address = 0;
    qint64 offset = kStageTableOffset;

    // "Doukutsu.exe, section .csmap, 102 stages", "Doukutsu.exe at 604080,
    // 95 stages", "data/stage.tbl, 95 stages".
    QString describe(int count) const;
    bool operator==(const StageTableSource&) const = default;
};

struct StageTableFile {
    StageTableSource source;
    StageTable records;
    // Per record, the bytes of its place that the record does not hold, put
    // back as they were: the executable's three bytes after each record,
    // stage.tbl's Japanese title, mrmap.bin's title field whole.
    std::vector<QByteArray> extras;
    // Things said once in the status bar: a table or extension guessed.
    QStringList notes;
};

// Finds and reads the table: the executable's when its code holds the
// stage loader's byte sequence, else the first of stage.tbl, stage.sect and
// mrmap.bin in `data`, else the executable's freeware place (with a note).
// On a refusal `out` is left as it was.
Outcome ReadGameStageTable(const GameFolder& folder, StageTableFile& out);

// True when `folder`'s data holds a table file some engine reads
// (stage.tbl, stage.sect or mrmap.bin): such a folder needs no executable.
bool HasStageTableFile(const GameFolder& folder);

// The same from the executable's bytes alone (the fuzz target's way in).
Outcome ReadExecutableStageTable(const QByteArray& exe, StageTableFile& out);

// The extension the executable builds picture names with, from its three
// "%s\%s.pbm" format strings ("pbm", "bmp"); "pbm" with a note when they
// cannot be read or disagree.
QString PictureExtensionOf(const QByteArray& exe, QString* note);

// Writes record `index` where the table keeps it: the executable is patched
// in place (its 197 bytes, nothing else), a table file is written whole.
// The file is backed up first (backup.h).
Outcome WriteGameStageRecord(const GameFolder& folder, StageTableFile& table, int index, const StageRecord& record);

// Writes the table with `wanted` as its records, any count from 1 to 1,000:
// in place when its place has room, else (the executable) moved to a new
// section ".csmap" after the last one, the loader's 11 addresses pointed at
// it. Checked against the file as it is now, backed up, written whole and
// atomically; `table` then holds what was written. `extras` for new records
// may be missing (they get zeros).
Outcome WriteGameStageTable(const GameFolder& folder, StageTableFile& table, const StageTable& wanted,
                            std::vector<QByteArray> wantedExtras = {});

// A blank record: every name "0", backdrop type 4, an empty title.
StageRecord BlankStageRecord();

// Refused, naming the field and the limit, when `record` cannot be kept in
// the table's layout (mrmap.bin's 16-byte names, its one-byte backdrop
// type).
Outcome CheckRecordFits(StageTableKind kind, int index, const StageRecord& record);

// Sets one field of `record` from text, as typed: "tileset", "map",
// "backdrop", "sheet1", "sheet2" (plain file names), "title", and
// "backdrop-type" and "boss" by number or name. Refused, with the reason,
// for a value the record cannot hold: longer than the field (31 bytes, so
// the game finds its end), not a plain file name, or holding a character
// outside the game's code page.
Outcome SetStageField(StageRecord& record, const QString& field, const QString& value);

// The boss numbers' and backdrop types' names ("Omega", "fixed").
QString BossName(int boss);
QString BackdropTypeName(qint32 type);

} // namespace vorn
