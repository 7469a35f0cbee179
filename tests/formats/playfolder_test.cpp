#include "playfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorn;

namespace {

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// What /bin/sh makes of the expanded command: one line per word it got.
QStringList Words(const QString& command)
{
    QProcess sh;
    sh.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    sh.waitForFinished();
    QStringList lines = QString::fromUtf8(sh.readAllStandardOutput()).split(u'\n');
    lines.removeLast();
    return lines;
}

// The refusal `body` gives in a child process, or how the child ended.
QString InChild(const std::function<Outcome()>& body)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return QStringLiteral("<no pipe>");
    const pid_t pid = ::fork();
    if (pid == 0) {
        const QByteArray text = body().refusal().toUtf8();
        (void)!::write(fds[1], text.constData(), size_t(text.size()));
        ::_exit(0);
    }
    ::close(fds[1]);
    QFile in;
    (void)in.open(fds[0], QIODevice::ReadOnly, QFile::AutoCloseHandle);
    const QString text = QString::fromUtf8(in.readAll());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? text : QStringLiteral("<signal %1>").arg(WTERMSIG(status));
}

} // namespace

TEST(PlayCommand, PathsWithBlanksAndQuotesStayOneWordEach)
{
    const QString folder = QStringLiteral("/g/it's \"my\" game $HOME `x`");
    const QString exe = folder + QStringLiteral("/Doukutsu.exe");
    const QString data = QStringLiteral("/g/{exe}'");
    const QString command =
        ExpandPlayCommand(QStringLiteral("printf '%s\\n' {exe} {data}{folder} {unknown}"), folder, exe, data);
    EXPECT_EQ(Words(command), (QStringList{exe, data + folder, QStringLiteral("{unknown}")}));
}

TEST(PlayFolder, CopiesAllButBackupAsRealFilesAndOnlyWhatChanged)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString game = dir.filePath(QStringLiteral("game"));
    const QString play = dir.filePath(QStringLiteral("cache/play/game-1"));
    WriteFile(game + QStringLiteral("/Doukutsu.exe"), "exe");
    WriteFile(game + QStringLiteral("/data/Stage/Cave.pxm"), "map");
    WriteFile(game + QStringLiteral("/backup/Cave.pxm.20260101-000000"), "old");
    WriteFile(game + QStringLiteral("/data/Gone.txt"), "gone");
    ASSERT_EQ(::symlink("Cave.pxm", QFile::encodeName(game + QStringLiteral("/data/Stage/Link.pxm")).constData()), 0);
    ASSERT_EQ(::symlink("..", QFile::encodeName(game + QStringLiteral("/data/loop")).constData()), 0);

    MirrorCount first;
    ASSERT_TRUE(MirrorGameFolder(game, play, &first).ok());
    EXPECT_EQ(first.copied, 4);
    EXPECT_FALSE(QFileInfo::exists(play + QStringLiteral("/backup")));
    EXPECT_FALSE(QFileInfo::exists(play + QStringLiteral("/data/loop")));
    EXPECT_EQ(ReadFile(play + QStringLiteral("/data/Stage/Cave.pxm")), QByteArray("map"));
    for (const char* name : {"/data/Stage/Cave.pxm", "/data/Stage/Link.pxm"}) {
        struct stat copy { };
        struct stat original { };
        ASSERT_EQ(::lstat(QFile::encodeName(play + QLatin1String(name)).constData(), &copy), 0);
        ASSERT_EQ(::stat(QFile::encodeName(game + QStringLiteral("/data/Stage/Cave.pxm")).constData(), &original), 0);
        EXPECT_TRUE(S_ISREG(copy.st_mode)) << name;
        EXPECT_NE(copy.st_ino, original.st_ino) << name;
        EXPECT_EQ(copy.st_nlink, 1u) << name;
    }

    // The game wrote into its copy; the user changed one file, removed
    // another and made a folder of a file's name.
    WriteFile(play + QStringLiteral("/Doukutsu.exe"), "patched by the game");
    QFile::remove(play + QStringLiteral("/data/Stage/Cave.pxm"));
    WriteFile(play + QStringLiteral("/data/Stage/Cave.pxm/x"), "dir in the way");
    WriteFile(game + QStringLiteral("/data/Stage/Cave.pxm"), "map2");
    QFile::remove(game + QStringLiteral("/data/Gone.txt"));
    MirrorCount again;
    ASSERT_TRUE(MirrorGameFolder(game, play, &again).ok());
    EXPECT_EQ(again.copied, 3); // the game's write undone, the changed map and the link to it
    EXPECT_EQ(again.kept, 0);
    EXPECT_EQ(again.removed, 1);
    EXPECT_EQ(ReadFile(play + QStringLiteral("/Doukutsu.exe")), QByteArray("exe"));
    EXPECT_EQ(ReadFile(play + QStringLiteral("/data/Stage/Link.pxm")), QByteArray("map2"));
    EXPECT_EQ(ReadFile(play + QStringLiteral("/data/Stage/Cave.pxm")), QByteArray("map2"));
    EXPECT_FALSE(QFileInfo::exists(play + QStringLiteral("/data/Gone.txt")));

    MirrorCount still;
    ASSERT_TRUE(MirrorGameFolder(game, play, &still).ok());
    EXPECT_EQ(still.copied, 0);
    EXPECT_EQ(still.kept, 3);
    EXPECT_EQ(ReadFile(game + QStringLiteral("/backup/Cave.pxm.20260101-000000")), QByteArray("old"));
}

// The file-size limit stands for a full disk.
TEST(PlayFolder, AFullDiskIsNamedWithTheFile)
{
    QTemporaryDir dir;
    const QString game = dir.filePath(QStringLiteral("game"));
    WriteFile(game + QStringLiteral("/data/big.bin"), QByteArray(100000, 'x'));
    const QString error = InChild([&] {
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const Outcome mirrored = MirrorGameFolder(game, dir.filePath(QStringLiteral("play")));
        return mirrored.ok() ? WritePlayFile(dir.filePath(QStringLiteral("play/Profile.dat")), QByteArray(5000, 'p'))
                             : mirrored;
    });
    EXPECT_TRUE(error.startsWith(QStringLiteral("Cannot copy ")) && error.endsWith(QStringLiteral(": File too large.")))
        << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("play/data/big.bin"))));
    const QString profile = InChild([&] {
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return WritePlayFile(dir.filePath(QStringLiteral("play/Profile.dat")), QByteArray(5000, 'p'));
    });
    EXPECT_TRUE(profile.endsWith(QStringLiteral("Profile.dat: File too large."))) << profile.toStdString();
}

TEST(PlayFolder, NamedPerGameUnderTheCache)
{
    qputenv("XDG_CACHE_HOME", "/c");
    const QString a = PlayFolderFor(QStringLiteral("/games/Cave Story"));
    EXPECT_TRUE(a.startsWith(QStringLiteral("/c/vorn/play/Cave Story-"))) << a.toStdString();
    EXPECT_NE(a, PlayFolderFor(QStringLiteral("/other/Cave Story")));
    qputenv("XDG_CACHE_HOME", "relative");
    EXPECT_TRUE(
        PlayFolderFor(QStringLiteral("/g")).startsWith(QDir::homePath() + QStringLiteral("/.cache/vorn/play/")));
    qunsetenv("XDG_CACHE_HOME");
}
