#include "script.h"

#include "outcome.h"
#include "safewrite.h"
#include "stagefiles.h"
#include "visibletext.h"

#include <QFileInfo>

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

// A conversion read and placed, ready to be written.
struct Conversion {
    QString source; // built names, for the messages
    QString target;
    QString sourcePath; // as found
    QString targetPath; // where the write goes
    QByteArray converted;
};

// Everything but the write.
Outcome Prepare(const GameFolder& folder, const QString& mapName, bool decode, Conversion& out)
{
    const StageFiles files = MapFilesOf(mapName);
    out.source = decode ? files.script : files.plainScript;
    out.target = decode ? files.plainScript : files.script;
    if (!IsPlainFileName(mapName))
        return QStringLiteral("The map name \"%1\" is not a plain file name.").arg(EscapeControls(mapName));

    out.sourcePath = folder.findEntry(out.source);
    if (out.sourcePath.isEmpty())
        return QStringLiteral("Cannot find %1.").arg(out.source);
    QByteArray bytes;
    if (const Outcome read = ReadWholeFile(out.sourcePath, out.source, bytes, folder.rules(), kMaxScriptBytes,
                                           QStringLiteral("a script"));
        !read.ok())
        return read;
    if (bytes.isEmpty())
        return QStringLiteral("%1 is empty.").arg(out.source);

    out.targetPath = folder.pathForWrite(out.target);
    if (out.targetPath.isEmpty())
        return QStringLiteral("Cannot find the folder of %1.").arg(out.target);
    out.converted = Shift(bytes, !decode);
    return {};
}

Outcome ConvertFile(const GameFolder& folder, const QString& mapName, bool decode)
{
    Conversion conversion;
    if (const Outcome prepared = Prepare(folder, mapName, decode, conversion); !prepared.ok())
        return prepared;
    return ReplaceFile(conversion.targetPath, conversion.target, folder.rules(), conversion.converted);
}

} // namespace

QByteArray DecodeScript(const QByteArray& scrambled) { return Shift(scrambled, false); }
QByteArray EncodeScript(const QByteArray& plain) { return Shift(plain, true); }

Outcome DecodeScriptFile(const GameFolder& folder, const QString& mapName)
{
    return ConvertFile(folder, mapName, true);
}

Outcome EncodeScriptFile(const GameFolder& folder, const QString& mapName)
{
    return ConvertFile(folder, mapName, false);
}

QString ScriptChangesAtRisk(const GameFolder& folder, const QString& mapName, bool decode)
{
    Conversion conversion;
    if (!Prepare(folder, mapName, decode, conversion).ok())
        return {}; // the conversion says why itself
    const PathCheck target = CheckPath(conversion.targetPath, conversion.target, folder.rules());
    if (target.missing || !target.ok())
        return {}; // nothing there to lose, or a target the write refuses
    // Files with the same time count as newer: which came last is unknown,
    // and asking loses nothing.
    if (QFileInfo(target.target).lastModified() < QFileInfo(conversion.sourcePath).lastModified())
        return {};
    QByteArray bytes;
    const bool read = ReadWholeFile(target.target, conversion.target, bytes, folder.rules(), kMaxScriptBytes,
                                    QStringLiteral("a script"))
                          .ok();
    if (read && bytes == conversion.converted)
        return {};
    const QString sourceFile = conversion.source.mid(conversion.source.lastIndexOf(u'\\') + 1);
    return QStringLiteral("%1 has changes that are not in %2").arg(conversion.target, sourceFile);
}

QString ScriptOverwriteQuestion(const GameFolder& folder, const QString& mapName, bool decode)
{
    const QString changes = ScriptChangesAtRisk(folder, mapName, decode);
    return changes.isEmpty() ? QString() : changes + QStringLiteral(". Overwrite it?");
}

} // namespace vorn
