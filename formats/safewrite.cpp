#include "safewrite.h"

#include <QDir>
#include <QFileInfo>
#include <atomic>
#include <functional>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vorn {
namespace {

const QString kTemporaryMarker = QStringLiteral(".vorn-");

// Hidden, so no listing of game files takes it for one, and named after
// the file it replaces, so it is known whose it is.
QString TemporaryPrefix(const QString& fileName) { return u'.' + fileName.left(200) + kTemporaryMarker; }

// The bytes of `from` from `offset` to its end, appended to `to`: by the
// kernel where it can, else in blocks through a small buffer.
bool CopyRest(int from, qint64 offset, int to, int& error)
{
    off_t in = offset;
    bool copiedAny = false;
    for (;;) {
        const ssize_t n = ::copy_file_range(from, &in, to, nullptr, size_t(1) << 30, 0);
        if (n == 0)
            return true;
        if (n > 0) {
            copiedAny = true;
            continue;
        }
        if (errno == EINTR)
            continue;
        if (copiedAny || (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP)) {
            error = errno;
            return false;
        }
        break; // not for these two files: copy by hand
    }
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::pread(from, buffer.data(), size_t(buffer.size()), in);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = errno;
            return false;
        }
        if (n == 0)
            return true;
        if (!WriteAll(to, buffer.constData(), n, error))
            return false;
        in += n;
    }
}

bool IsStale(const QString& leftover, const QString& prefix)
{
    const QString rest = leftover.mid(prefix.size());
    bool ok = false;
    const qint64 pid = rest.left(rest.indexOf(u'-')).toLongLong(&ok);
    if (!ok || pid <= 0 || pid == ::getpid())
        return true; // ours from an earlier save that cannot be running now
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH; // its writer is gone
}

QStringList Leftovers(const QString& folder, const QString& fileName)
{
    const QString prefix = TemporaryPrefix(fileName);
    QStringList found;
    const auto entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QString& entry : entries) {
        if (entry.startsWith(prefix))
            found << entry;
    }
    return found;
}

void RemoveStaleTemporaries(const QString& folder, const QString& fileName)
{
    const QString prefix = TemporaryPrefix(fileName);
    for (const QString& entry : Leftovers(folder, fileName)) {
        if (IsStale(entry, prefix))
            ::unlink(QFile::encodeName(QDir(folder).filePath(entry)).constData());
    }
}

