#include "stagetable.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vorn;

namespace {

constexpr qint64 kExeSize = kStageTableEnd + 1000;

struct StageTableTest : ::testing::Test {
    QTemporaryDir dir;
    QString exe = dir.filePath(QStringLiteral("Doukutsu.exe"));
    QByteArray original = PatternBytes(kExeSize);
    void SetUp() override { PutFile(exe, original); }
};

QByteArray Name(const char* text) { return PadName32(QByteArray(text)); }

} // namespace

TEST_F(StageTableTest, ReadsFieldsAtTheirOffsets)
{
    QByteArray bytes = original;
    const qint64 at = kStageTableOffset + 13 * kStageSlotSize;
    bytes.replace(at, 32, Name("Cave"));
    bytes.replace(at + 32, 32, Name("Cave"));
    bytes.replace(at + 64, 4, QByteArray("\xFE\xFF\xFF\xFF", 4));
    bytes.replace(at + 165, 32, QByteArray(32, 'T'));
    PutFile(exe, bytes);

    StageTable table;
    ASSERT_EQ(ReadStageTable(exe, table).refusal(), QString());
    StageRecord r = table[13];
    EXPECT_EQ(CutAtNull(r.tileset()), "Cave");
    EXPECT_EQ(r.parallax(), -2);
    EXPECT_EQ(r.spareByte(), quint8(bytes[at + 132]));
    EXPECT_EQ(r.spareName(), bytes.mid(at + 133, 32));
    EXPECT_EQ(r.title(), QByteArray(32, 'T'));
    EXPECT_EQ(StageListItemText(13, r), QStringLiteral("13 - ") + QString(32, u'T'));
    r.setTitle(QByteArray("  Cave"));
    EXPECT_EQ(StageListItemText(13, r), QStringLiteral("13 - Cave"));
    // The last record ends 3 bytes before the end of its slot.
    EXPECT_EQ(QByteArray(table[94].bytes.data(), 197), bytes.mid(622880, 197));
}

TEST_F(StageTableTest, ShortOrMissingExecutableIsAnErrorAndLeavesTableAlone)
{
    PutFile(exe, original.left(kStageTableEnd - 1));
    StageTable table(kFreewareStageCount);
    table[0].setTitle(Name("kept"));
    EXPECT_EQ(ReadStageTable(exe, table).refusal(),
              QStringLiteral("Doukutsu.exe is too short to hold the stage table (623079 of 623080 bytes)."));
    EXPECT_EQ(CutAtNull(table[0].title()), "kept");

    EXPECT_FALSE(ReadStageTable(dir.filePath("nothing.exe"), table).ok());
    EXPECT_FALSE(QFile::exists(dir.filePath("nothing.exe")));
}

TEST_F(StageTableTest, WritingOneRecordTouchesOnlyItsFieldBytes)
{
    StageTable table;
    ASSERT_EQ(ReadStageTable(exe, table).refusal(), QString());
    StageRecord edited = table[94];
    edited.setTitle(Name("  New title  "));
    edited.setParallax(7);
    ASSERT_EQ(WriteStageRecord(exe, 94, edited).refusal(), QString());

    const QByteArray after = GetFile(exe);
    ASSERT_EQ(after.size(), original.size());
    QByteArray expected = original;
    expected.replace(622880, 197, QByteArray(edited.bytes.data(), 197));
    EXPECT_EQ(after, expected); // spare fields, slot tail and other records unchanged
    EXPECT_EQ(after.mid(622880 + 165, 32), Name("New title"));

    // Unedited records read and written back are bit-for-bit the same file.
    ASSERT_EQ(ReadStageTable(exe, table).refusal(), QString());
    for (int i = 0; i < kFreewareStageCount; ++i)
        ASSERT_EQ(WriteStageRecord(exe, i, table[i]).refusal(), QString());
    EXPECT_EQ(GetFile(exe), expected);
}

TEST_F(StageTableTest, WriteRefusesBadIndexReadOnlyAndShortFiles)
{
    StageRecord record;
    EXPECT_FALSE(WriteStageRecord(exe, 95, record).ok());

    const QString shortExe = dir.filePath("short.exe");
    PutFile(shortExe, QByteArray(1000, 'x'));
    EXPECT_FALSE(WriteStageRecord(shortExe, 0, record).ok());
    EXPECT_EQ(GetFile(shortExe).size(), 1000); // not grown

    const QString missing = dir.filePath("missing.exe");
    EXPECT_FALSE(WriteStageRecord(missing, 0, record).ok());
    EXPECT_FALSE(QFile::exists(missing));

    MakeReadOnly(exe);
    EXPECT_TRUE(WriteStageRecord(exe, 0, record).refusal().contains(QStringLiteral("read-only")));
    EXPECT_EQ(GetFile(exe), original);
}

TEST_F(StageTableTest, ProbeSucceedsOnWritableFileAndFailsOtherwise)
{
    EXPECT_TRUE(ProbeGameExecutable(exe));
    EXPECT_EQ(GetFile(exe), original);

    EXPECT_FALSE(ProbeGameExecutable(dir.filePath("missing.exe")));
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.exe")));

    const QString tiny = dir.filePath("tiny.exe");
    PutFile(tiny, QByteArray(49, 'x')); // no byte 49 to read
    EXPECT_FALSE(ProbeGameExecutable(tiny));
    EXPECT_EQ(GetFile(tiny).size(), 49);

    MakeReadOnly(exe); // refused even when running as root
    EXPECT_FALSE(ProbeGameExecutable(exe));
}

TEST(StageNames, CutAtNullAndPadName32)
{
    EXPECT_EQ(CutAtNull(QByteArray(32, '\0')), QByteArray());
    EXPECT_EQ(CutAtNull(QByteArray(" a \0b", 5)), " a ");
    EXPECT_EQ(CutAtNull(QByteArray(" x ")), " x ");

    EXPECT_EQ(PadName32("  Cave  "), QByteArray("Cave") + QByteArray(28, '\0'));
    EXPECT_EQ(PadName32(QByteArray(40, 'x')), QByteArray(32, 'x'));
    EXPECT_EQ(PadName32(QByteArray("ab\0cd", 5)), QByteArray("ab") + QByteArray(30, '\0'));

    StageRecord r; // a wrong-sized value never spills into the next field
    r.setMap(PadName32("Map"));
    r.setTileset(QByteArray(40, 'x'));
    EXPECT_EQ(CutAtNull(r.map()), "Map");
}

TEST(AnsiCodePage, EveryByteRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = DecodeAnsi(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x9F], QChar(0x0178));
    EXPECT_EQ(EncodeAnsi(text), all);
    EXPECT_EQ(EncodeAnsi(QStringLiteral("a\u4E2Db\U0001F600")), "a?b?");
}
