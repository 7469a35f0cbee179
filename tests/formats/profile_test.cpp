#include "profile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace vorn;

namespace {

// A save as a played game leaves it: every byte set, so that any byte the
// patch should keep but overwrites shows.
QByteArray PlayedSave()
{
    QByteArray bytes(kProfileSize, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7 + 1);
    bytes.replace(0, 8, QByteArrayView("Do041220", 8));
    bytes.replace(0x218, 4, QByteArrayView("FLAG", 4));
    qToLittleEndian<qint16>(12, bytes.data() + 0x1C); // maximum life
    qToLittleEndian<qint16>(9, bytes.data() + 0x20); // life
    return bytes;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(Profile, FreshSaveStartsAtThePlaceWithThreeLife)
{
    const QByteArray bytes = FreshProfile({10, 40, 3});
    ASSERT_EQ(bytes.size(), kProfileSize);
    EXPECT_TRUE(bytes.startsWith("Do041220"));
    EXPECT_EQ(bytes.mid(0x218, 4), QByteArray("FLAG"));
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 0x10), 40 * 0x2000);
    EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 0x14), 3 * 0x2000);
    const ProfileFields f = ReadProfileFields(bytes);
    EXPECT_EQ(f.stage, 10);
    EXPECT_EQ(f.direction, 2);
    EXPECT_EQ(f.life, 3);
    EXPECT_EQ(f.maxLife, 3);
    EXPECT_EQ(f.equipment, 0u);
    // Nothing else: no weapons, items or flags.
    EXPECT_EQ(bytes.mid(0x22).count('\0') + 4, bytes.size() - 0x22);
}

TEST(Profile, PatchKeepsEverythingButStagePlaceAndDirection)
{
    const QByteArray before = PlayedSave();
    QByteArray after = before;
    ASSERT_TRUE(PlaceInProfile(after, QStringLiteral("Profile.dat"), {6, 17, 250}).ok());
    const ProfileFields f = ReadProfileFields(after);
    EXPECT_EQ(f.stage, 6);
    EXPECT_EQ(f.x, 17);
    EXPECT_EQ(f.y, 250);
    EXPECT_EQ(f.direction, 2);
    // Music, life, weapons, items, equipment, map and flags: byte for byte.
    EXPECT_EQ(after.mid(0x0C, 4), before.mid(0x0C, 4));
    EXPECT_EQ(after.mid(0x1C), before.mid(0x1C));
}

TEST(Profile, RefusesWhatTheGameWouldNotLoadAndMendsNoLife)
{
    QByteArray shortSave = PlayedSave().left(1000);
    Outcome refused = PlaceInProfile(shortSave, QStringLiteral("Profile.dat"), {1, 1, 1});
    EXPECT_EQ(refused.refusal(), QStringLiteral("Profile.dat holds 1000 bytes, not the 1540 of the game's save file."));
    QByteArray other = PlayedSave();
    other[3] = 'X';
    refused = PlaceInProfile(other, QStringLiteral("Profile.dat"), {1, 1, 1});
    EXPECT_TRUE(refused.refusal().contains(QStringLiteral("does not start with \"Do041220\"")));
    EXPECT_EQ(other.mid(4), PlayedSave().mid(4)) << "a refused save is left as it was";

    QByteArray dead = PlayedSave();
    qToLittleEndian<qint16>(0, dead.data() + 0x20);
    ASSERT_TRUE(PlaceInProfile(dead, QStringLiteral("Profile.dat"), {1, 1, 1}).ok());
    EXPECT_EQ(ReadProfileFields(dead).life, 12);
    qToLittleEndian<qint16>(0, dead.data() + 0x20);
    qToLittleEndian<qint16>(0, dead.data() + 0x1C);
    ASSERT_TRUE(PlaceInProfile(dead, QStringLiteral("Profile.dat"), {1, 1, 1}).ok());
    EXPECT_EQ(ReadProfileFields(dead).life, 3);
    EXPECT_EQ(ReadProfileFields(dead).maxLife, 3);
}

TEST(Profile, ComposedFromTheFolderWhateverTheCaseOrFreshWithoutOne)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QByteArray out;
    ASSERT_TRUE(ComposeProfile(GameFolder(dir.path()), {13, 10, 8}, out).ok());
    EXPECT_EQ(out, FreshProfile({13, 10, 8}));

    WriteFile(dir.filePath(QStringLiteral("profile.DAT")), PlayedSave());
    ASSERT_TRUE(ComposeProfile(GameFolder(dir.path()), {13, 10, 8}, out).ok());
    EXPECT_EQ(ReadProfileFields(out).maxLife, 12);
    EXPECT_EQ(ReadProfileFields(out).x, 10);

    WriteFile(dir.filePath(QStringLiteral("profile.DAT")), QByteArray(20000, 'x'));
    const Outcome refused = ComposeProfile(GameFolder(dir.path()), {13, 10, 8}, out);
    EXPECT_TRUE(refused.refusal().startsWith(QStringLiteral("profile.DAT"))) << refused.refusal().toStdString();
}
