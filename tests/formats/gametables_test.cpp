#include "entitysprite.h"
#include "npctable.h"
#include "stagefiles.h"
#include "testfiles.h"
#include "tiletypes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstring>
#include <gtest/gtest.h>

using namespace vorn;

namespace {

constexpr int kTypes = 361; // the shipped table, 8,664 bytes

// Puts one type's fields where the game's column layout has them, written
// here from the layout itself rather than through ComposeNpcTable.
void PutType(QByteArray& bytes, int n, int t, const NpcType& v)
{
    uchar* d = reinterpret_cast<uchar*>(bytes.data());
    qToLittleEndian<quint16>(v.bits, d + 2 * t);
    qToLittleEndian<quint16>(v.life, d + 2 * n + 2 * t);
    d[4 * n + t] = v.sheet;
    d[5 * n + t] = v.deathSound;
    d[6 * n + t] = v.hitSound;
    d[7 * n + t] = v.deathSmoke;
    qToLittleEndian<qint32>(v.experience, d + 8 * n + 4 * t);
    qToLittleEndian<qint32>(v.damage, d + 12 * n + 4 * t);
    const uchar hit[4] = {v.hit.front, v.hit.top, v.hit.back, v.hit.bottom};
    const uchar view[4] = {v.view.front, v.view.top, v.view.back, v.view.bottom};
    std::memcpy(d + 16 * n + 4 * t, hit, 4);
    std::memcpy(d + 20 * n + 4 * t, view, 4);
}

NpcType TypeWith(quint16 bits, quint8 sheet, qint32 experience, NpcBox view)
{
    NpcType t;
    t.bits = bits;
    t.life = quint16(bits ^ 0x5555);
    t.sheet = sheet;
    t.deathSound = quint8(sheet + 1);
    t.hitSound = quint8(sheet + 2);
    t.deathSmoke = quint8(sheet + 3);
    t.experience = experience;
    t.damage = -experience;
    t.hit = {view.bottom, view.back, view.top, view.front};
    t.view = view;
    return t;
}

// Every field of one type, compared as the bytes of a one-type table.
QByteArray Fields(const NpcType& type) { return ComposeNpcTable(NpcTable{type}); }

const QString kTableName = QStringLiteral("data\\npc.tbl");

} // namespace

TEST(NpcTable, FieldsComeFromTheirColumnsAndComposeGivesTheBytesBack)
{
    QByteArray bytes = PatternBytes(kTypes * kNpcTableBytesPerType);
    ASSERT_EQ(bytes.size(), 8664);
    const NpcType first = TypeWith(0x2001, kSheetNpcSym, 1, {8, 8, 8, 8});
    const NpcType behemoth = TypeWith(0x0120, kSheetStageNpc1, 70000, {16, 8, 12, 16});
    const NpcType last = TypeWith(0xFFFF, kSheetStageNpc2, -3, {255, 1, 2, 3});
    PutType(bytes, kTypes, 0, first);
    PutType(bytes, kTypes, 2, behemoth);
    PutType(bytes, kTypes, 360, last);

    NpcTable table;
    ASSERT_EQ(ParseNpcTable(bytes, kTableName, table).refusal(), QString());
    ASSERT_EQ(table.size(), size_t(kTypes));
    EXPECT_EQ(Fields(table[0]), Fields(first));
    EXPECT_EQ(Fields(table[2]), Fields(behemoth));
    EXPECT_EQ(Fields(table[360]), Fields(last));
    EXPECT_EQ(ComposeNpcTable(table), bytes);
}

TEST(NpcTable, SizesThatAreNoTableAreRefusedLeavingTheTable)
{
    const NpcTable before(3, TypeWith(7, 21, 9, {1, 2, 3, 4}));
    for (const qsizetype size :
         {qsizetype(0), qsizetype(8665), qsizetype(23), qsizetype(kNpcTableMaxTypes + 1) * kNpcTableBytesPerType}) {
        SCOPED_TRACE(size);
        NpcTable table = before;
        const Outcome parsed = ParseNpcTable(QByteArray(size, '\x11'), kTableName, table);
        ASSERT_FALSE(parsed.ok());
        EXPECT_TRUE(parsed.refusal().startsWith(kTableName)) << parsed.refusal().toStdString();
        ASSERT_EQ(table.size(), before.size());
        EXPECT_EQ(ComposeNpcTable(table), ComposeNpcTable(before));
    }
}

TEST(NpcTable, ReadFromTheGameFolderOrMissing)
{
    QTemporaryDir dir;
    const GameFolder game(dir.path());
    NpcTable table(5);
    const ReadStatus missing = ReadNpcTable(game, table);
    EXPECT_TRUE(missing.ok() && missing.missing);
    EXPECT_TRUE(table.empty());

    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Data")));
    const QByteArray bytes = PatternBytes(2 * kNpcTableBytesPerType);
    PutFile(dir.filePath(QStringLiteral("Data/NPC.TBL")), bytes);
    const ReadStatus read = ReadNpcTable(game, table);
    ASSERT_EQ(read.refusal(), QString());
    EXPECT_FALSE(read.missing);
    EXPECT_EQ(ComposeNpcTable(table), bytes);
}

