#include "regularfile.h"

#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {
namespace {

QString KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("something other than a file");
}

QString NotRegularError(const QString& displayName, mode_t mode, bool viaLink)
{
    return viaLink ? QStringLiteral("%1 is a link to %2, not to a regular file.").arg(displayName, KindOf(mode))
                   : QStringLiteral("%1 is %2, not a regular file.").arg(displayName, KindOf(mode));
}

QString CannotOpen(const QString& displayName, int code)
{
    return QStringLiteral("Cannot open %1: %2.").arg(displayName, qt_error_string(code));
}

QString RealPath(const QString& path, int& error)
{
    char buffer[PATH_MAX];
    if (!::realpath(QFile::encodeName(path).constData(), buffer)) {
        error = errno;
        return {};
    }
    error = 0;
    return QFile::decodeName(buffer);
}

QString LinkText(const QString& path)
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink(QFile::encodeName(path).constData(), buffer, sizeof buffer - 1);
    return n < 0 ? QString() : QFile::decodeName(QByteArray(buffer, int(n)));
}

bool IsInside(const QString& path, const QString& folder)
{
    return path == folder || path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

// Opens a checked path without blocking (a pipe swapped in since the
// check returns at once instead of waiting for a writer) and makes sure with
// fstat that it is a regular file. `fd` is -1 when refused.
Outcome OpenChecked(const QString& target, const QString& displayName, int flags, struct stat& info, int& fd)
{
    fd = ::open(QFile::encodeName(target).constData(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return CannotOpen(displayName, errno);
    Outcome refused;
    if (::fstat(fd, &info) != 0)
        refused = CannotOpen(displayName, errno);
    else if (!S_ISREG(info.st_mode))
        refused = NotRegularError(displayName, info.st_mode, false);
    if (!refused.ok()) {
        ::close(fd);
        fd = -1;
        return refused;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return {};
}

} // namespace

QString SystemReason(int code) { return qt_error_string(code); }

QString DisplayFolderOf(const QString& displayName)
{
    const qsizetype cut = std::max(displayName.lastIndexOf(u'\\'), displayName.lastIndexOf(u'/'));
    if (cut == 0)
        return displayName.left(1);
    return cut < 0 ? QStringLiteral("the current folder") : displayName.left(cut);
}

PathCheck CheckPath(const QString& path, const QString& displayName, const FileRules& rules)
{
    const auto refuse = [&](int code) -> PathCheck { return CannotOpen(displayName, code); };
    PathCheck check;
    const QByteArray native = QFile::encodeName(path);
    struct stat link { };
    if (::lstat(native.constData(), &link) != 0) {
        if (errno != ENOENT)
            return refuse(errno);
        check.missing = true;
        check.target = path;
    } else if (S_ISLNK(link.st_mode)) {
        int error = 0;
        check.target = RealPath(path, error);
        if (check.target.isEmpty() && error == ENOENT)
            return QStringLiteral("%1 is a link to %2, which does not exist.").arg(displayName, LinkText(path));
        if (check.target.isEmpty())
            return refuse(error);
        struct stat target { };
        if (::stat(native.constData(), &target) != 0)
            return refuse(errno);
        if (!S_ISREG(target.st_mode))
            return NotRegularError(displayName, target.st_mode, true);
    } else if (!S_ISREG(link.st_mode)) {
        return NotRegularError(displayName, link.st_mode, false);
    } else {
        check.target = path;
    }

    if (!rules.confineTo.isEmpty()) {
        int error = 0;
        const QString root = RealPath(rules.confineTo, error);
        // A missing file is judged by the folder it would be created in.
        const QString where = check.missing ? RealPath(QFileInfo(path).path(), error) : RealPath(check.target, error);
        if (root.isEmpty() || where.isEmpty())
            return refuse(error);
        if (!IsInside(where, root))
            return QStringLiteral("%1 leads outside the game folder, to %2.").arg(displayName, where);
    }
    return check;
}

ReadStatus ReadableFile::open(const QString& path, const QString& displayName, const FileRules& rules, qint64 maxBytes,
                              const QString& what)
{
    displayName_ = displayName;
    const PathCheck check = CheckPath(path, displayName, rules);
    if (!check.ok() || check.missing)
        return check;
    struct stat info { };
    int fd = -1;
    if (const Outcome opened = OpenChecked(check.target, displayName, O_RDONLY, info, fd); !opened.ok())
        return opened;
    if (maxBytes >= 0 && info.st_size > maxBytes) {
        ::close(fd);
        return QStringLiteral("%1 is %2 bytes, more than %3 can be (%4 bytes).")
            .arg(displayName, QString::number(info.st_size), what, QString::number(maxBytes));
    }
    if (!file_.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return QStringLiteral("Cannot read %1: %2.").arg(displayName, file_.errorString());
    }
    size_ = info.st_size;
    return {};
}

Outcome OpenRegularForUpdate(const QString& path, const QString& displayName, int& fd)
{
    fd = -1;
    const PathCheck check = CheckPath(path, displayName, {});
    if (check.missing)
        return CannotOpen(displayName, ENOENT);
    if (!check.ok())
        return check;
    struct stat info { };
    return OpenChecked(check.target, displayName, O_RDWR, info, fd);
}

Outcome ReadableFile::read(qint64 count, QByteArray& out)
{
    out = file_.read(count);
    if (file_.error() != QFileDevice::NoError)
        return QStringLiteral("Cannot read %1: %2.").arg(displayName_, file_.errorString());
    return {};
}

} // namespace vorn
