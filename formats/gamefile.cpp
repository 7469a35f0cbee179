#include "gamefile.h"

#include "safewrite.h"

namespace vorn {

Outcome ReadGameFileHeader(QIODevice& device, const QString& displayName, QByteArray& header)
{
    header = device.read(kGameFileHeaderSize);
    if (header.size() < kGameFileHeaderSize)
        return QStringLiteral("%1 is shorter than its header: %2 of %3 bytes.")
            .arg(displayName, QString::number(device.size()), QString::number(kGameFileHeaderSize));
    return {};
}

ReadStatus ReadGameFile(const QString& path, const QString& displayName, const FileRules& rules,
                        const std::function<Outcome(QIODevice&)>& read)
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

Outcome RewriteGameFile(const QString& path, const QString& displayName, const FileRules& rules, qsizetype owned,
                        const std::function<QByteArray(const QByteArray& oldHead)>& compose)
{
    ReadableFile old;
    const ReadStatus status = old.open(path, displayName, rules);
    if (!status.ok())
        return status;
    if (status.missing)
        return ReplaceFile(path, displayName, rules, compose({}));
    QByteArray head;
    if (const Outcome read = old.read(owned, head); !read.ok())
        return read;
    return ReplaceFile(path, displayName, rules, compose(head), &old, head.size());
}

} // namespace vorn
