#pragma once
// Keeps the recovery copy of a script open in a window: while its text has
// unsaved edits, written within kDelayMs of the last keystroke; removed
// once it has none (saved, discarded, or undone back to what is on disk).
#include "recovery.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <optional>

namespace vorn {

struct Game;
class ScriptDocument;

class ScriptRecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int kDelayMs = RecoveryKeeper::kDelayMs;

    // `game` and `script` must outlive it.
    ScriptRecoveryKeeper(const Game& game, ScriptDocument& script, RecoveryStore store, QObject* parent = nullptr);
    ~ScriptRecoveryKeeper() override;

    // A copy of the script that a Vorn no longer running left, when its
    // text differs from the script's; one that holds the same is removed.
    // Newest first, locked against other Vorns until take() or drop().
    std::optional<RecoveryStore::Copy> leftOver();
    // The offered text is in the script now; this keeper's copy holds it.
    void take();
    void drop();

signals:
    void writeFailed(const QString& reason);

private:
    void writeNow();
    void releaseOffer();

    const Game& game_;
    ScriptDocument& script_;
    RecoveryStore store_;
    QTimer timer_;
    quint64 revision_ = 0, writtenRevision_ = 0;
    bool kept_ = false;
    QString lastFailure_;
    std::optional<RecoveryStore::Copy> offered_;
    std::unique_ptr<QLockFile> offerLock_;
};

} // namespace vorn
