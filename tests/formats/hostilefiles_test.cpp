// Game folders as a hostile environment makes them: pipes, devices, folders
// and links in a game file's place, files beyond any real size, a full disk
// or a file-size limit during a save, and saves killed at random moments.
#include "gamefolder.h"
#include "inifile.h"
#include "mapfile.h"
#include "safewrite.h"
#include "script.h"
#include "stagetable.h"
#include "testfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorn;

namespace {

// A read that blocks ends the test program instead of hanging CI.
struct NoHang {
    NoHang() { ::alarm(20); }
    ~NoHang() { ::alarm(0); }
};

MapData FilledMap(int side, quint8 tile)
{
    MapData map;
    map.width = qint16(side);
    map.height = qint16(side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            map.grid.at(x, y) = tile;
    return map;
}

struct HostileFolder : ::testing::Test {
    QTemporaryDir dir;
    QTemporaryDir outside;
    GameFolder folder{dir.path()};
    NoHang guard;

    QString at(const QString& relative) const { return dir.filePath(relative); }
    void SetUp() override { QDir(dir.path()).mkpath(QStringLiteral("data/Stage")); }
    void MakeFifo(const QString& path) { ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0); }
    void Link(const QString& target, const QString& link)
    {
        ASSERT_TRUE(QFile::link(target, link)) << qPrintable(link);
    }
    // Reads and writes `builtName` as a map; both must be refused, and
    // the message must name the file and say `words`.
    void ExpectMapRefused(const QString& builtName, const char* words)
    {
        const QString path = folder.findEntry(builtName);
        ASSERT_FALSE(path.isEmpty()) << qPrintable(builtName);
        MapData map;
        const ReadStatus read = ReadMapFile(path, builtName, map, folder.rules());
        EXPECT_FALSE(read.missing);
        EXPECT_TRUE(read.refusal().startsWith(builtName) && read.refusal().contains(QLatin1String(words)))
            << qPrintable(read.refusal());
        const QString write =
            WriteMapFile(folder.pathForWrite(builtName), builtName, FilledMap(3, 1), folder.rules()).refusal();
        EXPECT_TRUE(write.contains(builtName) && write.contains(QLatin1String(words))) << qPrintable(write);
    }
};

} // namespace

TEST_F(HostileFolder, SpecialFilesAreRefusedByNameAndNeverOpened)
{
    MakeFifo(at("data/Stage/Pipe.pxm"));
    ExpectMapRefused("data\\stage\\pipe.pxm", "named pipe");
    EXPECT_TRUE(QFileInfo(at("data/Stage/Pipe.pxm")).exists());
    EXPECT_FALSE(QFileInfo(at("data/Stage/Pipe.pxm")).isFile()) << "still the pipe";

    QDir(dir.path()).mkpath("data/Stage/Shelf.pxm");
    ExpectMapRefused("data\\stage\\Shelf.pxm", "folder");

    Link("/dev/zero", at("data/Stage/Zero.pxm"));
    ExpectMapRefused("data\\stage\\Zero.pxm", "link to a device");
    Link(at("data/Stage/Pipe.pxm"), at("data/Stage/ToPipe.pxm"));
    ExpectMapRefused("data\\stage\\ToPipe.pxm", "link to a named pipe");
    Link(at("data/Stage/Gone.pxm"), at("data/Stage/Dangling.pxm"));
    ExpectMapRefused("data\\stage\\Dangling.pxm", "does not exist");
    EXPECT_FALSE(QFileInfo::exists(at("data/Stage/Gone.pxm"))) << "a dangling link creates nothing";

    // The settings file: absent to the reader, never written, no hang.
    MakeFifo(at("vorn.ini"));
    EXPECT_EQ(INIRead(at("vorn.ini"), "Main", "Zoom"), QString());
    EXPECT_EQ(INIWrite(at("vorn.ini"), "Main", "Zoom", "3").refusal(),
              at("vorn.ini") + " is a named pipe, not a regular file.");
    Link("/dev/zero", at("zero.ini"));
    EXPECT_EQ(INIRead(at("zero.ini"), "Main", "Zoom"), QString());
    EXPECT_FALSE(INIWrite(at("zero.ini"), "Main", "Zoom", "3").ok());
}

