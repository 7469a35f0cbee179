#include "entityfile.h"
#include "mapfile.h"
#include "testfiles.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace vorn;

namespace {

QByteArray Le16(qint16 v)
{
    QByteArray b(2, '\0');
    qToLittleEndian<qint16>(v, b.data());
    return b;
}

QByteArray MapBytes(qint16 w, qint16 h, const QByteArray& cells, const QByteArray& tail = {})
{
    return QByteArray("PXM\x10", 4) + Le16(w) + Le16(h) + cells + tail;
}

QByteArray EntityBytes(qint16 count, const QByteArray& records, const QByteArray& tail = {})
{
    return QByteArray("PXE\0", 4) + Le16(count) + QByteArray("\xAB\xCD", 2) + records + tail;
}

const QString kMapName = QStringLiteral("data\\stage\\Cave.pxm");
const QString kEntName = QStringLiteral("data\\stage\\Cave.pxe");

struct FileTest : ::testing::Test {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("file"));
};

} // namespace

TEST_F(FileTest, MapRoundTripIsByteForByteAndCellsLieRowByRow)
{
    const QByteArray original = MapBytes(20, 15, PatternBytes(300), "tail bytes");
    PutFile(path, original);
    MapData map;
    map.grid.at(100, 100) = 9; // outside the map: cleared by the read
    ASSERT_TRUE(ReadMapFile(path, kMapName, map).ok());
    EXPECT_EQ(map.width, 20);
    EXPECT_EQ(map.height, 15);
    EXPECT_EQ(map.grid.at(19, 14), quint8(original[307]));
    EXPECT_EQ(map.grid.at(1, 2), quint8(original[8 + 2 * 20 + 1]));
    EXPECT_EQ(map.grid.at(100, 100), 0);

    ASSERT_EQ(WriteMapFile(path, kMapName, map).refusal(), QString());
    EXPECT_EQ(GetFile(path), original);
}

TEST_F(FileTest, ShrunkMapKeepsHeaderAndOldTail)
{
    QByteArray original = MapBytes(4, 4, PatternBytes(16));
    original[0] = 'Q'; // the game's header bytes are never rewritten
    PutFile(path, original);
    MapData map;
    ASSERT_TRUE(ReadMapFile(path, kMapName, map).ok());
    map.width = 2;
    map.height = 3;
    ASSERT_EQ(WriteMapFile(path, kMapName, map).refusal(), QString());

    const QByteArray after = GetFile(path);
    ASSERT_EQ(after.size(), original.size()); // never shortened
    EXPECT_EQ(after.left(8), original.left(4) + Le16(2) + Le16(3));
    EXPECT_EQ(after[8 + 1 * 2 + 1], original[8 + 1 * 4 + 1]); // cell (1,1) at its new place
    EXPECT_EQ(after.mid(14), original.mid(14));
}

TEST_F(FileTest, EntityRoundTripKeepsEveryByte)
{
    QByteArray records = PatternBytes(36);
    records[0] = '\xFF'; // X of -1
    records[1] = '\xFF';
    const QByteArray original = EntityBytes(3, records, "tail");
    PutFile(path, original);

    qint16 count = -5;
    EntityRecords entities{};
    ASSERT_TRUE(ReadEntityFile(path, kEntName, count, entities).ok());
    EXPECT_EQ(count, 3);
    EXPECT_EQ(entities[0].X, -1);
    EXPECT_EQ(entities[1].Y, qFromLittleEndian<qint16>(original.constData() + 22));
    EXPECT_EQ(entities[2].Unknown, qFromLittleEndian<qint16>(original.constData() + 42)); // ends at 43

    ASSERT_EQ(WriteEntityFile(path, kEntName, count, entities).refusal(), QString());
    EXPECT_EQ(GetFile(path), original);

    // The game takes up to 342 entities a stage, past the old 256.
    for (const qint16 many : {qint16(300), qint16(kMaxEntities)}) {
        const QByteArray full = EntityBytes(many, PatternBytes(many * 12));
        PutFile(path, full);
        ASSERT_TRUE(ReadEntityFile(path, kEntName, count, entities).ok());
        EXPECT_EQ(count, many);
        ASSERT_EQ(WriteEntityFile(path, kEntName, count, entities).refusal(), QString());
        EXPECT_EQ(GetFile(path), full);
    }
}

TEST_F(FileTest, LoweredEntityCountKeepsOldRecordsBehind)
{
    const QByteArray original = EntityBytes(5, PatternBytes(60));
    PutFile(path, original);
    qint16 count = 0;
    EntityRecords entities{};
    ASSERT_TRUE(ReadEntityFile(path, kEntName, count, entities).ok());
    entities[0].Type = 99;
    ASSERT_EQ(WriteEntityFile(path, kEntName, 3, entities).refusal(), QString());

    const QByteArray after = GetFile(path);
    EXPECT_EQ(after.size(), original.size());
    EXPECT_EQ(after.left(8), original.left(4) + Le16(3) + original.mid(6, 2));
    EXPECT_EQ(after.mid(16, 2), Le16(99));
    EXPECT_EQ(after.mid(44), original.mid(44)); // records 3 and 4
}

