#include "playfolder.h"

#include "safewrite.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {
namespace {

class Fd {
public:
    explicit Fd(int fd)
        : fd_(fd)
    {
    }
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a failing close (a delayed write error) is seen.
    int release()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

QString Reason(int error) { return QString::fromLocal8Bit(strerror(error)); }

QString Failure(const QString& what, const QString& path, int error)
{
    return QStringLiteral("Cannot %1 %2: %3.").arg(what, QDir::toNativeSeparators(path), Reason(error));
}

bool SameTime(const struct stat& a, const struct stat& b)
{
    return a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// Copies the content of `from` (already open) into a new file at `to`.
Outcome CopyFile(int source, const struct stat& info, const QString& fromPath, const QString& to)
{
    const QByteArray target = QFile::encodeName(to);
    // A new file each time, so that nothing already there (a file the game
    // wrote, a link) is written through; a folder of that name goes whole.
    struct stat there { };
    if (::lstat(target.constData(), &there) == 0 && S_ISDIR(there.st_mode)) {
        if (!QDir(to).removeRecursively())
            return QStringLiteral("Cannot remove the folder %1 from the play folder.")
                .arg(QDir::toNativeSeparators(to));
    } else if (::unlink(target.constData()) != 0 && errno != ENOENT) {
        return Failure(QStringLiteral("replace"), to, errno);
    }
    Fd out(::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, (info.st_mode & 0777) | S_IWUSR));
    if (out.get() < 0)
        return Failure(QStringLiteral("create"), to, errno);
    const auto fail = [&](const QString& what, const QString& path, int error) -> Outcome {
        ::unlink(target.constData());
        return Failure(what, path, error);
    };
    if (::ioctl(out.get(), FICLONE, source) != 0) {
        off_t offset = 0;
        while (offset < info.st_size) {
            const ssize_t sent =
                ::copy_file_range(source, &offset, out.get(), nullptr, size_t(info.st_size - offset), 0);
            if (sent > 0)
                continue;
            if (sent == 0)
                break; // the file shrank meanwhile
            if (errno == EINTR)
                continue;
            if (errno != EXDEV && errno != ENOSYS && errno != EOPNOTSUPP && errno != EINVAL)
                return fail(QStringLiteral("copy %1 to").arg(QDir::toNativeSeparators(fromPath)), to, errno);
            // Across file systems on older kernels: by hand.
            char buffer[1 << 16];
            for (;;) {
                const ssize_t got = ::pread(source, buffer, sizeof buffer, offset);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got < 0)
                    return fail(QStringLiteral("read"), fromPath, errno);
                if (got == 0)
                    break;
                int error = 0;
                if (!WriteAll(out.get(), buffer, got, error))
                    return fail(QStringLiteral("write"), to, error);
                offset += got;
            }
            break;
        }
    }
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    if (::futimens(out.get(), times) != 0)
        return fail(QStringLiteral("set the time of"), to, errno);
    if (out.release() != 0)
        return fail(QStringLiteral("write"), to, errno);
    return {};
}

Outcome RemoveTree(const QString& path, int& removed)
{
    QFileInfo info(path);
    if (info.isDir() && !info.isSymLink()) {
        if (!QDir(path).removeRecursively())
            return QStringLiteral("Cannot remove %1 from the play folder.").arg(QDir::toNativeSeparators(path));
    } else if (::unlink(QFile::encodeName(path).constData()) != 0) {
        return Failure(QStringLiteral("remove"), path, errno);
    }
    ++removed;
    return {};
}

Outcome Mirror(const QString& from, const QString& to, bool top, const QString& skip, MirrorCount& count)
{
    const QByteArray toName = QFile::encodeName(to);
    struct stat toInfo { };
    if (::lstat(toName.constData(), &toInfo) == 0 && !S_ISDIR(toInfo.st_mode)) {
        if (::unlink(toName.constData()) != 0)
            return Failure(QStringLiteral("replace"), to, errno);
    }
    if (::mkdir(toName.constData(), 0755) != 0 && errno != EEXIST)
        return Failure(QStringLiteral("create the folder"), to, errno);

    DIR* dir = ::opendir(QFile::encodeName(from).constData());
    if (!dir)
        return Failure(QStringLiteral("read the folder"), from, errno);
    QStringList names;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (name == u"." || name == u"..")
            continue;
        if (top && name.compare(QStringLiteral("backup"), Qt::CaseInsensitive) == 0)
            continue;
        names << name;
    }
    ::closedir(dir);

