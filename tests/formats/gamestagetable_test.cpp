// The stage table where the game reads it: a mod's section of its own, the
// freeware place, the table files of other engines; growing, shrinking and
// moving it changes only the bytes it must.
#include "backup.h"
#include "gamestagetable.h"
#include "pebuilder.h"
#include "samplegame.h"
#include "testfiles.h"

#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace vorn;

namespace {

constexpr quint32 kModTable = 0x421000;
constexpr qint64 kModTableAt = 0x21000;
constexpr qint64 kSectionCountAt = sample::kPeHeaderAt + 6;
constexpr qint64 kSizeOfImageAt = sample::kPeHeaderAt + 24 + 56;
constexpr qint64 kSectionTableAt = sample::kPeHeaderAt + 24 + 0xE0;

quint32 U32(const QByteArray& b, qint64 at) { return qFromLittleEndian<quint32>(b.constData() + at); }

StageRecord Titled(const char* title)
{
    StageRecord record = BlankStageRecord();
    record.setTitle(PadName32(title));
    return record;
}

// A mod's executable: .text with the loader, `count` records in a .csmap of
// `csmapRaw` bytes, then .rsrc right after it.
QByteArray ModExe(int count, quint32 csmapRaw = 0x1000)
{
    QByteArray exe = PatternBytes(0x21000 + csmapRaw + 0x1000);
    const quint32 rsrc = 0x21000 + csmapRaw;
    sample::WritePeHeaders(exe,
                           {{".text", 0x1000, 0x20000, 0x1000, 0x20000, 0x60000020},
                            {".csmap", 0x21000, quint32(count * 200), 0x21000, csmapRaw, 0xC0000040},
                            {".rsrc", rsrc, 0x1000, rsrc, 0x1000, 0x40000040}},
                           rsrc + 0x1000);
    sample::WriteStageLoader(exe, sample::kLoaderAt, kModTable);
    sample::WritePictureFormats(exe, 0x100 + 0x400, "bmp");
    for (int i = 0; i < count; ++i) {
        const StageRecord r = Titled(qPrintable(QStringLiteral("Room %1").arg(i)));
        exe.replace(kModTableAt + i * 200, 197, QByteArray(r.bytes.data(), 197));
    }
    return exe;
}

struct GameTableTest : ::testing::Test {
    QTemporaryDir dir;
    GameFolder folder{dir.path()};
    QString exe = dir.filePath(QStringLiteral("Doukutsu.exe"));
    void SetUp() override
    {
        ForgetBackUps();
        QDir(dir.path()).mkpath(QStringLiteral("data"));
    }
    StageTableFile read()
    {
        StageTableFile table;
        EXPECT_EQ(ReadGameStageTable(folder, table).refusal(), QString());
        return table;
    }
    QString readRefusal()
    {
        StageTableFile table;
        return ReadGameStageTable(folder, table).refusal();
    }
};

} // namespace

TEST_F(GameTableTest, ModSectionGivesCountAndGrowsAndShrinksInPlace)
{
    const QByteArray before = ModExe(3);
    PutFile(exe, before);
    StageTableFile table = read();
    ASSERT_EQ(table.records.size(), 3u);
    EXPECT_TRUE(table.source.ownSection);
    EXPECT_EQ(table.source.offset, kModTableAt);
    EXPECT_EQ(table.source.describe(3), QStringLiteral("Doukutsu.exe, section .csmap, 3 stages"));
    EXPECT_EQ(CutAtNull(table.records[2].title()), "Room 2");
    EXPECT_EQ(PictureExtensionOf(before, nullptr), QStringLiteral("bmp"));

    // Record 1 written: its 197 bytes change, nothing else.
    StageRecord edited = table.records[1];
    edited.setTitle(PadName32("Changed"));
    ASSERT_EQ(WriteGameStageRecord(folder, table, 1, edited).refusal(), QString());
    QByteArray expected = before;
    expected.replace(kModTableAt + 200, 197, QByteArray(edited.bytes.data(), 197));
    EXPECT_EQ(GetFile(exe), expected);

    // Added: the slot after the last and the section's virtual size.
    StageTable wanted = table.records;
    wanted.push_back(wanted[1]);
    ASSERT_EQ(WriteGameStageTable(folder, table, wanted).refusal(), QString());
    expected.replace(kModTableAt + 600, 200, QByteArray(edited.bytes.data(), 197) + QByteArray(3, '\0'));
    qToLittleEndian<quint32>(800, expected.data() + kSectionTableAt + 40 + 8);
    EXPECT_EQ(GetFile(exe), expected);
    EXPECT_EQ(read().records.size(), 4u);
    EXPECT_TRUE(QDir(dir.filePath("backup")).entryList(QDir::Files).first().startsWith("Doukutsu.exe."));

    // Removed: the size goes back, the record's bytes stay.
    wanted.pop_back();
    ASSERT_EQ(WriteGameStageTable(folder, table, wanted).refusal(), QString());
    qToLittleEndian<quint32>(600, expected.data() + kSectionTableAt + 40 + 8);
    EXPECT_EQ(GetFile(exe), expected);
}