TEST_F(FileTest, NewOrTinyFilesGetTheGameHeader)
{
    MapData map;
    map.width = 2;
    map.height = 1;
    map.grid.at(1, 0) = 5;
    ASSERT_EQ(WriteMapFile(path, kMapName, map).refusal(), QString());
    EXPECT_EQ(GetFile(path), MapBytes(2, 1, QByteArray("\0\x05", 2)));
    EXPECT_EQ(ComposeMapFile("AB", map), MapBytes(2, 1, QByteArray("\0\x05", 2)));
    EXPECT_EQ(ComposeMapFile("ABCDE", map).left(4), "ABCD");

    EntityRecords entities{};
    entities[0] = {1, 2, 3, 4, 5, -6};
    const QByteArray expected =
        QByteArray("PXE\0", 4) + Le16(1) + Le16(0) + Le16(1) + Le16(2) + Le16(3) + Le16(4) + Le16(5) + Le16(-6);
    EXPECT_EQ(ComposeEntityFile("P", 1, entities), expected);
}

TEST_F(FileTest, MissingFilesAreReportedAndNotCreated)
{
    MapData map;
    map.width = 3;
    map.grid.at(0, 0) = 1;
    const ReadStatus mapStatus = ReadMapFile(path, kMapName, map);
    EXPECT_TRUE(mapStatus.ok() && mapStatus.missing);
    EXPECT_EQ(map.width, 0);
    EXPECT_EQ(map.grid.at(0, 0), 0);

    qint16 count = 9;
    EntityRecords entities{};
    const ReadStatus entStatus = ReadEntityFile(path, kEntName, count, entities);
    EXPECT_TRUE(entStatus.ok() && entStatus.missing);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(QFileInfo::exists(path));
}

struct Hostile {
    QByteArray bytes;
    const char* words;
};

TEST_F(FileTest, HostileMapFilesAreRefusedAndLeaveTheMapAlone)
{
    const Hostile cases[] = {
        {QByteArray("PXM"), "shorter than its header: 3 of 8 bytes"},
        {MapBytes(20, 15, PatternBytes(299)), "shorter than its header says: 307 of 308 bytes"},
        {MapBytes(-1, 5, {}), "-1 x 5"},
        {MapBytes(514, 1, PatternBytes(514)), "514 x 1"},
        {MapBytes(513, 513, PatternBytes(100)), "of 263177 bytes"},
    };
    for (const Hostile& c : cases) {
        PutFile(path, c.bytes);
        MapData map;
        map.width = 7;
        map.grid.at(3, 3) = 42;
        const QString error = ReadMapFile(path, kMapName, map).refusal();
        EXPECT_TRUE(error.startsWith(kMapName) && error.contains(QLatin1String(c.words))) << qPrintable(error);
        EXPECT_EQ(map.width, 7);
        EXPECT_EQ(map.grid.at(3, 3), 42);
    }
}

TEST_F(FileTest, HostileEntityFilesAreRefusedAndLeaveStateAlone)
{
    const Hostile cases[] = {
        {QByteArray("PXE\0\x01", 5), "shorter than its header: 5 of 8 bytes"},
        {EntityBytes(-1, {}), "count of -1"},
        {EntityBytes(343, PatternBytes(343 * 12)), "count of 343"},
        {EntityBytes(3, PatternBytes(35)), "43 of 44 bytes"},
    };
    for (const Hostile& c : cases) {
        PutFile(path, c.bytes);
        qint16 count = 4;
        EntityRecords entities{};
        entities[0].X = 11;
        const QString error = ReadEntityFile(path, kEntName, count, entities).refusal();
        EXPECT_TRUE(error.startsWith(kEntName) && error.contains(QLatin1String(c.words))) << qPrintable(error);
        EXPECT_EQ(count, 4);
        EXPECT_EQ(entities[0].X, 11);
    }
}

TEST_F(FileTest, WritersRefuseWhatCannotBeStoredAndReadOnlyFiles)
{
    const QByteArray original = MapBytes(1, 1, "x");
    PutFile(path, original);
    MapData map;
    map.width = 514;
    EXPECT_FALSE(WriteMapFile(path, kMapName, map).ok());
    EntityRecords entities{};
    EXPECT_FALSE(WriteEntityFile(path, kEntName, -1, entities).ok());
    EXPECT_FALSE(WriteEntityFile(path, kEntName, 343, entities).ok());

    MakeReadOnly(path);
    map.width = 1;
    const QString error = WriteMapFile(path, kMapName, map).refusal();
    EXPECT_TRUE(error.contains(kMapName) && error.contains(QStringLiteral("read-only"))) << qPrintable(error);
    EXPECT_EQ(GetFile(path), original);
}
