#include "safewrite.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vorn {

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

QString WriteFileAtomically(const QString& path, const QString& displayName, const QByteArray& bytes)
{
    if (IsMarkedReadOnly(path))
        return QStringLiteral("Cannot write %1: the file is read-only.").arg(displayName);

    // The temporary file lies beside the target and is renamed over it, so a
    // failure at any point leaves the old file whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot write %1: %2.").arg(displayName, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QStringLiteral("Cannot write %1: %2.").arg(displayName, reason);
    }
    if (!file.commit())
        return QStringLiteral("Cannot write %1: %2.").arg(displayName, file.errorString());
    return {};
}

QString ReadWholeFile(const QString& path, const QString& displayName, QByteArray& out)
{
    if (QFileInfo(path).isDir())
        return QStringLiteral("Cannot read %1: it is a folder.").arg(displayName);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Cannot read %1: %2.").arg(displayName, file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("Cannot read %1: %2.").arg(displayName, file.errorString());
    out = std::move(bytes);
    return {};
}

} // namespace vorn
