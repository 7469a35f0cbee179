#include "entityfile.h"

#include "gamefile.h"
#include "numtext.h"

#include <QtEndian>
#include <algorithm>

namespace vorn {
namespace {

constexpr int kHeaderSize = kGameFileHeaderSize;

bool CountInRange(int count) { return count >= 0 && count <= kMaxEntities; }

EntityRecord RecordFrom(const char* p)
{
    EntityRecord r;
    r.X = qFromLittleEndian<qint16>(p + 0);
    r.Y = qFromLittleEndian<qint16>(p + 2);
    r.Flag = qFromLittleEndian<qint16>(p + 4);
    r.TSC = qFromLittleEndian<qint16>(p + 6);
    r.Type = qFromLittleEndian<qint16>(p + 8);
    r.Unknown = qFromLittleEndian<qint16>(p + 10);
    return r;
}

void StoreRecord(const EntityRecord& r, char* p)
{
    qToLittleEndian<qint16>(r.X, p + 0);
    qToLittleEndian<qint16>(r.Y, p + 2);
    qToLittleEndian<qint16>(r.Flag, p + 4);
    qToLittleEndian<qint16>(r.TSC, p + 6);
    qToLittleEndian<qint16>(r.Type, p + 8);
    qToLittleEndian<qint16>(r.Unknown, p + 10);
}

} // namespace

Outcome ReadEntities(QIODevice& device, const QString& displayName, qint16& count, EntityRecords& records)
{
    QByteArray header;
    if (const Outcome read = ReadGameFileHeader(device, displayName, header); !read.ok())
        return read;
    const qint64 size = device.size();
    const qint16 fileCount = qFromLittleEndian<qint16>(header.constData() + 4);
    if (!CountInRange(fileCount))
        return QStringLiteral("%1 holds a count of %2 entities; the count must lie "
                              "between 0 and %3.")
            .arg(displayName, QString::number(fileCount), QString::number(kMaxEntities));
    const qint64 recordBytes = qint64(fileCount) * kEntityRecordSize;
    const QByteArray body = device.read(recordBytes);
    if (body.size() < recordBytes)
        return QStringLiteral("%1 is shorter than its count of %2 says: %3 of %4 bytes.")
            .arg(displayName, Counted(fileCount, QStringLiteral("entity"), QStringLiteral("entities")),
                 QString::number(size), QString::number(kHeaderSize + recordBytes));

    for (int i = 0; i < fileCount; ++i)
        records[i] = RecordFrom(body.constData() + i * kEntityRecordSize);
    count = fileCount;
    return {};
}

ReadStatus ReadEntityFile(const QString& path, const QString& displayName, qint16& count, EntityRecords& records,
                          const FileRules& rules)
{
    const ReadStatus status = ReadGameFile(
        path, displayName, rules, [&](QIODevice& device) { return ReadEntities(device, displayName, count, records); });
    if (status.missing)
        count = 0;
    return status;
}

QByteArray ComposeEntityFile(const QByteArray& old, qint16 count, const EntityRecords& records)
{
    // WriteEntityFile refuses a count outside 0 to kMaxEntities; here it only bounds
    // the records taken from memory.
    const int used = std::clamp<int>(count, 0, kMaxEntities);
    QByteArray bytes = WithRoomFor(old, QByteArray("PXE\0", 4), kHeaderSize + qsizetype(used) * kEntityRecordSize);
    qToLittleEndian<qint16>(count, bytes.data() + 4);
    for (int i = 0; i < used; ++i)
        StoreRecord(records[i], bytes.data() + kHeaderSize + i * kEntityRecordSize);
    return bytes;
}

Outcome WriteEntityFile(const QString& path, const QString& displayName, qint16 count, const EntityRecords& records,
                        const FileRules& rules)
{
    if (!CountInRange(count))
        return QStringLiteral("Cannot write %1: a count of %2 entities does not fit; the count "
                              "must lie between 0 and %3.")
            .arg(displayName, QString::number(count), QString::number(kMaxEntities));
    const qsizetype owned = kHeaderSize + qsizetype(count) * kEntityRecordSize;
    return RewriteGameFile(path, displayName, rules, owned,
                           [&](const QByteArray& oldHead) { return ComposeEntityFile(oldHead, count, records); });
}

} // namespace vorn
