#include "backup.h"

#include "safewrite.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace vorn {
namespace {

QSet<QString>& CopiedThisRun()
{
    static QSet<QString> copied;
    return copied;
}

// The copies of `name` in `folder`, oldest first: their names sort by time,
// and a "-2" after the same second sorts after the plain one.
QStringList CopiesOf(const QDir& folder, const QString& name)
{
    const QRegularExpression pattern(
        QStringLiteral("^%1\\.(\\d{8}-\\d{6})(?:-(\\d+))?$").arg(QRegularExpression::escape(name)));
    struct Copy {
        QString file, stamp;
        int number;
    };
    std::vector<Copy> copies;
    for (const QString& file : folder.entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = pattern.match(file);
        if (match.hasMatch())
            copies.push_back({file, match.captured(1), match.captured(2).isEmpty() ? 1 : match.captured(2).toInt()});
    }
    std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
        return a.stamp != b.stamp ? a.stamp < b.stamp : a.number < b.number;
    });
    QStringList names;
    for (const Copy& copy : copies)
        names << copy.file;
    return names;
}

} // namespace

Outcome BackUp(const QString& gameRoot, const QString& filePath, const QDateTime& now, bool once)
{
    const QString key = QFileInfo(filePath).absoluteFilePath();
    if (once && CopiedThisRun().contains(key))
        return {};
    const QString name = QFileInfo(filePath).fileName();
    if (!QFileInfo::exists(filePath))
        return {};
    QByteArray bytes;
    if (const Outcome read = ReadWholeFile(filePath, name, bytes, FileRules{gameRoot}); !read.ok())
        return QStringLiteral("No backup of %1 could be made, so it was not changed: %2").arg(name, read.refusal());

    QDir root(gameRoot);
    if (!root.exists(QStringLiteral("backup")) && !root.mkdir(QStringLiteral("backup")))
        return QStringLiteral("No backup of %1 could be made, so it was not changed: cannot create the folder %2.")
            .arg(name, QDir::toNativeSeparators(root.filePath(QStringLiteral("backup"))));
    const QDir folder(root.filePath(QStringLiteral("backup")));
    const QString stamp = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString copyName = name + u'.' + stamp;
    for (int n = 2; folder.exists(copyName); ++n)
        copyName = name + u'.' + stamp + u'-' + QString::number(n);
    const QString shown = QStringLiteral("backup/") + copyName;
    if (const Outcome written = ReplaceFile(folder.filePath(copyName), shown, FileRules{gameRoot}, bytes);
        !written.ok())
        return QStringLiteral("No backup of %1 could be made, so it was not changed: %2").arg(name, written.refusal());
    CopiedThisRun().insert(key);

    // The oldest copy is the file as the modder first had it: never removed.
    QStringList copies = CopiesOf(folder, name);
    if (!copies.isEmpty())
        copies.removeFirst();
    while (copies.size() > kKeptBackUps)
        QFile::remove(folder.filePath(copies.takeFirst()));
    return {};
}

Outcome BackUpOnce(const QString& gameRoot, const QString& filePath)
{
    return BackUp(gameRoot, filePath, QDateTime::currentDateTime());
}

void ForgetBackUps() { CopiedThisRun().clear(); }

} // namespace vorn
