#include "gamefile.h"

#include "safewrite.h"

namespace vorn {

bool ReadGameFileHeader(QIODevice& device, const QString& displayName, QByteArray& header,
                        ReadStatus& status)
{
    header = device.read(kGameFileHeaderSize);
    if (header.size() < kGameFileHeaderSize) {
        status.error = QStringLiteral("%1 is shorter than its header: %2 of %3 bytes.")
                           .arg(displayName, QString::number(device.size()),
                                QString::number(kGameFileHeaderSize));
        return false;
    }
    return true;
}

ReadStatus ReadGameFile(const QString& path, const QString& displayName, const FileRules& rules,
                        const std::function<ReadStatus(QIODevice&)>& read)
{
    ReadableFile file;
    const ReadStatus status = file.open(path, displayName, rules);
    if (!status.ok() || status.missing)
        return status;
    return read(file.device());
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

QString RewriteGameFile(const QString& path, const QString& displayName, const FileRules& rules,
                        qsizetype owned, const std::function<QByteArray(const QByteArray& oldHead)>& compose)
{
    ReadableFile old;
    const ReadStatus status = old.open(path, displayName, rules);
    if (!status.ok())
        return status.error;
    if (status.missing)
        return ReplaceFile(path, displayName, rules, compose({}));
    QByteArray head;
    QString error;
    if (!old.read(owned, head, error))
        return error;
    return ReplaceFile(path, displayName, rules, compose(head), &old, head.size());
}

} // namespace vorn