TEST_F(HostileFolder, LinksAreWrittenThroughInsideTheFolderAndRefusedOutsideIt)
{
    QDir(dir.path()).mkpath("shared");
    ASSERT_EQ(WriteMapFile(at("shared/Real.pxm"), "shared", FilledMap(4, 1)).refusal(), QString());
    Link("../../shared/Real.pxm", at("data/Stage/Inside.pxm"));
    ASSERT_EQ(WriteMapFile(folder.pathForWrite("data\\stage\\Inside.pxm"), "data\\stage\\Inside.pxm", FilledMap(4, 2),
                           folder.rules())
                  .refusal(),
              QString());
    EXPECT_TRUE(QFileInfo(at("data/Stage/Inside.pxm")).isSymLink()) << "the user's link is kept";
    MapData read;
    ASSERT_TRUE(ReadMapFile(at("data/Stage/Inside.pxm"), "Inside", read, folder.rules()).ok());
    EXPECT_EQ(read.grid.at(3, 3), 2);
    EXPECT_TRUE(LeftoverTemporaries(at("shared/Real.pxm")).isEmpty());

    const QString away = outside.filePath("Away.pxm");
    PutFile(away, GetFile(at("shared/Real.pxm")));
    const QByteArray awayBefore = GetFile(away);
    Link(away, at("data/Stage/Away.pxm"));
    ExpectMapRefused("data\\stage\\Away.pxm", "outside the game folder");
    EXPECT_EQ(GetFile(away), awayBefore);

    // A linked folder that leads out is outside too.
    QDir(outside.path()).mkpath("stage");
    Link(outside.filePath("stage"), at("data/Elsewhere"));
    const QString write =
        WriteMapFile(at("data/Elsewhere/New.pxm"), "data\\elsewhere\\New.pxm", FilledMap(2, 1), folder.rules())
            .refusal();
    EXPECT_TRUE(write.contains("outside the game folder")) << qPrintable(write);
    EXPECT_FALSE(QFileInfo::exists(outside.filePath("stage/New.pxm")));

    // The settings file is the user's own: it may lead anywhere.
    const QString ini = outside.filePath("mine.ini");
    PutFile(ini, "; mine\n[Main]\nZoom=1\n");
    Link(ini, at("vorn.ini"));
    ASSERT_TRUE(INIWrite(at("vorn.ini"), "Main", "Zoom", "4").ok());
    EXPECT_EQ(GetFile(ini), "; mine\n[Main]\nZoom=4\n");
    EXPECT_TRUE(QFileInfo(at("vorn.ini")).isSymLink());
}

TEST_F(HostileFolder, FilesBeyondAnyRealSizeCostNoMemory)
{
    // A script over 16 MB is refused before it is read.
    QFile big(at("data/Stage/Big.tsc"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(16 * 1024 * 1024 + 1));
    big.close();
    const QString error = DecodeScriptFile(folder, "Big").refusal();
    EXPECT_TRUE(error.startsWith("data\\stage\\Big.tsc is 16777217 bytes")) << qPrintable(error);
    EXPECT_FALSE(QFileInfo::exists(at("data/Stage/Big.txt")));

    // A map's tail is copied, not read: a 64 MB sparse tail with a mark at
    // its end survives a save of the cells before it.
    const QString map = at("data/Stage/Tail.pxm");
    ASSERT_EQ(WriteMapFile(map, "Tail", FilledMap(20, 1)).refusal(), QString());
    QFile file(map);
    const qint64 size = 308 + 64 * 1024 * 1024;
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.resize(size) && file.seek(size - 4));
    file.write("MARK");
    file.close();
    ASSERT_EQ(WriteMapFile(map, "Tail", FilledMap(20, 9)).refusal(), QString());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.size(), size);
    EXPECT_EQ(file.read(9).right(1), QByteArray(1, 9));
    file.seek(size - 4);
    EXPECT_EQ(file.read(4), "MARK");
}

// ---- faults during writes ---------------------------------------------------

namespace {

// Runs `body` in a child process and returns its refusal.
QString InChild(const std::function<Outcome()>& body)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return QStringLiteral("<no pipe>");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        const QByteArray text = body().refusal().toUtf8();
        (void)!::write(pipeFds[1], text.constData(), size_t(text.size()));
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    QByteArray text;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        text.append(buffer, n);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status))
        return QStringLiteral("<child ended by signal %1>").arg(WTERMSIG(status));
    return QString::fromUtf8(text);
}

} // namespace

