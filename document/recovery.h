#pragma once
// Recovery copies: while a stage has unsaved edits, the map and entity files
// (and changed tile types) a save would write are kept in the user's state folder, so that a crash or
// a kill loses nothing. One file per game folder and map name, replaced
// atomically, so a kill in the middle of writing it leaves the last whole
// copy.
#include "outcome.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

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

    struct Copy {
        QByteArray mapFile, entityFile;
        QByteArray tileTypes; // the tileset's 256 types when they were changed, else empty
        QDateTime written; // local time of the last write
    };
    // The file that holds the copy of map `mapName` of the game in `gameRoot`.
    QString pathOf(const QString& gameRoot, const QString& mapName) const;
    Outcome write(const QString& gameRoot, const QString& mapName, const Copy& copy) const;
    // Nothing when there is no copy, or none that this program wrote for
    // that game.
    std::optional<Copy> read(const QString& gameRoot, const QString& mapName) const;
    void remove(const QString& gameRoot, const QString& mapName) const;

private:
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
    void setStore(RecoveryStore store);

    // The copy of the stage just opened, when it holds other edits than
    // the stage's files; a copy that holds the same is removed. A copy
    // returned is this keeper's to update and remove from then on.
    std::optional<RecoveryStore::Copy> leftOver();
    // Removes the open stage's copy (its edits are being thrown away).
    void discard();

signals:
    // A copy could not be written, once per reason.
    void writeFailed(const QString& reason);

private:
    // A copy is known by its game folder and map name.
    struct Key {
        QString root, mapName;
        bool operator==(const Key&) const = default;
    };
    Key openStage() const;
    void writeNow();

    StageDocument& stage_;
    RecoveryStore store_;
    QTimer timer_;
    std::optional<Key> kept_; // the copy this keeper looks after
    quint64 writtenRevision_ = 0; // the document's revision the copy holds
    QString lastFailure_;
};

} // namespace vorn
