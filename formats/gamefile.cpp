#include "gamefile.h"

#include "safewrite.h"

#include <QFileInfo>

namespace vorn {

bool OpenGameFile(const QString& path, const QString& displayName, QFile& file,
                  QByteArray& header, ReadStatus& status)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        status.missing = true;
        return false;
    }
    if (!info.isFile()) {
        status.error = QStringLiteral("%1 is not a file.").arg(displayName);
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        status.error = QStringLiteral("Cannot read %1: %2.").arg(displayName, file.errorString());
        return false;
    }
    header = file.read(kGameFileHeaderSize);
    if (header.size() < kGameFileHeaderSize) {
        status.error = QStringLiteral("%1 is shorter than its header: %2 of %3 bytes.")
                           .arg(displayName, QString::number(file.size()),
                                QString::number(kGameFileHeaderSize));
        return false;
    }
    return true;
}

QByteArray WithRoomFor(const QByteArray& old, const QByteArray& magic, qsizetype needed)
{
    QByteArray bytes = old;
    if (bytes.size() < 4)
        bytes = magic;
    if (bytes.size() < needed)
        bytes.append(QByteArray(needed - bytes.size(), '\0'));
    return bytes;
}

QString RewriteGameFile(const QString& path, const QString& displayName,
                        const std::function<QByteArray(const QByteArray& old)>& compose)
{
    QByteArray old;
    if (QFileInfo::exists(path)) {
        const QString error = ReadWholeFile(path, displayName, old);
        if (!error.isEmpty())
            return error;
    }
    return WriteFileAtomically(path, displayName, compose(old));
}

} // namespace vorn