TEST_F(GameTableTest, FullTableMovesToANewSectionAndOnlyThoseBytesChange)
{
    // 20 records fill the 0x1000 bytes; the 21st needs a new section.
    const QByteArray before = ModExe(20);
    PutFile(exe, before);
    StageTableFile table = read();
    StageTable wanted = table.records;
    wanted.push_back(Titled("New"));
    ASSERT_EQ(WriteGameStageTable(folder, table, wanted).refusal(), QString());

    const QByteArray after = GetFile(exe);
    ASSERT_EQ(after.size(), before.size() + 0x2000); // 21 records, rounded up to the file alignment
    EXPECT_EQ(after.mid(0x23000 + 20 * 200, 197), QByteArray(wanted[20].bytes.data(), 197));
    EXPECT_EQ(after.mid(0x23000, 20 * 200), before.mid(kModTableAt, 20 * 200));
    QByteArray expected = before;
    expected.replace(kSectionTableAt + 40, 8, QByteArray(".csold\0\0", 8)); // one .csmap only
    expected[kSectionCountAt] = 4;
    qToLittleEndian<quint32>(0x25000, expected.data() + kSizeOfImageAt);
    const quint32 fields[] = {0x00, 0x00, 0x20, 0x20, 0x20, 0x44, 0x40, 0x64, 0x84, 0xA5, 0xA4};
    const std::vector<qint64> uses = sample::AddressUses(sample::kLoaderAt);
    for (size_t i = 0; i < uses.size(); ++i)
        qToLittleEndian<quint32>(0x423000 + fields[i], expected.data() + uses[i]);
    const QByteArray header = after.mid(kSectionTableAt + 3 * 40, 40);
    EXPECT_EQ(header.left(8), QByteArray(".csmap\0\0", 8));
    EXPECT_EQ(U32(header, 8), 21u * 200);
    EXPECT_EQ(U32(header, 12), 0x23000u);
    EXPECT_EQ(U32(header, 20), 0x23000u);
    expected.replace(kSectionTableAt + 3 * 40, 40, header);
    EXPECT_EQ(after.left(before.size()), expected);
    EXPECT_EQ(read().records.size(), 21u);
}

TEST_F(GameTableTest, FreewarePlaceMovesAtTheFirstAddedStage)
{
    ASSERT_EQ(WriteSampleGame(dir.path()).refusal(), QString());
    const QByteArray before = GetFile(exe);
    StageTableFile table = read();
    EXPECT_TRUE(table.source.inCode && !table.source.ownSection);
    EXPECT_EQ(table.source.describe(95), QStringLiteral("Doukutsu.exe at 604080, 95 stages"));
    StageTable fewer(table.records.begin(), table.records.end() - 1);
    EXPECT_EQ(WriteGameStageTable(folder, table, fewer).refusal(),
              QStringLiteral("This table has a fixed size; add a stage first to move it to a section of its own."));

    StageTable more = table.records;
    more.push_back(table.records[5]);
    ASSERT_EQ(WriteGameStageTable(folder, table, more).refusal(), QString());
    const StageTableFile moved = read();
    ASSERT_EQ(moved.records.size(), 96u);
    EXPECT_TRUE(moved.source.ownSection);
    EXPECT_EQ(moved.records[95], table.records[5]);
    EXPECT_EQ(GetFile(exe).mid(kStageTableOffset, 19000), before.mid(kStageTableOffset, 19000)); // the old table stays
}

