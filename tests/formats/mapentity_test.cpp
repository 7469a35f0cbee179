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

// ---- map files ------------------------------------------------------------

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

    ASSERT_EQ(WriteMapFile(path, kMapName, map), QString());
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
    ASSERT_EQ(WriteMapFile(path, kMapName, map), QString());

    const QByteArray after = GetFile(path);
    ASSERT_EQ(after.size(), original.size()); // never shortened
    EXPECT_EQ(after.left(4), original.left(4));
    EXPECT_EQ(after.mid(4, 4), Le16(2) + Le16(3));
    EXPECT_EQ(after[8 + 1 * 2 + 1], original[8 + 1 * 4 + 1]); // cell (1,1) moved to its new place
    EXPECT_EQ(after.mid(14), original.mid(14));

    map.width = 0;
    map.height = 0;
    ASSERT_EQ(WriteMapFile(path, kMapName, map), QString());
    EXPECT_EQ(GetFile(path).mid(8), after.mid(8)); // only the two size fields change
}

TEST_F(FileTest, NewOrTinyMapFileGetsTheGameHeader)
{
    MapData map;
    map.width = 2;
    map.height = 1;
    map.grid.at(1, 0) = 5;
    ASSERT_EQ(WriteMapFile(path, kMapName, map), QString());
    EXPECT_EQ(GetFile(path), MapBytes(2, 1, QByteArray("\0\x05", 2)));

    PutFile(path, "AB");
    EXPECT_EQ(ComposeMapFile("AB", map), MapBytes(2, 1, QByteArray("\0\x05", 2)));
    EXPECT_EQ(ComposeMapFile("ABCDE", map).left(4), "ABCD");
}

