#pragma once
// Entity files (".pxe"): 4 header bytes, a signed 16-bit count, 2 bytes
// the editor never touches, then 12-byte records.
#include "regularfile.h" // ReadStatus, FileRules

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <array>

namespace vorn {

// The game places a stage's entities in its slots 170 to 511.
constexpr int kMaxEntities = 342;
constexpr int kEntityRecordSize = 12;

struct EntityRecord {
    qint16 X = 0;
    qint16 Y = 0;
    qint16 Flag = 0;
    qint16 TSC = 0;
    qint16 Type = 0;
    qint16 Unknown = 0;
    bool operator==(const EntityRecord&) const = default;
};

using EntityRecords = std::array<EntityRecord, kMaxEntities>;

// Reads the count and records 0 to count - 1 into `records`; records from
// count on keep what they held (raising the count later brings them back
// into use). Missing file: count 0. When refused, nothing is changed. A
// count outside 0 to 256 or a file too short for its records is refused.
ReadStatus ReadEntityFile(const QString& path, const QString& displayName, qint16& count, EntityRecords& records,
                          const FileRules& rules = {});

// The same from a device at the file's start.
Outcome ReadEntities(QIODevice& device, const QString& displayName, qint16& count, EntityRecords& records);

// Writes the count at offset 4 and records 0 to count - 1 from offset 8,
// keeping bytes 0-3, 6-7 and any bytes after the last record. A new or
// shorter-than-4-byte file starts with "PXE" and 0x00. Atomic.
Outcome WriteEntityFile(const QString& path, const QString& displayName, qint16 count, const EntityRecords& records,
                        const FileRules& rules = {});

QByteArray ComposeEntityFile(const QByteArray& old, qint16 count, const EntityRecords& records);

} // namespace vorn
