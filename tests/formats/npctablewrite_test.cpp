// Writing the entity type table: the sample game's file comes back byte for
// byte, fields are refused outside their range, the file is backed up and
// replaced whole, and names are kept for one game folder alone.
#include "backup.h"
#include "entitytypes.h"
#include "inifile.h"
#include "npctable.h"
#include "samplegame.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vorn;

namespace {

class NpcTableWrite : public ::testing::Test {
protected:
    void SetUp() override
    {
        ForgetBackUps();
        ASSERT_EQ(WriteSampleGame(dir.path()).refusal(), QString());
        file = GameFolder(dir.path()).findFile(NpcTableName());
        ASSERT_FALSE(file.isEmpty());
    }
    QTemporaryDir dir;
    QString file;
};

} // namespace

TEST_F(NpcTableWrite, SampleTableRoundTripsAndAWriteIsBackedUp)
{
    const QByteArray original = GetFile(file);
    const GameFolder game(dir.path());
    NpcTable table;
    ASSERT_TRUE(ReadNpcTable(game, table).ok());
    EXPECT_EQ(ComposeNpcTable(table), original);

    ASSERT_EQ(WriteNpcTable(game, table).refusal(), QString());
    EXPECT_EQ(GetFile(file), original);
    const QStringList copies = QDir(dir.filePath("backup")).entryList({"npc.tbl.*"}, QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(GetFile(dir.filePath("backup/" + copies.first())), original);

    // One type more: 24 bytes more, each column one entry longer.
    table.push_back(table[60]);
    ASSERT_EQ(WriteNpcTable(game, table).refusal(), QString());
    EXPECT_EQ(GetFile(file).size(), original.size() + kNpcTableBytesPerType);
    NpcTable reread;
    ASSERT_TRUE(ReadNpcTable(game, reread).ok());
    EXPECT_EQ(ComposeNpcTable(reread), ComposeNpcTable(table));

    // Refused before anything is touched.
    EXPECT_FALSE(WriteNpcTable(game, NpcTable{}).ok());
    MakeReadOnly(file);
    EXPECT_TRUE(WriteNpcTable(game, table).refusal().contains("read-only"));
}

TEST(NpcFields, ValuesInRangeAreTakenOthersRefusedWithTheRange)
{
    NpcType type;
    EXPECT_TRUE(SetNpcField(type, NpcField::Life, "65535").ok());
    EXPECT_EQ(type.life, 65535);
    const Outcome tooMuch = SetNpcField(type, NpcField::Life, "65536");
    EXPECT_EQ(tooMuch.refusal(), "The life is a whole number from 0 to 65535: \"65536\" is refused.");
    EXPECT_EQ(type.life, 65535);
    EXPECT_FALSE(SetNpcField(type, NpcField::Sheet, "256").ok());
    EXPECT_FALSE(SetNpcField(type, NpcField::Smoke, "2.5").ok());
    EXPECT_TRUE(SetNpcField(type, NpcField::Damage, "-2147483648").ok());
    EXPECT_FALSE(SetNpcField(type, NpcField::Experience, "2147483648").ok());
    EXPECT_TRUE(SetNpcField(type, NpcField::HurtSound, "0x10").ok());
    EXPECT_EQ(type.hitSound, 16);

    EXPECT_TRUE(SetNpcField(type, NpcField::ViewBox, "8, 16 8 0").ok());
    EXPECT_EQ(NpcFieldText(type, NpcField::ViewBox), "8 16 8 0");
    EXPECT_TRUE(SetNpcField(type, NpcField::HitBox, "1 2 3 300").refusal().contains("0 to 255"));
    EXPECT_FALSE(SetNpcField(type, NpcField::HitBox, "1 2 3").ok());

    // Bits by number or by their names.
    EXPECT_TRUE(SetNpcField(type, NpcField::Bits, "&H2000").ok());
    EXPECT_EQ(NpcFieldText(type, NpcField::Bits), "0x2000");
    EXPECT_TRUE(SetNpcField(type, NpcField::Bits, EntityBitNames(0x1021)).ok());
    EXPECT_EQ(type.bits, 0x1021);
    EXPECT_TRUE(SetNpcField(type, NpcField::Bits, "Can Be Shot,  bouncy").ok());
    EXPECT_EQ(type.bits, 0x30);
    EXPECT_FALSE(SetNpcField(type, NpcField::Bits, "can be shot, flies").ok());
    EXPECT_FALSE(SetNpcField(type, NpcField::Bits, "65536").ok());
}

// A folder's own names come before [Entities]; another folder's never show.
TEST(EntityNames, EachGameFolderKeepsItsOwnNames)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath("modA") && QDir(dir.path()).mkpath("modB"));
    const QString ini = dir.filePath("vorn.ini");
    const QString modA = dir.filePath("modA"), modB = dir.filePath("modB");
    ASSERT_TRUE(INIWrite(ini, "Entities", "2", "Shared behemoth").ok());
    ASSERT_TRUE(INIWriteValues(ini, GameEntitiesSection(modA), {{"2", "Big one"}, {"400", "Added"}}).ok());
    EXPECT_NE(GameEntitiesSection(modA), GameEntitiesSection(modB));

    const QStringList a = EntityTypeNames(ini, 401, modA);
    EXPECT_EQ(a[2], "Big one");
    EXPECT_EQ(a[400], "Added");
    EXPECT_EQ(a[60], ShippedTypeName(60));
    const QStringList b = EntityTypeNames(ini, 401, modB);
    EXPECT_EQ(b[2], "Shared behemoth");
    EXPECT_EQ(b[400], "");
}
