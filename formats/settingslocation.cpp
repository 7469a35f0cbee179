#include "settingslocation.h"

#include "inifile.h"
#include "safewrite.h"

#include <QDir>
#include <QFileInfo>
#include <unistd.h>

namespace vorn {
namespace {

// The same limit the settings reader keeps: a larger file is no settings file.
constexpr qint64 kMaxSeedBytes = 4 * 1024 * 1024;

bool SystemAllowsWrite(const QString& path) { return ::access(QFile::encodeName(path).constData(), W_OK) == 0; }

bool Exists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

bool CanWriteFolder(const QString& folder)
{
    return QFileInfo(folder).isDir() && SystemAllowsWrite(folder) && !IsMarkedReadOnly(folder);
}

QString SettingsFolder(const QString& programDir, const QString& userConfigDir)
{
    if (CanWriteFolder(programDir))
        return programDir;
    const QString beside = SettingsFilePath(programDir);
    if (QFileInfo(beside).isFile() && SystemAllowsWrite(beside) && !IsMarkedReadOnly(beside))
        return programDir;
    return userConfigDir;
}

QString InstalledDefaultSettings(const QString& programDir)
{
    const QString path = QDir::cleanPath(programDir + QStringLiteral("/../share/vorn/vorn.ini"));
    return QFileInfo(path).isFile() ? path : QString();
}

QString SettingsFileToRead(const QString& path, const QString& seed)
{
    return seed.isEmpty() || Exists(path) ? path : seed;
}

Outcome PrepareSettingsFile(const QString& path, const QString& seed)
{
    if (Exists(path))
        return {};
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("Cannot create the folder %1.").arg(folder);
    if (seed.isEmpty() || !QFileInfo(seed).isFile())
        return {};
    QByteArray bytes;
    if (const Outcome read = ReadWholeFile(seed, seed, bytes, {}, kMaxSeedBytes, QStringLiteral("a settings file"));
        !read.ok())
        return read;
    return WriteFileAtomically(path, path, bytes);
}

} // namespace vorn