TEST_F(HostileFolder, AFailedWriteKeepsTheOldFileAndSaysWhy)
{
    const QString map = at("data/Stage/Cave.pxm");
    ASSERT_EQ(WriteMapFile(map, "x", FilledMap(20, 1)).refusal(), QString());
    const QByteArray before = GetFile(map);

    // The file-size limit stands for a full disk: the write stops part way.
    // SIGXFSZ is not ignored in the child beforehand: the writer must do it.
    const QString error = InChild([&] {
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return WriteMapFile(map, "data\\stage\\Cave.pxm", FilledMap(513, 2), folder.rules());
    });
    EXPECT_EQ(error, QStringLiteral("Cannot write data\\stage\\Cave.pxm: File too large."));
    EXPECT_EQ(GetFile(map), before);
    EXPECT_TRUE(LeftoverTemporaries(map).isEmpty());

    // A read-only folder is named as the folder.
    ASSERT_TRUE(QFile::setPermissions(at("data/Stage"), QFile::ReadOwner | QFile::ExeOwner));
    const QString folderError = WriteMapFile(map, "data\\stage\\Cave.pxm", FilledMap(20, 3), folder.rules()).refusal();
    EXPECT_EQ(folderError, QStringLiteral("Cannot write data\\stage\\Cave.pxm: the folder data\\stage is read-only."));
    ASSERT_TRUE(QFile::setPermissions(at("data/Stage"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    EXPECT_EQ(GetFile(map), before);
}

// The executable is patched in place: a record write that the file-size
// limit stops part way puts the old bytes back before it reports.
TEST_F(HostileFolder, ARecordWriteThatFailsPartWayLeavesTheOldRecord)
{
    const QString exe = at("Doukutsu.exe");
    PutFile(exe, PatternBytes(kStageTableEnd));
    const QByteArray before = GetFile(exe);
    StageRecord record;
    record.bytes.fill('\x42');
    const QString error = InChild([&] {
        const rlim_t partWay = rlim_t(kStageTableOffset + 13 * kStageSlotSize + 100);
        const rlimit limit{partWay, partWay};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return WriteStageRecord(exe, 13, record);
    });
    EXPECT_EQ(error, QStringLiteral("Cannot write Doukutsu.exe: File too large."));
    EXPECT_TRUE(GetFile(exe) == before) << "the record is whole";
}

// A real full disk where the system lets the test make one: a small tmpfs.
TEST_F(HostileFolder, AFullDiskFailsTheSaveAndKeepsTheOldFile)
{
    const QString small = at("data/Full");
    QDir(dir.path()).mkpath("data/Full");
    if (::mount("tmpfs", QFile::encodeName(small).constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here";
    const QString map = small + "/Hollow.pxm";
    const bool written = WriteMapFile(map, "x", FilledMap(20, 1)).ok();
    const QByteArray before = GetFile(map);
    QFile fill(small + "/fill");
    fill.open(QIODevice::WriteOnly);
    while (fill.write(QByteArray(4096, 'f')) == 4096 && fill.flush()) { }
    fill.close();
    const QString error = WriteMapFile(map, "data\\full\\Hollow.pxm", FilledMap(20, 2)).refusal();
    const QByteArray after = GetFile(map);
    const bool clean = LeftoverTemporaries(map).isEmpty();
    ::umount(QFile::encodeName(small).constData());
    EXPECT_TRUE(written);
    EXPECT_EQ(error, QStringLiteral("Cannot write data\\full\\Hollow.pxm: No space left on device."));
    EXPECT_EQ(after, before);
    EXPECT_TRUE(clean);
}

// Saves of the 513 x 513 map killed at random moments: every kill leaves the
// old or the new file whole, and the next save removes what the killed one
// left behind.
TEST_F(HostileFolder, KilledSavesLeaveTheOldOrTheNewFile)
{
    const QString map = at("data/Stage/Expanse.pxm");
    const MapData first = FilledMap(513, 1);
    const MapData second = FilledMap(513, 2);
    ASSERT_EQ(WriteMapFile(map, "x", first).refusal(), QString());
    const QByteArray firstBytes = GetFile(map);
    ASSERT_EQ(WriteMapFile(map, "x", second).refusal(), QString());
    const QByteArray secondBytes = GetFile(map);

    std::mt19937 random(8);
    std::uniform_int_distribution<int> delayUs(0, 20000);
    int oldOrNew[2] = {0, 0};
    int torn = 0;
    int leftBehind = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    const int rounds = 200;
    for (int round = 0; round < rounds && std::chrono::steady_clock::now() < deadline; ++round) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            // Killed at a random moment: only what it leaves on disk counts.
            for (int i = 0;; ++i)
                (void)WriteMapFile(map, "x", i % 2 ? first : second);
        }
        ::usleep(useconds_t(delayUs(random)));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        const QByteArray now = GetFile(map);
        if (now == firstBytes)
            ++oldOrNew[0];
        else if (now == secondBytes)
            ++oldOrNew[1];
        else
            ++torn;
        leftBehind += int(LeftoverTemporaries(map).size());
        ASSERT_LE(LeftoverTemporaries(map).size(), 1) << "each save removes what the last one left";
    }
    ASSERT_EQ(WriteMapFile(map, "x", first).refusal(), QString());
    EXPECT_TRUE(LeftoverTemporaries(map).isEmpty());
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(oldOrNew[0] + oldOrNew[1], rounds);
    std::printf("crash loop: %d rounds, %d first, %d second, %d torn, %d left behind by kills (all removed)\n", rounds,
                oldOrNew[0], oldOrNew[1], torn, leftBehind);
}
