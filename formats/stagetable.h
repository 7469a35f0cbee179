#pragma once
// The stage table's records: 200-byte slots of which the first 197 hold the
// fields. The freeware executable keeps 95 of them at byte 604080; where a
// mod keeps its table, and how many, gamestagetable.h finds out.
#include "codepage.h" // DecodeAnsi, EncodeAnsi: the code page of the game's texts
#include "outcome.h"
#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace vorn {

constexpr qint64 kStageTableOffset = 604080;
constexpr int kFreewareStageCount = 95;
constexpr int kStageSlotSize = 200;
constexpr int kStageRecordSize = 197;
constexpr qint64 kStageTableEnd = kStageTableOffset + kFreewareStageCount * kStageSlotSize; // 623080
constexpr int kNameSize = 32;

// One record held as its raw 197 bytes, so that every byte the editor does
// not edit goes back unchanged. Text fields are 32 raw bytes, NULs included.
struct StageRecord {
    std::array<char, kStageRecordSize> bytes{};

    QByteArray tileset() const; // offset 0
    QByteArray map() const; // offset 32
    qint32 parallax() const; // offset 64, little-endian
    QByteArray backdrop() const; // offset 68
    QByteArray spriteSet() const; // offset 100
    quint8 spareByte() const; // offset 132
    QByteArray spareName() const; // offset 133
    QByteArray title() const; // offset 165

    // Text setters take exactly 32 bytes (a PadName32 result).
    void setTileset(const QByteArray& padded32);
    void setMap(const QByteArray& padded32);
    void setParallax(qint32 value);
    void setBackdrop(const QByteArray& padded32);
    void setSpriteSet(const QByteArray& padded32);
    void setTitle(const QByteArray& padded32);

    bool operator==(const StageRecord&) const = default;
};

// Index = stage number; as many records as the game's table holds.
using StageTable = std::vector<StageRecord>;

// Reads the 95 records of the freeware place. Opens read-only, so the table is read while the
// game runs. When refused, `table` is left untouched and the refusal says
// why ("Doukutsu.exe is too short to hold the stage table (N of 623080
// bytes).").
Outcome ReadStageTable(const QString& exePath, StageTable& table);
// The same from the executable's bytes on a device.
Outcome ReadStageTable(QIODevice& device, StageTable& table);

// Patches record `index`'s 197 bytes in place at the freeware place; nothing
// else of the file is touched. A refusal gives the system's reason.
Outcome WriteStageRecord(const QString& exePath, int index, const StageRecord& record);
// The same at byte `offset`, wherever the table is.
Outcome WriteStageRecordAt(const QString& exePath, qint64 offset, const StageRecord& record);

// Reads byte 49 and writes it back: fails when the file is missing, locked
// or read-only (no write permission bit, even for root).
bool ProbeGameExecutable(const QString& exePath);

// The text up to, not including, its first NUL.
QByteArray CutAtNull(const QByteArray& text);
// CutAtNull, spaces trimmed at both ends, NUL-padded or cut to 32 bytes.
QByteArray PadName32(const QByteArray& text);
// The same for a text typed by the user: encoded in the code page, cut at
// 32 bytes without splitting a double-byte character.
QByteArray StoreName32(const QString& text);
// What a field shown as `shown` stores: PadName32 of the field's own bytes,
// whatever they are, while the text is the one it was shown as (so bytes
// the code page cannot read survive); else StoreName32 of the text.
QByteArray KeepOrStoreName32(const QByteArray& field, const QString& shown);

// The stage list's item: index, " - ", the title with spaces trimmed at
// both ends, shown up to its first NUL. "13 - Cave"
QString StageListItemText(int index, const StageRecord& record);

} // namespace vorn