TEST_F(FileTest, MissingMapIsReportedAndNotCreated)
{
    MapData map;
    map.width = 3;
    map.grid.at(0, 0) = 1;
    const ReadStatus status = ReadMapFile(path, kMapName, map);
    EXPECT_TRUE(status.ok());
    EXPECT_TRUE(status.missing);
    EXPECT_EQ(map.width, 0);
    EXPECT_EQ(map.grid.at(0, 0), 0);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(FileTest, HostileMapFilesAreRefusedAndLeaveTheMapAlone)
{
    struct Case { QByteArray bytes; const char* words; };
    const Case cases[] = {
        {QByteArray("PXM"), "shorter than its header: 3 of 8 bytes"},
        {MapBytes(20, 15, PatternBytes(299)), "shorter than its header says: 307 of 308 bytes"},
        {MapBytes(-1, 5, {}), "-1 x 5"},
        {MapBytes(514, 1, PatternBytes(514)), "514 x 1"},
        {MapBytes(1, -32768, {}), "1 x -32768"},
        {MapBytes(513, 513, PatternBytes(100)), "of 263177 bytes"},
    };
    for (const Case& c : cases) {
        PutFile(path, c.bytes);
        MapData map;
        map.width = 7;
        map.grid.at(3, 3) = 42;
        const ReadStatus status = ReadMapFile(path, kMapName, map);
        EXPECT_FALSE(status.ok()) << c.words;
        EXPECT_TRUE(status.error.startsWith(kMapName)) << qPrintable(status.error);
        EXPECT_TRUE(status.error.contains(QLatin1String(c.words))) << qPrintable(status.error);
        EXPECT_EQ(map.width, 7);
        EXPECT_EQ(map.grid.at(3, 3), 42);
    }
}

TEST_F(FileTest, MapOfTheLargestSizeRoundTrips)
{
    const QByteArray original = MapBytes(513, 513, PatternBytes(513 * 513));
    PutFile(path, original);
    MapData map;
    ASSERT_TRUE(ReadMapFile(path, kMapName, map).ok());
    EXPECT_EQ(map.grid.at(512, 512), quint8(original[8 + 513 * 513 - 1]));
    EXPECT_EQ(ComposeMapFile(original, map), original);
}

TEST_F(FileTest, MapSizeOutsideTheGridIsNotWritten)
{
    PutFile(path, MapBytes(1, 1, "x"));
    MapData map;
    map.width = -1;
    EXPECT_FALSE(WriteMapFile(path, kMapName, map).isEmpty());
    map.width = 514;
    EXPECT_FALSE(WriteMapFile(path, kMapName, map).isEmpty());
    EXPECT_EQ(GetFile(path), MapBytes(1, 1, "x"));
}

// ---- entity files ---------------------------------------------------------

TEST_F(FileTest, EntityRoundTripKeepsEveryByte)
{
    // X of -1 is stored as FF FF and must survive.
    QByteArray records = PatternBytes(36);
    records[0] = '\xFF';
    records[1] = '\xFF';
    const QByteArray original = EntityBytes(3, records, "tail");
    PutFile(path, original);

    qint16 count = -5;
    EntityRecords entities{};
    ASSERT_TRUE(ReadEntityFile(path, kEntName, count, entities).ok());
    EXPECT_EQ(count, 3);
    EXPECT_EQ(entities[0].X, -1);
    EXPECT_EQ(entities[2].Unknown, qFromLittleEndian<qint16>(original.constData() + 42)); // ends at 43
    EXPECT_EQ(entities[1].Y, qFromLittleEndian<qint16>(original.constData() + 22));

    ASSERT_EQ(WriteEntityFile(path, kEntName, count, entities), QString());
    EXPECT_EQ(GetFile(path), original);
}

TEST_F(FileTest, LoweredEntityCountKeepsOldRecordsBehind)
{
    const QByteArray original = EntityBytes(5, PatternBytes(60));
    PutFile(path, original);
    qint16 count = 0;
    EntityRecords entities{};
    ASSERT_TRUE(ReadEntityFile(path, kEntName, count, entities).ok());
    entities[0].Type = 99;
    ASSERT_EQ(WriteEntityFile(path, kEntName, 3, entities), QString());

    const QByteArray after = GetFile(path);
    EXPECT_EQ(after.size(), original.size());
    EXPECT_EQ(after.left(4), original.left(4));
    EXPECT_EQ(after.mid(4, 2), Le16(3));
    EXPECT_EQ(after.mid(6, 2), original.mid(6, 2));
    EXPECT_EQ(after.mid(16, 2), Le16(99));
    EXPECT_EQ(after.mid(44), original.mid(44)); // records 3 and 4

    ASSERT_EQ(WriteEntityFile(path, kEntName, 0, entities), QString());
    EXPECT_EQ(GetFile(path).mid(6), after.mid(6)); // a count of 0 writes only the count
}

TEST_F(FileTest, ReadingKeepsRecordsBeyondTheCount)
{
    PutFile(path, EntityBytes(1, PatternBytes(12)));
    qint16 count = 0;
    EntityRecords entities{};
    entities[1].Flag = 77;
    ASSERT_TRUE(ReadEntityFile(path, kEntName, count, entities).ok());
    EXPECT_EQ(entities[1].Flag, 77);
}

TEST_F(FileTest, NewOrTinyEntityFileGetsTheGameHeader)
{
    EntityRecords entities{};
    entities[0] = {1, 2, 3, 4, 5, -6};
    ASSERT_EQ(WriteEntityFile(path, kEntName, 1, entities), QString());
    const QByteArray expected = QByteArray("PXE\0", 4) + Le16(1) + Le16(0) + Le16(1) + Le16(2)
                                + Le16(3) + Le16(4) + Le16(5) + Le16(-6);
    EXPECT_EQ(GetFile(path), expected);
    EXPECT_EQ(ComposeEntityFile("P", 1, entities), expected);
}

TEST_F(FileTest, MissingEntityFileIsReportedAndNotCreated)
{
    qint16 count = 9;
    EntityRecords entities{};
    const ReadStatus status = ReadEntityFile(path, kEntName, count, entities);
    EXPECT_TRUE(status.ok());
    EXPECT_TRUE(status.missing);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(FileTest, HostileEntityFilesAreRefusedAndLeaveStateAlone)
{
    struct Case { QByteArray bytes; const char* words; };
    const Case cases[] = {
        {QByteArray("PXE\0\x01", 5), "shorter than its header: 5 of 8 bytes"},
        {EntityBytes(-1, {}), "count of -1"},
        {EntityBytes(257, PatternBytes(257 * 12)), "count of 257"},
        {EntityBytes(3, PatternBytes(35)), "43 of 44 bytes"},
        {EntityBytes(256, {}), "8 of 3080 bytes"},
    };
    for (const Case& c : cases) {
        PutFile(path, c.bytes);
        qint16 count = 4;
        EntityRecords entities{};
        entities[0].X = 11;
        const ReadStatus status = ReadEntityFile(path, kEntName, count, entities);
        EXPECT_FALSE(status.ok()) << c.words;
        EXPECT_TRUE(status.error.startsWith(kEntName)) << qPrintable(status.error);
        EXPECT_TRUE(status.error.contains(QLatin1String(c.words))) << qPrintable(status.error);
        EXPECT_EQ(count, 4);
        EXPECT_EQ(entities[0].X, 11);
    }
}

TEST_F(FileTest, EntityCountOutsideTheModelIsNotWritten)
{
    PutFile(path, EntityBytes(0, {}));
    EntityRecords entities{};
    EXPECT_FALSE(WriteEntityFile(path, kEntName, -1, entities).isEmpty());
    EXPECT_FALSE(WriteEntityFile(path, kEntName, 257, entities).isEmpty());
    EXPECT_EQ(GetFile(path), EntityBytes(0, {}));
}

TEST_F(FileTest, ReadOnlyGameFileIsRefusedAndKept)
{
    const QByteArray original = MapBytes(1, 1, "x");
    PutFile(path, original);
    MakeReadOnly(path);
    MapData map;
    map.width = 1;
    map.height = 1;
    const QString error = WriteMapFile(path, kMapName, map);
    EXPECT_TRUE(error.contains(kMapName) && error.contains(QStringLiteral("read-only"))) << qPrintable(error);
    EXPECT_EQ(GetFile(path), original);
}