    QSet<QString> present;
    for (const QString& name : names) {
        const QString source = from + u'/' + name;
        const QString target = to + u'/' + name;
        struct stat info { };
        // Links are followed: the copy holds what they lead to.
        if (::stat(QFile::encodeName(source).constData(), &info) != 0)
            continue; // a link leading nowhere
        struct stat linkInfo { };
        if (::lstat(QFile::encodeName(source).constData(), &linkInfo) != 0)
            continue;
        if (S_ISDIR(info.st_mode)) {
            // Links to folders could loop; the play folder may sit inside.
            if (S_ISLNK(linkInfo.st_mode) || QFileInfo(source).canonicalFilePath() == skip)
                continue;
            present.insert(name);
            if (const Outcome done = Mirror(source, target, false, skip, count); !done.ok())
                return done;
            continue;
        }
        if (!S_ISREG(info.st_mode))
            continue; // pipes, devices and sockets are no game files
        present.insert(name);
        struct stat copyInfo { };
        if (::lstat(QFile::encodeName(target).constData(), &copyInfo) == 0 && S_ISREG(copyInfo.st_mode) &&
            copyInfo.st_size == info.st_size && SameTime(copyInfo, info)) {
            ++count.kept;
            continue;
        }
        Fd source_fd(::open(QFile::encodeName(source).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (source_fd.get() < 0)
            return Failure(QStringLiteral("read"), source, errno);
        struct stat opened { };
        if (::fstat(source_fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode))
            continue; // swapped for something else meanwhile
        if (const Outcome copied = CopyFile(source_fd.get(), opened, source, target); !copied.ok())
            return copied;
        ++count.copied;
    }

    // What the game folder no longer has goes from the copy too.
    const QStringList copies =
        QDir(to).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& name : copies)
        if (!present.contains(name))
            if (const Outcome removed = RemoveTree(to + u'/' + name, count.removed); !removed.ok())
                return removed;
    return {};
}

} // namespace

QString ShellQuoted(const QString& text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

QString ExpandPlayCommand(const QString& command, const QString& folder, const QString& exe, const QString& data)
{
    // One pass, so that a path holding "{data}" is not replaced again.
    QString out;
    for (qsizetype i = 0; i < command.size();) {
        const QStringView rest = QStringView(command).mid(i);
        if (rest.startsWith(u"{folder}")) {
            out += ShellQuoted(folder);
            i += 8;
        } else if (rest.startsWith(u"{exe}")) {
            out += ShellQuoted(exe);
            i += 5;
        } else if (rest.startsWith(u"{data}")) {
            out += ShellQuoted(data);
            i += 6;
        } else {
            out += command[i++];
        }
    }
    return out;
}

QString PlayCacheFolder()
{
    QString cache = QString::fromLocal8Bit(qgetenv("XDG_CACHE_HOME"));
    if (cache.isEmpty() || !QDir::isAbsolutePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return cache + QStringLiteral("/vorn/play");
}

QString PlayFolderFor(const QString& gameRoot)
{
    QFileInfo info(gameRoot);
    const QString full = info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(full), QCryptographicHash::Sha1).toHex().left(12);
    QString name = QFileInfo(full).fileName();
    if (name.isEmpty() || name.startsWith(u'.'))
        name = QStringLiteral("game");
    return PlayCacheFolder() + u'/' + name + u'-' + QString::fromLatin1(hash);
}

Outcome WritePlayFile(const QString& path, const QByteArray& bytes)
{
    IgnoreFileSizeSignal();
    const QByteArray target = QFile::encodeName(path);
    if (::unlink(target.constData()) != 0 && errno != ENOENT)
        return Failure(QStringLiteral("replace"), path, errno);
    Fd out(::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (out.get() < 0)
        return Failure(QStringLiteral("create"), path, errno);
    int error = 0;
    if (!WriteAll(out.get(), bytes.constData(), bytes.size(), error) || (out.release() != 0 && (error = errno))) {
        ::unlink(target.constData());
        return Failure(QStringLiteral("write"), path, error);
    }
    return {};
}

Outcome MirrorGameFolder(const QString& from, const QString& to, MirrorCount* count)
{
    if (!QDir().mkpath(QFileInfo(to).absolutePath()))
        return QStringLiteral("Cannot create the folder %1.")
            .arg(QDir::toNativeSeparators(QFileInfo(to).absolutePath()));
    IgnoreFileSizeSignal();
    MirrorCount local;
    const QString skip = QFileInfo(to).canonicalFilePath();
    const Outcome done = Mirror(from, to, true, skip.isEmpty() ? to : skip, count ? *count : local);
    return done;
}

} // namespace vorn