TEST_F(GameTableTest, ChangedCodeOrBrokenFilesAreRefusedOrFallBack)
{
    // An address use that does not hold the table's address: nothing written.
    QByteArray exeBytes = ModExe(20);
    const qint64 second = sample::AddressUses(sample::kLoaderAt)[1];
    qToLittleEndian<quint32>(0x12345678, exeBytes.data() + second);
    PutFile(exe, exeBytes);
    StageTableFile table = read();
    StageTable wanted = table.records;
    wanted.push_back(Titled("x"));
    EXPECT_EQ(WriteGameStageTable(folder, table, wanted).refusal(),
              QStringLiteral("Doukutsu.exe: the code at 0x20C73 does not hold the stage table's address; "
                             "nothing was changed."));
    EXPECT_EQ(GetFile(exe), exeBytes);

    // A section size that is not whole records: the whole ones, and a note.
    QByteArray odd = ModExe(3);
    qToLittleEndian<quint32>(650, odd.data() + kSectionTableAt + 40 + 8);
    PutFile(exe, odd);
    StageTableFile oddTable = read();
    EXPECT_EQ(oddTable.records.size(), 3u);
    EXPECT_EQ(oddTable.notes.size(), 1);

    // More than 1,000 records, an address outside every section.
    QByteArray huge = ModExe(3);
    qToLittleEndian<quint32>(1001 * 200, huge.data() + kSectionTableAt + 40 + 8);
    qToLittleEndian<quint32>(0x80000, huge.data() + kSectionTableAt + 80 + 12); // .rsrc beyond it
    PutFile(exe, huge);
    EXPECT_TRUE(readRefusal().contains(QStringLiteral("1001 records, more than the 1,000")));
    QByteArray lost = ModExe(3);
    qToLittleEndian<quint32>(0x900000, lost.data() + sample::kLoaderAt + 13);
    PutFile(exe, lost);
    EXPECT_EQ(
        readRefusal(),
        QStringLiteral("Doukutsu.exe: the stage table's address in its code, 0x900000, lies outside every section."));

    // Not a PE, truncated headers, data past the end, overlapping sections:
    // the freeware place, with a note naming the reason.
    QByteArray plain = PatternBytes(kStageTableEnd);
    StageTableFile fallback;
    ASSERT_TRUE(ReadExecutableStageTable(plain, fallback).ok());
    EXPECT_EQ(fallback.notes, QStringList{QStringLiteral("Doukutsu.exe: the stage table's address was not found in its "
                                                         "code; using the freeware place.")});
    QByteArray pastEnd = PatternBytes(kStageTableEnd);
    sample::WritePeHeaders(pastEnd, {{".text", 0x1000, 0x1000, 0x99000, 0x2000}}, 0x2000);
    sample::WriteStageLoader(pastEnd, sample::kLoaderAt, 0x401000);
    ASSERT_TRUE(ReadExecutableStageTable(pastEnd, fallback).ok());
    EXPECT_TRUE(fallback.notes.first().contains(QStringLiteral("section .text's data lies past the end of the file")));
    QByteArray overlap = PatternBytes(kStageTableEnd);
    sample::WritePeHeaders(overlap, {{".a", 0x1000, 0x2000, 0x1000, 0x2000}, {".b", 0x2000, 0x1000, 0x2000, 0x1000}},
                           0x3000);
    ASSERT_TRUE(ReadExecutableStageTable(overlap, fallback).ok());
    EXPECT_TRUE(fallback.notes.first().contains(QStringLiteral("sections .a and .b overlap")));
    for (int cut : {0x40, 0x110, 0x200})
        EXPECT_FALSE(ReadExecutableStageTable(ModExe(3).left(cut), fallback).ok())
            << cut; // too short for the freeware place
}

TEST_F(GameTableTest, TableFilesInTheirOwnLayouts)
{
    // stage.tbl: the English title shown and written, the Japanese one kept.
    QByteArray tbl;
    for (int i = 0; i < 2; ++i) {
        QByteArray record = PatternBytes(229, i);
        record.replace(0xC5, 32, PadName32(QByteArray("English ") + QByteArray::number(i)));
        tbl += record;
    }
    PutFile(dir.filePath("data/stage.tbl"), tbl);
    StageTableFile table = read();
    EXPECT_EQ(table.source.describe(2), QStringLiteral("data/stage.tbl, 2 stages"));
    EXPECT_EQ(CutAtNull(table.records[1].title()), "English 1");
    StageRecord edited = table.records[1];
    edited.setTitle(PadName32("Renamed"));
    ASSERT_EQ(WriteGameStageRecord(folder, table, 1, edited).refusal(), QString());
    QByteArray expected = tbl;
    expected.replace(229 + 0xC5, 32, PadName32("Renamed"));
    EXPECT_EQ(GetFile(dir.filePath("data/stage.tbl")), expected);

    // An executable whose code holds the loader wins over stage.tbl.
    // It is the one edited; stage.tbl, which it never reads, is left as it was.
    PutFile(exe, ModExe(3));
    table = read();
    EXPECT_EQ(table.records.size(), 3u);
    ASSERT_EQ(WriteGameStageRecord(folder, table, 2, edited).refusal(), QString());
    EXPECT_NE(GetFile(exe), ModExe(3));
    EXPECT_EQ(GetFile(dir.filePath("data/stage.tbl")), expected);
    QFile::remove(exe);

    // mrmap.bin: a count, 116-byte records, 16-byte names.
    QFile::remove(dir.filePath("data/stage.tbl"));
    QByteArray mrmap(4 + 116, '\0');
    mrmap[0] = 1;
    mrmap.replace(4 + 16, 4, "Cave");
    mrmap[4 + 32] = 2;
    mrmap[4 + 81] = 7;
    mrmap.replace(4 + 82, 34, QByteArray(34, 'T'));
    PutFile(dir.filePath("data/mrmap.bin"), mrmap);
    table = read();
    ASSERT_EQ(table.records.size(), 1u);
    EXPECT_EQ(CutAtNull(table.records[0].map()), "Cave");
    EXPECT_EQ(table.records[0].parallax(), 2);
    EXPECT_EQ(quint8(table.records[0].bytes[164]), 7);
    StageTable two = {table.records[0], table.records[0]};
    ASSERT_EQ(WriteGameStageTable(folder, table, two).refusal(), QString());
    const QByteArray written = GetFile(dir.filePath("data/mrmap.bin"));
    EXPECT_EQ(written.size(), 4 + 2 * 116);
    EXPECT_EQ(written.mid(4, 116), mrmap.mid(4, 116)); // the title's last two bytes too
    StageRecord tooLong = table.records[0];
    ASSERT_TRUE(SetStageField(tooLong, "map", "SeventeenLetters1").ok());
    EXPECT_EQ(WriteGameStageRecord(folder, table, 0, tooLong).refusal().isEmpty(), false);
    EXPECT_EQ(CheckRecordFits(StageTableKind::MrMap, 0, tooLong).refusal(),
              QStringLiteral("Stage 0's map name is longer than the 16 bytes data\\mrmap.bin holds."));
}

