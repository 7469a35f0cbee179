#include "gamefolder.h"

#include "visibletext.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace vorn {
namespace {

QStringList SplitBuiltName(const QString& builtName) { return builtName.split(u'\\'); }

// "." and ".." would climb out of the folder; empty parts mean a doubled or
// trailing separator. Neither is a name the program builds.
bool IsUsablePart(const QString& part)
{
    return !part.isEmpty() && part != u"." && part != u".." && !part.contains(u'/');
}

QString Join(const QString& dir, const QString& name) { return dir.endsWith(u'/') ? dir + name : dir + u'/' + name; }

bool IsOrdinaryVisibleFile(const QFileInfo& info) { return info.isFile() && !info.fileName().startsWith(u'.'); }

// Names of the entries `filters` selects, in the order the directory gives them.
QStringList Entries(const QString& dir, QDir::Filters filters)
{
    return QDir(dir).entryList(filters | QDir::NoDotAndDotDot, QDir::Unsorted);
}

// '*' stands for any run of characters; everything else is literal.
QRegularExpression PatternToRegex(const QString& pattern)
{
    QStringList pieces = pattern.split(u'*');
    for (QString& piece : pieces)
        piece = QRegularExpression::escape(piece);
    return QRegularExpression(QRegularExpression::anchoredPattern(pieces.join(QStringLiteral(".*"))),
                              QRegularExpression::CaseInsensitiveOption);
}

} // namespace

GameFolder::GameFolder(QString root)
    : root_(std::move(root))
{
}

QString GameFolder::findDir(const QStringList& parts) const
{
    QString dir = root_;
    if (!QFileInfo(dir).isDir())
        return {};
    for (const QString& part : parts) {
        if (!IsUsablePart(part))
            return {};
        const QString exact = Join(dir, part);
        if (QFileInfo(exact).isDir()) {
            dir = exact;
            continue;
        }
        QString found;
        for (const QString& name : Entries(dir, QDir::Dirs)) {
            if (name.compare(part, Qt::CaseInsensitive) == 0) {
                found = Join(dir, name);
                break;
            }
        }
        if (found.isEmpty())
            return {};
        dir = found;
    }
    return dir;
}

QString GameFolder::find(const QString& builtName, bool anyKind) const
{
    QStringList parts = SplitBuiltName(builtName);
    const QString last = parts.takeLast();
    if (!IsUsablePart(last) || (anyKind && last.startsWith(u'.')))
        return {};
    const QString dir = findDir(parts);
    if (dir.isEmpty())
        return {};
    const QString exact = Join(dir, last);
    const QFileInfo info(exact);
    if (anyKind ? info.exists() || info.isSymLink() : IsOrdinaryVisibleFile(info))
        return exact;
    // System entries are pipes, devices, sockets and links that lead nowhere.
    const QDir::Filters kinds = anyKind ? QDir::AllEntries | QDir::System : QDir::Files;
    for (const QString& name : Entries(dir, kinds)) {
        if (name.compare(last, Qt::CaseInsensitive) == 0)
            return Join(dir, name);
    }
    return {};
}

QString GameFolder::findFile(const QString& builtName) const { return find(builtName, false); }

QString GameFolder::findEntry(const QString& builtName) const { return find(builtName, true); }

QString GameFolder::pathForWrite(const QString& builtName) const
{
    const QString existing = findEntry(builtName);
    if (!existing.isEmpty())
        return existing;
    QStringList parts = SplitBuiltName(builtName);
    const QString last = parts.takeLast();
    if (!IsUsablePart(last))
        return {};
    const QString dir = findDir(parts);
    return dir.isEmpty() ? QString() : Join(dir, last);
}

QStringList GameFolder::listPattern(const QString& builtPattern) const
{
    QStringList parts = SplitBuiltName(builtPattern);
    const QString pattern = parts.takeLast();
    if (pattern.isEmpty())
        return {};
    const QString dir = findDir(parts);
    if (dir.isEmpty())
        return {};
    const QRegularExpression regex = PatternToRegex(pattern);
    QStringList matches;
    // QDir::Files without QDir::Hidden leaves out folders and dot files.
    for (const QString& name : Entries(dir, QDir::Files)) {
        if (regex.match(name).hasMatch())
            matches.append(name);
    }
    return matches;
}

bool GameFolder::patternExists(const QString& builtPattern) const { return !listPattern(builtPattern).isEmpty(); }

QString MissingGameFiles(const GameFolder& folder)
{
    const QString ext = folder.pictureExtension();
    const bool tableFile = folder.patternExists(QStringLiteral("data\\stage.tbl")) ||
                           folder.patternExists(QStringLiteral("data\\stage.sect")) ||
                           folder.patternExists(QStringLiteral("data\\mrmap.bin"));
    const struct {
        QString pattern;
        const char* label;
    } required[] = {
        {tableFile ? QString() : QStringLiteral("doukutsu.exe"), "Main executable"},
        {QStringLiteral("data\\stage\\*.pxm"), "Map files"},
        {QStringLiteral("data\\stage\\prt*.") + ext, "Tileset files"},
        {QStringLiteral("data\\npc\\npc*.") + ext, "Sprite files"},
        {QStringLiteral("data\\bk*.") + ext, "Backdrop files"},
    };
    QString missing;
    for (const auto& r : required) {
        if (!r.pattern.isEmpty() && !folder.patternExists(r.pattern))
            missing += QString::fromLatin1(r.label) + QStringLiteral("\r\n");
    }
    return missing;
}

bool IsPlainFileName(const QString& name)
{
    if (name == u"." || name == u"..")
        return false;
    // A control character makes a file no one can name at a prompt, and
    // would reach the terminal raw wherever the name is printed.
    return !name.contains(u'/') && !name.contains(u'\\') && !name.contains(u':') && !HasControlCharacter(name);
}

QString PlainNameError(int stage, const QString& what, const QString& name)
{
    return QStringLiteral("Stage %1's %2 name \"%3\" is not a plain file name.")
        .arg(stage)
        .arg(what, EscapeControls(name));
}

QString HiddenMapNameError(int stage, const QString& name, const QString& builtName)
{
    if (!name.isEmpty() && !name.startsWith(u'.'))
        return {};
    return QStringLiteral("Stage %1's map name \"%2\" would make the hidden file %3, which no load "
                          "reads back.")
        .arg(stage)
        .arg(name, builtName);
}

} // namespace vorn