TEST(TileTypes, ReadGivesTheFirst256BytesAndZeroForTheRest)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Cave.pxa"));
    const QString name = QStringLiteral("data\\stage\\Cave.pxa");
    TileTypeFile file;
    file.types.fill(0x41);
    file.size = 99;
    const ReadStatus missing = ReadTileTypeFile(path, name, file);
    EXPECT_TRUE(missing.ok() && missing.missing);
    EXPECT_EQ(file.types, TileTypes{});
    EXPECT_EQ(file.size, 0);

    PutFile(path, PatternBytes(10));
    ASSERT_TRUE(ReadTileTypeFile(path, name, file).ok());
    EXPECT_EQ(file.size, 10);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(file.types.data()), 256),
              PatternBytes(10) + QByteArray(246, '\0'));

    PutFile(path, PatternBytes(300));
    ASSERT_TRUE(ReadTileTypeFile(path, name, file).ok());
    EXPECT_EQ(file.size, 300);
    EXPECT_EQ(file.types[255], quint8(PatternBytes(300)[255]));
}

TEST(TileTypes, WriteKeepsTheBytesAfter256AndCreatesAMissingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Cave.pxa"));
    const QString name = QStringLiteral("data\\stage\\Cave.pxa");
    TileTypes types{};
    types[0] = 0x41;
    types[255] = 0xA3;
    const QByteArray written(reinterpret_cast<const char*>(types.data()), 256);

    ASSERT_EQ(WriteTileTypeFile(path, name, types).refusal(), QString());
    EXPECT_EQ(GetFile(path), written);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Cave.pxa")});

    const QByteArray longer = PatternBytes(300);
    PutFile(path, longer);
    ASSERT_EQ(WriteTileTypeFile(path, name, types).refusal(), QString());
    EXPECT_EQ(GetFile(path), written + longer.mid(256));

    PutFile(path, PatternBytes(10)); // a short file is filled out to every tile
    ASSERT_EQ(WriteTileTypeFile(path, name, types).refusal(), QString());
    EXPECT_EQ(GetFile(path), written);
}

TEST(TileTypes, AFolderInTheFilesPlaceIsRefusedByName)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Cave.pxa"));
    const QString name = QStringLiteral("data\\stage\\Cave.pxa");
    ASSERT_TRUE(QDir().mkdir(path));
    TileTypeFile file;
    file.size = 7;
    const ReadStatus read = ReadTileTypeFile(path, name, file);
    ASSERT_FALSE(read.ok());
    EXPECT_TRUE(read.refusal().contains(name)) << read.refusal().toStdString();
    EXPECT_EQ(file.size, 7);
    const Outcome write = WriteTileTypeFile(path, name, TileTypes{});
    ASSERT_FALSE(write.ok());
    EXPECT_TRUE(write.refusal().contains(name)) << write.refusal().toStdString();
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST(EntitySprite, ViewBoxPlacesTheFrameAndWithoutATableItIsCentred)
{
    NpcTable table(kTypes);
    table[2].sheet = kSheetStageNpc2; // a mod's sheet, not the shipped one
    table[2].view = {20, 8, 12, 16};
    const auto left = SpriteOf(2, false, table);
    const auto right = SpriteOf(2, true, table);
    ASSERT_TRUE(left && right);
    EXPECT_EQ(left->sheet, kSheetStageNpc2);
    EXPECT_EQ((std::array{left->offsetX, left->offsetY, right->offsetX, right->offsetY}), (std::array{-12, 0, -4, 0}));
    EXPECT_EQ((std::array{left->frame.left, left->frame.top, right->frame.left, right->frame.top}),
              (std::array<qint16, 4>{32, 0, 32, 24}));

    const auto shipped = SpriteOf(2, false, NpcTable{}); // a 32 x 24 frame
    ASSERT_TRUE(shipped);
    EXPECT_EQ(shipped->sheet, kSheetStageNpc1);
    EXPECT_EQ((std::array{shipped->offsetX, shipped->offsetY}), (std::array{-8, -4}));

    const NpcTable larger(400);
    EXPECT_FALSE(SpriteOf(3, false, table)); // a frame of zeros draws nothing
    EXPECT_FALSE(SpriteOf(361, false, larger)); // no frame known beyond the shipped types
    EXPECT_FALSE(SpriteOf(-1, true, larger));
}

TEST(StageFiles, SheetTwoStartsAtTheSpareByteAndZeroIsNone)
{
    StageRecord record;
    record.setTileset(PadName32("Grotto"));
    record.setMap(PadName32("Hollow"));
    record.setSpriteSet(PadName32("Common"));
    // A second sheet name of all 32 bytes, then the boss number.
    const QByteArray sheet2 = QByteArray("F") + QByteArray(31, 'x');
    std::memcpy(record.bytes.data() + 132, sheet2.constData(), 32);
    record.bytes[164] = 5;
    StageFiles files;
    ASSERT_TRUE(StageFilesOf(13, record, files).ok());
    EXPECT_EQ(files.tileTypes, QStringLiteral("data\\stage\\Grotto.pxa"));
    EXPECT_EQ(files.npcSheet1, QStringLiteral("data\\npc\\npcCommon.pbm"));
    EXPECT_EQ(files.npcSheet2Name, QString::fromLatin1(sheet2));
    EXPECT_EQ(SheetFileOf(kSheetStageNpc2, files),
              QStringLiteral("data\\npc\\npc") + QString::fromLatin1(sheet2) + ".pbm");

    record.bytes[132] = '0';
    record.bytes[133] = '\0';
    record.setSpriteSet(PadName32(""));
    ASSERT_TRUE(StageFilesOf(13, record, files).ok());
    EXPECT_EQ(files.npcSheet2Name, QStringLiteral("0"));
    EXPECT_EQ(files.npcSheet2, QString());
    EXPECT_EQ(files.npcSheet1, QString());
    EXPECT_EQ(SheetFileOf(kSheetStageNpc2, files), QString());
    EXPECT_EQ(SheetFileOf(kSheetNpcSym, files), QStringLiteral("data\\npc\\npcsym.pbm"));
}
