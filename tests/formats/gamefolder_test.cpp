#include "gamefolder.h"
#include "safewrite.h"
#include "script.h"
#include "testfiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vorn;

namespace {

// A folder laid out as one copied from Windows: letter case all over.
struct GameFolderTest : ::testing::Test {
    QTemporaryDir dir;
    GameFolder folder{dir.path()};
    QString at(const QString& relative) const { return dir.filePath(relative); }

    void SetUp() override
    {
        QDir root(dir.path());
        root.mkpath("data/Stage");
        root.mkpath("data/Npc");
        root.mkpath("data/Stage/prtFolder.pbm"); // a folder named like a match
        PutFile(at("Doukutsu.exe"), "exe");
        PutFile(at("data/Stage/PrtCave.pbm"), "cave");
        PutFile(at("data/Stage/prtAlmond.pbm"), "almond");
        PutFile(at("data/Stage/.prtHidden.pbm"), "hidden");
        PutFile(at("data/Stage/Cave.pxm"), "map");
        PutFile(at("data/Npc/NpcSym.pbm"), "npc");
        PutFile(at("data/bkBlue.pbm"), "bk");
    }
};

} // namespace

TEST_F(GameFolderTest, FindsFilesWhateverTheirCase)
{
    EXPECT_EQ(folder.findFile("doukutsu.exe"), at("Doukutsu.exe"));
    EXPECT_EQ(folder.findFile("Doukutsu.exe"), at("Doukutsu.exe"));
    EXPECT_EQ(folder.findFile("data\\stage\\prtCave.pbm"), at("data/Stage/PrtCave.pbm"));
    EXPECT_EQ(folder.findFile("data\\npc\\npcsym.pbm"), at("data/Npc/NpcSym.pbm"));
    EXPECT_EQ(folder.findFile("DATA\\BKBLUE.PBM"), at("data/bkBlue.pbm"));
    EXPECT_EQ(folder.findFile("data\\stage\\Nothing.pxm"), QString());
    EXPECT_EQ(folder.findFile("data\\stage\\prtFolder.pbm"), QString()); // a folder is no file
    EXPECT_EQ(folder.findFile("data\\stage\\.prtHidden.pbm"), QString());
    EXPECT_EQ(folder.findFile("data\\stage\\..\\..\\Doukutsu.exe"), QString());
}

TEST_F(GameFolderTest, ExactMatchWinsOverOtherCase)
{
    PutFile(at("data/Stage/cave.pxm"), "lower");
    EXPECT_EQ(folder.findFile("data\\Stage\\cave.pxm"), at("data/Stage/cave.pxm"));
    EXPECT_EQ(folder.findFile("data\\Stage\\Cave.pxm"), at("data/Stage/Cave.pxm"));
}

TEST_F(GameFolderTest, ListsPatternMatchesAsSpelledInDirectoryOrder)
{
    // Directory order, not sorted: the listing is the folder's own.
    QStringList expected = QDir(at("data/Stage")).entryList({"prt*"}, QDir::Files, QDir::Unsorted);
    EXPECT_EQ(expected.size(), 2); // PrtCave.pbm and prtAlmond.pbm
    EXPECT_EQ(folder.listPattern("data\\Stage\\prt*.pbm"), expected);

    EXPECT_EQ(folder.listPattern("data\\npc\\npc*.pbm"), QStringList{"NpcSym.pbm"});
    EXPECT_EQ(folder.listPattern("data\\bk*.pbm"), QStringList{"bkBlue.pbm"});
    EXPECT_TRUE(folder.patternExists("DOUKUTSU.EXE"));
    EXPECT_FALSE(folder.patternExists("data\\stage\\*.tsc"));
    EXPECT_FALSE(folder.patternExists("data\\nowhere\\*.pxm"));
    EXPECT_EQ(folder.listPattern("data\\stage\\c+v(e).pxm"), QStringList()); // no regex leaks through
}

TEST_F(GameFolderTest, NewFilesGoIntoTheExistingFolder)
{
    EXPECT_EQ(folder.pathForWrite("data\\stage\\Cave.txt"), at("data/Stage/Cave.txt"));
    EXPECT_EQ(folder.pathForWrite("data\\stage\\CAVE.PXM"), at("data/Stage/Cave.pxm"));
    EXPECT_EQ(folder.pathForWrite("data\\missing\\x.pxm"), QString());
}

TEST(PlainFileNames, RefusesNamesThatLeaveTheFolder)
{
    for (const char* bad : {"../x", "a/b", "a\\b", "C:x", ".", "..", "Ca\tve", "Cave\x1b[2J", "Ca\x7fve", "Ca\u009bve"})
        EXPECT_FALSE(IsPlainFileName(QString::fromUtf8(bad))) << bad;
    for (const char* good : {"Cave", "..x", "My map", "0", "Caf\u00e9 \u00a0"})
        EXPECT_TRUE(IsPlainFileName(QString::fromUtf8(good))) << good;
    EXPECT_EQ(PlainNameError(13, "map", "../x"),
              QStringLiteral("Stage 13's map name \"../x\" is not a plain file name."));
    EXPECT_EQ(PlainNameError(13, "map", QString::fromUtf8("a\x1b[2J\r\n\t\x7f\u009b\\")),
              QStringLiteral("Stage 13's map name \"a\\x1b[2J\\r\\n\\t\\x7f\\x9b\\\" is not a plain file name."));
}

// ---- atomic writes --------------------------------------------------------