TEST_F(GameTableTest, FieldsAreSetFromTextOrRefusedWithTheReason)
{
    StageRecord record = BlankStageRecord();
    EXPECT_EQ(CutAtNull(record.map()), "0");
    EXPECT_EQ(record.parallax(), 4);
    ASSERT_TRUE(SetStageField(record, "boss", "balfrog").ok());
    ASSERT_TRUE(SetStageField(record, "backdrop-type", "7").ok());
    ASSERT_TRUE(SetStageField(record, "sheet2", "Guest").ok());
    EXPECT_EQ(quint8(record.bytes[164]), 2);
    EXPECT_EQ(record.parallax(), 7);
    EXPECT_EQ(QByteArray(record.bytes.data() + 132, 6), QByteArray("Guest\0", 6));
    EXPECT_EQ(SetStageField(record, "map", "../x").refusal(),
              QStringLiteral("The map name \"../x\" is not a plain file name."));
    EXPECT_EQ(SetStageField(record, "title", QString(32, 'a')).refusal(),
              QStringLiteral("The title \"%1\" is longer than the field: 32 of 31 bytes.").arg(QString(32, 'a')));
    EXPECT_FALSE(SetStageField(record, "boss", "256").ok());
    EXPECT_EQ(quint8(record.bytes[164]), 2); // a refused value changes nothing
}

TEST_F(GameTableTest, PictureExtensionAndBackups)
{
    QByteArray exeBytes = ModExe(1);
    EXPECT_EQ(PictureExtensionOf(exeBytes, nullptr), QStringLiteral("bmp"));
    exeBytes.replace(0x500 + 16 + 6, 3, "png"); // the formats disagree
    QString note;
    EXPECT_EQ(PictureExtensionOf(exeBytes, &note), QStringLiteral("pbm"));
    EXPECT_FALSE(note.isEmpty());

    // The first copy ever survives; ten others are kept; a taken name gets -2.
    PutFile(exe, "v0");
    const QDateTime start(QDate(2026, 1, 1), QTime(10, 0));
    for (int i = 0; i < 13; ++i) {
        PutFile(exe, "v" + QByteArray::number(i));
        ASSERT_TRUE(BackUp(dir.path(), exe, start.addSecs(i / 2), false).ok());
    }
    const QStringList copies = QDir(dir.filePath("backup")).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(copies.size(), 11);
    EXPECT_EQ(copies.first(), QStringLiteral("Doukutsu.exe.20260101-100000"));
    EXPECT_EQ(GetFile(dir.filePath("backup/" + copies.first())), "v0");
    EXPECT_TRUE(copies.contains(QStringLiteral("Doukutsu.exe.20260101-100006")));
    EXPECT_TRUE(copies.contains(QStringLiteral("Doukutsu.exe.20260101-100005-2")));
    // Once a run: the second change makes no copy.
    ASSERT_TRUE(BackUpOnce(dir.path(), exe).ok());
    ASSERT_TRUE(BackUpOnce(dir.path(), exe).ok());
    EXPECT_EQ(QDir(dir.filePath("backup")).entryList(QDir::Files).size(), 11);
}
