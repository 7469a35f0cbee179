#include "inifile.h"
#include "settingslocation.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vorn;

namespace {

struct SettingsLocationTest : ::testing::Test {
    QTemporaryDir dir;
    QString program = dir.filePath("bin");
    QString config = dir.filePath("home/.config/vorn");
    void SetUp() override { QDir().mkpath(program); }
    void TearDown() override { setProgramFolderWritable(true); }
    void setProgramFolderWritable(bool writable)
    {
        QFile::setPermissions(program, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                           (writable ? QFileDevice::WriteOwner : QFileDevice::Permissions()));
    }
};

} // namespace

// A folder without write bits counts as read-only even for root, who could
// write it: an installed program's folder then sends settings to the user's.
TEST_F(SettingsLocationTest, BesideTheProgramOnlyWhereTheyCanBeWritten)
{
    EXPECT_EQ(SettingsFolder(program, config), program);
    setProgramFolderWritable(false);
    EXPECT_EQ(SettingsFolder(program, config), config);

    setProgramFolderWritable(true);
    PutFile(SettingsFilePath(program), "[Main]\n");
    setProgramFolderWritable(false);
    EXPECT_EQ(SettingsFolder(program, config), program); // a portable copy's own file
    setProgramFolderWritable(true);
    MakeReadOnly(SettingsFilePath(program));
    setProgramFolderWritable(false);
    EXPECT_EQ(SettingsFolder(program, config), config);
}

TEST_F(SettingsLocationTest, FirstWriteStartsFromTheInstalledDefault)
{
    EXPECT_EQ(InstalledDefaultSettings(program), QString());
    QDir().mkpath(dir.filePath("share/vorn"));
    const QByteArray defaults = "; the names are yours\n[Entities]\n1=Coin\n";
    PutFile(dir.filePath("share/vorn/vorn.ini"), defaults);
    const QString seed = InstalledDefaultSettings(program);
    EXPECT_EQ(seed, QDir::cleanPath(dir.filePath("share/vorn/vorn.ini")));

    const QString user = SettingsFilePath(config);
    EXPECT_EQ(SettingsFileToRead(user, seed), seed);
    EXPECT_EQ(PrepareSettingsFile(user, seed).refusal(), QString());
    EXPECT_EQ(GetFile(user), defaults);
    EXPECT_EQ(SettingsFileToRead(user, seed), user);

    // An existing file is the user's: never seeded again.
    ASSERT_TRUE(INIWrite(user, "Main", "Zoom", "3").ok());
    const QByteArray written = GetFile(user);
    EXPECT_EQ(PrepareSettingsFile(user, seed).refusal(), QString());
    EXPECT_EQ(GetFile(user), written);
}

TEST_F(SettingsLocationTest, WithoutDefaultOnlyTheFolderIsMade)
{
    const QString user = SettingsFilePath(config);
    EXPECT_EQ(SettingsFileToRead(user, {}), user);
    EXPECT_EQ(PrepareSettingsFile(user, {}).refusal(), QString());
    EXPECT_TRUE(QFileInfo(config).isDir());
    EXPECT_FALSE(QFileInfo::exists(user));
}