TEST(SafeWrite, ReplacesWholeFileKeepsPermissionsAndRefusesReadOnly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.bin");
    PutFile(path, QByteArray(100, 'x'));
    const auto perms = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QFile::setPermissions(path, perms);
    ASSERT_EQ(WriteFileAtomically(path, "f.bin", "new").refusal(), QString());
    EXPECT_EQ(GetFile(path), "new");
    EXPECT_EQ(QFileInfo(path).permissions() & 0x7077, perms & 0x7077) << "owner, group and other bits";

    MakeReadOnly(path);
    EXPECT_TRUE(IsMarkedReadOnly(path));
    const QString error = WriteFileAtomically(path, "f.bin", "other").refusal();
    EXPECT_TRUE(error.contains("f.bin") && error.contains("read-only")) << qPrintable(error);
    EXPECT_EQ(GetFile(path), "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"f.bin"}); // no leftovers
}

// ---- scripts --------------------------------------------------------------

TEST(ScriptCodec, MiddleByteIsTheKeyAndBytesWrap)
{
    EXPECT_EQ(DecodeScript("\x7F"), "\x7F"); // one byte: only the key
    EXPECT_EQ(EncodeScript("\x10\xF8\x20\x01"), QByteArray("\x30\x18\x20\x21")); // key at offset 2
    EXPECT_EQ(EncodeScript("\x10\xF8\x20\x01\x02"), QByteArray("\x30\x18\x20\x21\x22"));
    EXPECT_EQ(DecodeScript(QByteArray("\x05\x10\x00\x20", 4)), QByteArray("\x05\x10\x00\x20", 4)); // key 0
    EXPECT_EQ(DecodeScript("\x10\x30\x20\x21"), QByteArray("\xF0\x10\x20\x01"));

    const QByteArray plain = PatternBytes(1001);
    EXPECT_EQ(DecodeScript(EncodeScript(plain)), plain);
    EXPECT_EQ(EncodeScript(DecodeScript(plain)), plain);
}

TEST_F(GameFolderTest, ScriptFilesConvertBothWaysAndRefuseMissingOrEmptySources)
{
    const QByteArray scrambled = EncodeScript("<MSGHello.<END");
    PutFile(at("data/Stage/Cave.tsc"), scrambled);
    PutFile(at("data/Stage/Cave.txt"), QByteArray(500, 'o')); // longer than the result
    ASSERT_EQ(DecodeScriptFile(folder, "cave").refusal(), QString());
    EXPECT_EQ(GetFile(at("data/Stage/Cave.txt")), "<MSGHello.<END");
    EXPECT_EQ(GetFile(at("data/Stage/Cave.tsc")), scrambled);
    ASSERT_EQ(EncodeScriptFile(folder, "Cave").refusal(), QString());
    EXPECT_EQ(GetFile(at("data/Stage/Cave.tsc")), scrambled);

    EXPECT_EQ(DecodeScriptFile(folder, "Gone").refusal(), QStringLiteral("Cannot find data\\stage\\Gone.tsc."));
    EXPECT_EQ(EncodeScriptFile(folder, "Gone").refusal(), QStringLiteral("Cannot find data\\stage\\Gone.txt."));
    EXPECT_FALSE(QFileInfo::exists(at("data/Stage/Gone.txt")));

    PutFile(at("data/Stage/Empty.tsc"), "");
    PutFile(at("data/Stage/Empty.txt"), "old");
    EXPECT_EQ(DecodeScriptFile(folder, "Empty").refusal(), QStringLiteral("data\\stage\\Empty.tsc is empty."));
    EXPECT_EQ(GetFile(at("data/Stage/Empty.txt")), "old");

    MakeReadOnly(at("data/Stage/Cave.txt"));
    EXPECT_FALSE(DecodeScriptFile(folder, "Cave").ok());
    EXPECT_FALSE(DecodeScriptFile(folder, "../Cave").ok());
}

TEST_F(GameFolderTest, OnlyATargetWithChangesOfItsOwnIsAskedAbout)
{
    const auto age = [this](const char* file, int seconds) {
        QFile f(at(file));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-seconds), QFileDevice::FileModificationTime));
    };
    PutFile(at("data/Stage/Cave.tsc"), EncodeScript("<MSGHello.<END"));
    EXPECT_EQ(ScriptOverwriteQuestion(folder, "Cave", true), QString()); // no target yet
    PutFile(at("data/Stage/cave.TXT"), "<MSGHello.<END");
    EXPECT_EQ(ScriptOverwriteQuestion(folder, "Cave", true), QString()); // what decoding gives

    PutFile(at("data/Stage/cave.TXT"), "<MSGHello there.<END");
    age("data/Stage/Cave.tsc", 60);
    age("data/Stage/cave.TXT", 60); // the same time: which came last is unknown
    EXPECT_EQ(ScriptOverwriteQuestion(folder, "Cave", true),
              QStringLiteral("data\\stage\\Cave.txt has changes that are not in Cave.tsc. Overwrite it?"));
    age("data/Stage/cave.TXT", 120); // older: the script was changed since
    EXPECT_EQ(ScriptOverwriteQuestion(folder, "Cave", true), QString());
    EXPECT_EQ(ScriptOverwriteQuestion(folder, "Cave", false),
              QStringLiteral("data\\stage\\Cave.tsc has changes that are not in Cave.txt. Overwrite it?"));

    // A newer target that cannot be read counts as changed; a refused
    // conversion asks nothing.
    QFile big(at("data/Stage/cave.TXT"));
    ASSERT_TRUE(big.resize(16 * 1024 * 1024 + 1));
    EXPECT_FALSE(ScriptOverwriteQuestion(folder, "Cave", true).isEmpty());
    EXPECT_EQ(ScriptOverwriteQuestion(folder, "Gone", true), QString());
    EXPECT_EQ(ScriptOverwriteQuestion(folder, "../Cave", true), QString());
}