int CreateTemporary(const QString& folder, const QString& fileName, QString& temporary)
{
    static std::atomic<int> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = QDir(folder).filePath(TemporaryPrefix(fileName) + QString::number(::getpid()) + u'-' +
                                          QString::number(counter++));
        const int fd = ::open(QFile::encodeName(temporary).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

void IgnoreFileSizeSignal()
{
    static const bool ignored = [] { return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR; }();
    (void)ignored;
}

bool WriteAll(int fd, const char* data, qint64 size, int& error, qint64 offset, qint64* written)
{
    qint64 done = 0;
    while (done < size) {
        const size_t chunk = size_t(std::min<qint64>(size - done, 1 << 30));
        const ssize_t n =
            offset < 0 ? ::write(fd, data + done, chunk) : ::pwrite(fd, data + done, chunk, off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC; // a write that takes nothing is a full disk
            break;
        }
        done += n;
    }
    if (written)
        *written = done;
    return done == size;
}

bool IsMarkedReadOnly(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    // The owner/group/other bits come from the file's mode; the "User" bits
    // would ask the system, which lets root write anything.
    constexpr auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    return (info.permissions() & anyWrite) == 0;
}

QStringList LeftoverTemporaries(const QString& target)
{
    const QFileInfo info(target);
    return Leftovers(info.absolutePath(), info.fileName());
}

namespace {

// A failed write's refusal, from its errno.
using WriteFailure = std::function<Outcome(int code)>;

// The replacement shared by every writer: `fill` writes the new content to
// the temporary file's descriptor. A write that fails gives back `failed`
// of its errno; any other refusal is the fill's own reason to give up.
Outcome Replace(const QString& path, const QString& displayName, const FileRules& rules,
                const std::function<Outcome(int fd, const WriteFailure& failed)>& fill)
{
    IgnoreFileSizeSignal();
    const PathCheck check = CheckPath(path, displayName, rules);
    if (!check.ok())
        return check;
    const WriteFailure failed = [&displayName](int code) -> Outcome {
        return QStringLiteral("Cannot write %1: %2.").arg(displayName, SystemReason(code));
    };

    const QFileInfo target(check.target);
    const QString folder = target.absolutePath();
    if (!check.missing && IsMarkedReadOnly(check.target))
        return QStringLiteral("Cannot write %1: the file is read-only.").arg(displayName);
    if (IsMarkedReadOnly(folder))
        return QStringLiteral("Cannot write %1: the folder %2 is read-only.")
            .arg(displayName, DisplayFolderOf(displayName));
    struct stat old { };
    if (!check.missing && ::stat(QFile::encodeName(check.target).constData(), &old) != 0)
        return failed(errno);

    RemoveStaleTemporaries(folder, target.fileName());
    QString temporary;
    const int fd = CreateTemporary(folder, target.fileName(), temporary);
    if (fd < 0) {
        const int code = errno;
        if (code == EACCES || code == EPERM || code == EROFS)
            return QStringLiteral("Cannot write %1: the folder %2 cannot be written (%3).")
                .arg(displayName, DisplayFolderOf(displayName), SystemReason(code));
        return failed(code);
    }

    // Every step is checked: a write error that went unseen here would
    // rename a short file over a good one.
    Outcome refused;
    const auto step = [&](bool done) {
        if (refused.ok() && !done)
            refused = failed(errno);
    };
    if (!check.missing)
        step(::fchmod(fd, old.st_mode & 07777) == 0);
    if (refused.ok())
        refused = fill(fd, failed);
    if (refused.ok())
        step(::fsync(fd) == 0);
    step(::close(fd) == 0);
    if (refused.ok())
        step(::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(check.target).constData()) == 0);
    if (!refused.ok()) {
        ::unlink(QFile::encodeName(temporary).constData());
        return refused;
    }
    // The rename itself reaches the disk with the folder's entry.
    if (const int dir = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

} // namespace

Outcome ReplaceFile(const QString& path, const QString& displayName, const FileRules& rules, const QByteArray& head,
                    ReadableFile* tail, qint64 tailFrom)
{
    return Replace(path, displayName, rules, [&](int fd, const WriteFailure& failed) -> Outcome {
        int error = 0;
        if (!WriteAll(fd, head.constData(), head.size(), error) ||
            (tail && !CopyRest(tail->descriptor(), tailFrom, fd, error)))
            return failed(error);
        return {};
    });
}

Outcome ReplaceFileStreamed(const QString& path, const QString& displayName, const FileRules& rules,
                            const std::function<Outcome(const ByteSink& write)>& produce)
{
    return Replace(path, displayName, rules, [&](int fd, const WriteFailure& failed) -> Outcome {
        int error = 0;
        bool written = true;
        const ByteSink sink = [&](const char* data, qint64 size) {
            written = written && WriteAll(fd, data, size, error);
            return written;
        };
        const Outcome produced = produce(sink);
        // A failed write is reported by its errno, whatever the producer made of it.
        if (!written)
            return failed(error);
        return produced;
    });
}

Outcome WriteFileAtomically(const QString& path, const QString& displayName, const QByteArray& bytes)
{
    return ReplaceFile(path, displayName, {}, bytes);
}

Outcome ReadWholeFile(const QString& path, const QString& displayName, QByteArray& out, const FileRules& rules,
                      qint64 maxBytes, const QString& what)
{
    ReadableFile file;
    const ReadStatus status = file.open(path, displayName, rules, maxBytes, what);
    if (!status.ok())
        return status;
    if (status.missing)
        return QStringLiteral("Cannot read %1: %2.").arg(displayName, SystemReason(ENOENT));
    QByteArray bytes;
    // No more than the size it had when opened: a file that keeps growing
    // is read as far as that.
    if (const Outcome read = file.read(file.size(), bytes); !read.ok())
        return read;
    out = std::move(bytes);
    return {};
}

} // namespace vorn
