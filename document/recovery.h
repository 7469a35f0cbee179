#pragma once
// Recovery copies: while a stage or a script has unsaved edits, what a save
// would write is kept in the user's state folder, so that a crash or a kill
// loses nothing. One folder per game folder, readable by the user alone;
// one copy per stage or script and running Vorn, replaced atomically, so a
// kill in the middle of writing it leaves the last whole copy, and two
// Vorns on one stage never write over each other's copy.
#include "outcome.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLockFile;

namespace vorn {

class StageDocument;

class RecoveryStore {
public:
    // `folder`: where the copies go; empty keeps none.
    explicit RecoveryStore(QString folder = {})
        : folder_(std::move(folder))
    {
    }
    // $XDG_STATE_HOME/vorn/recovery, or ~/.local/state/vorn/recovery.
    static QString DefaultFolder();
    const QString& folder() const { return folder_; }

    enum class Kind { Stage, Script };

    // A file the edits were made on, as it was when the copy was written.
    struct Source {
        QString name; // as messages name it: "data\Stage\Cave.pxm"
        QString path;
        bool exists = false;
        qint64 size = 0;
        QByteArray sha1;
        bool operator==(const Source&) const = default;
    };
    // The stamp of `path` now.
    static Source StampOf(const QString& name, const QString& path);

    struct Copy {
        QByteArray mapFile, entityFile;
        QByteArray tileTypes; // the tileset's 256 types when they were changed, else empty
        QDateTime written; // local time of the last write
        std::vector<Source> sources;
        QString scriptText; // a script's copy
        QString path; // where the copy lies
        // The sources another program changed since the copy was written.
        QStringList changedSources() const;
    };
    // The file that holds this Vorn's copy of `name` (a map name or a
    // script's built name) of the game in `gameRoot`.
    QString pathOf(const QString& gameRoot, const QString& name, Kind kind = Kind::Stage) const;
    // Writes this Vorn's copy: a new file replacing whatever is at its
    // place, a link included, readable by the user alone.
    Outcome write(const QString& gameRoot, const QString& name, const Copy& copy, Kind kind = Kind::Stage) const;
    // This Vorn's copy; nothing when there is none.
    std::optional<Copy> read(const QString& gameRoot, const QString& name, Kind kind = Kind::Stage) const;
    // The copies of `name` that Vorns no longer running left, newest first.
    std::vector<Copy> leftBehind(const QString& gameRoot, const QString& name, Kind kind = Kind::Stage) const;
    // Every stage and script of the game with a copy left behind.
    struct Entry {
        Kind kind;
        QString name;
    };
    std::vector<Entry> leftBehindNames(const QString& gameRoot) const;
    void remove(const QString& gameRoot, const QString& name, Kind kind = Kind::Stage) const;
    static void removeCopy(const Copy& copy);

private:
    QString gameFolder(const QString& gameRoot) const;
    QString folder_;
};

// Keeps the recovery copy of a document's open stage: while the stage has
// unsaved edits, written within kDelayMs of the last change; removed once it
// has none (saved, or undone back to what is on disk).
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int kDelayMs = 2000;

    RecoveryKeeper(StageDocument& stage, RecoveryStore store, QObject* parent = nullptr);
    ~RecoveryKeeper() override;
    void setStore(RecoveryStore store);
    const RecoveryStore& store() const { return store_; }
    // Where a built name of the game lies, for the stamps of the stage's
    // files; without it the copy keeps none.
    void setLocator(std::function<QString(const QString& builtName)> locate) { locate_ = std::move(locate); }

    // A copy of the stage just opened that a Vorn no longer running left,
    // when it holds other edits than the stage's files; one that holds the
    // same is removed. Newest first, one at a time: the copy returned is
    // locked against other Vorns until take() or drop() decides it.
    std::optional<RecoveryStore::Copy> leftOver();
    // The offered copy's edits are back in the stage: from now on this
    // keeper's copy holds them, and the offered one goes.
    void take();
    // The offered copy is thrown away.
    void drop();
    // Removes the open stage's copy (its edits are being thrown away).
    void discard();

signals:
    // A copy could not be written, once per reason; tried again at every
    // tick while edits are unsaved.
    void writeFailed(const QString& reason);

private:
    // A copy is known by its game folder and map name.
    struct Key {
        QString root, mapName;
        bool operator==(const Key&) const = default;
    };
    Key openStage() const;
    void writeNow();
    void releaseOffer();

    StageDocument& stage_;
    RecoveryStore store_;
    std::function<QString(const QString&)> locate_;
    QTimer timer_;
    std::optional<Key> kept_; // the copy this keeper looks after
    quint64 writtenRevision_ = 0; // the document's revision the copy holds
    QString lastFailure_;
    std::optional<RecoveryStore::Copy> offered_;
    std::unique_ptr<QLockFile> offerLock_;
};

// The lock that keeps a left-behind copy to one Vorn while it is offered;
// null when another Vorn holds it.
std::unique_ptr<QLockFile> LockCopy(const QString& copyPath);

} // namespace vorn
