#pragma once
// Finds game files in a folder copied from Windows, where letter case rarely
// matches the names the program builds ("data\stage\prtCave.pbm" against
// data/Stage/PrtCave.pbm).
#include "regularfile.h" // FileRules

#include <QString>
#include <QStringList>

namespace vorn {

class GameFolder {
public:
    explicit GameFolder(QString root);

    const QString& root() const { return root_; }

    // The existing ordinary file that a built name ("data\stage\X.pxm",
    // backslash-separated, relative to the root) names: each part matches
    // exactly or, failing that, without regard to case. Empty when none.
    QString findFile(const QString& builtName) const;

    // The same for an entry of any kind (a folder, a pipe, a device, a link
    // that leads nowhere), so that such an entry is refused by name instead
    // of being taken for a missing file. Hidden entries never match.
    QString findEntry(const QString& builtName) const;

    // Where a built name is to be written: the existing entry when there is
    // one, else the last part as built inside the existing folder that
    // matches without regard to case. Empty when that folder is missing.
    QString pathForWrite(const QString& builtName) const;

    // The last part may hold the '*' wildcard; matching ignores case.
    // Returns the names of ordinary, non-hidden files as the folder spells
    // them, in the order the directory lists them.
    QStringList listPattern(const QString& builtPattern) const;
    bool patternExists(const QString& builtPattern) const;

    // Game files may only lead to regular files inside the folder.
    FileRules rules() const { return FileRules{root_}; }

    // The extension the game's executable builds picture names with, "pbm"
    // unless a mod changed it ("bmp"), without the dot.
    const QString& pictureExtension() const { return pictureExtension_; }
    void setPictureExtension(const QString& extension) { pictureExtension_ = extension; }

private:
    QString findDir(const QStringList& parts) const;
    QString find(const QString& builtName, bool anyKind) const;
    QString root_;
    QString pictureExtension_ = QStringLiteral("pbm");
};

// The labels of the kinds of game file missing from `folder`, each followed
// by "\r\n", in a fixed order ("Main executable", "Map files", "Tileset
// files", "Sprite files", "Backdrop files"); empty in a game folder. One
// file of each kind is enough.
QString MissingGameFiles(const GameFolder& folder);

// A name taken from a stage record may only name a file inside the game
// folder: no "/", "\" or ":", not "." or "..", and no control character.
bool IsPlainFileName(const QString& name);

// "Stage 13's map name "../x" is not a plain file name.", control
// characters in the name shown as escapes ("Cave\x1b[2J").
// `what` is the field as the user knows it: "tileset", "map", "backdrop".
QString PlainNameError(int stage, const QString& what, const QString& name);

// A map name that is empty or starts with "." makes hidden files
// ("data\stage\.pxm") that no load reads back, so nothing is written
// under it: "Stage 13's map name "" would make the hidden file
// data\stage\.pxm, which no load reads back." Empty when the name is usable.
QString HiddenMapNameError(int stage, const QString& name, const QString& builtName);

} // namespace vorn
