#include "script.h"

#include "safewrite.h"

namespace vorn {
namespace {

// The game's scripts are a few kilobytes; anything this large is not one,
// and reading it whole would only exhaust memory.
constexpr qint64 kMaxScriptBytes = 16 * 1024 * 1024;

// Every byte but the middle one moves by the middle byte, wrapping at 256;
// the middle byte stays so that the reverse step can find the key again.
QByteArray Shift(QByteArray bytes, bool add)
{
    if (bytes.isEmpty())
        return bytes;
    const qsizetype middle = bytes.size() / 2;
    const quint8 key = quint8(bytes[middle]);
    for (qsizetype n = 0; n < bytes.size(); ++n) {
        if (n == middle)
            continue;
        const quint8 byte = quint8(bytes[n]);
        bytes[n] = char(add ? quint8(byte + key) : quint8(byte - key));
    }
    return bytes;
}

QString ConvertFile(const GameFolder& folder, const QString& mapName, const QString& fromExt,
                    const QString& toExt, bool add)
{
    const QString source = QStringLiteral("data\\stage\\") + mapName + fromExt;
    const QString target = QStringLiteral("data\\stage\\") + mapName + toExt;
    if (!IsPlainFileName(mapName))
        return QStringLiteral("The map name \"%1\" is not a plain file name.").arg(mapName);

    const QString sourcePath = folder.findEntry(source);
    if (sourcePath.isEmpty())
        return QStringLiteral("Cannot find %1.").arg(source);
    QByteArray bytes;
    const QString readError = ReadWholeFile(sourcePath, source, bytes, folder.rules(), kMaxScriptBytes,
                                            QStringLiteral("a script"));
    if (!readError.isEmpty())
        return readError;
    if (bytes.isEmpty())
        return QStringLiteral("%1 is empty.").arg(source);

    const QString targetPath = folder.pathForWrite(target);
    if (targetPath.isEmpty())
        return QStringLiteral("Cannot find the folder of %1.").arg(target);
    return ReplaceFile(targetPath, target, folder.rules(), Shift(bytes, add));
}

} // namespace

QByteArray DecodeScript(const QByteArray& scrambled) { return Shift(scrambled, false); }
QByteArray EncodeScript(const QByteArray& plain) { return Shift(plain, true); }

QString DecodeScriptFile(const GameFolder& folder, const QString& mapName)
{
    return ConvertFile(folder, mapName, QStringLiteral(".tsc"), QStringLiteral(".txt"), false);
}

QString EncodeScriptFile(const GameFolder& folder, const QString& mapName)
{
    return ConvertFile(folder, mapName, QStringLiteral(".txt"), QStringLiteral(".tsc"), true);
}

} // namespace vorn
