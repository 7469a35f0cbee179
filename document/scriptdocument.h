#pragma once
// One of the game's scripts open for editing: its text, with the text
// document's own undo history and saved state, read from the scrambled
// file and written back to it, and what the checks find in it, refreshed
// after every change. Without widgets: the script window shows it.
#include "filestamp.h"
#include "gamescripts.h"
#include "outcome.h"
#include "scriptcheck.h"
#include "scripttext.h"

#include <QObject>
#include <QString>
#include <QTextDocument>

class QTimer;

#include <functional>
#include <vector>

namespace vorn {

class ScriptDocument : public QObject {
    Q_OBJECT
public:
    // The event numbers of the stage's entities, for a stage script.
    using EntityEvents = std::function<std::vector<int>(int stage)>;

    // `game` and `scripts` must outlive it. Nothing is read yet. A stage
    // script is checked with the entities of `stage`; by default, of the
    // first stage naming it.
    static constexpr int kFirstStageNamingIt = -2;
    ScriptDocument(const Game& game, GameScripts& scripts, QString builtName, EntityEvents entityEvents = {},
                   int stage = kFirstStageNamingIt, QObject* parent = nullptr);

    const QString& builtName() const { return builtName_; }
    QString fileName() const; // "Cave.tsc"
    int stage() const { return stage_; } // -1 for a shared script
    QTextDocument* text() const { return text_; }
    bool isModified() const { return text_->isModified(); }

    // Reads and unscrambles the file; its text replaces what is shown, with
    // a new history and nothing unsaved. `note` tells of line ends saved
    // otherwise than read, and of bytes kept as they are.
    Outcome load(QString* note = nullptr);
    // True when another program changed what the file holds since it was
    // read or written here; a touch, or the same bytes written again, is no change.
    bool changedOnDisk() const;
    // Scrambles the text and replaces the file atomically. Refused, naming
    // the character and its line, when the code page cannot store the text.
    Outcome save();

    // A text up to this many characters is checked at every change. A larger
    // one, far beyond what the game can load (its buffer holds 20,480
    // bytes), is checked after a pause in typing, so that keys stay quick.
    static constexpr int kCheckAtOnceLimit = 65536;
    static constexpr int kPauseMs = 300;

    // What the game reads of the text and what the checks find in it.
    struct Analysis {
        QString text;
        ScriptBytes bytes;
        ParsedScript parsed;
        std::vector<ScriptFinding> findings;
    };
    // Checked first when a change still waits for its check.
    const Analysis& analysis() const;
    // True while a change waits for the pause in typing to be checked.
    bool checkPending() const { return pending_; }
    // Checks now what waits for the pause.
    void checkNow();
    // The text position of a byte offset and back.
    int positionOf(int byteOffset) const;
    int byteOffsetOf(int position) const;
    // The text position of event `number`'s header; -1 when there is none.
    int eventPosition(int number) const;
    // Checks again, for the entities' events or other scripts having changed.
    void recheck();

signals:
    // After each change of the text: the change as the text document told
    // it (position, characters removed, characters added), before any view
    // of the text redraws its lines.
    // For a large text (and after a pause) position is -1: the change is
    // not told, views compare what they show.
    void analysed(int position, int removed, int added);
    // A change of a large text, not checked yet (emitted before views redraw).
    void edited(int position, int removed, int added);

private:
    void changed(int position, int removed, int added);
    void analyse(int position, int removed, int added, bool force);

    const Game& game_;
    GameScripts& scripts_;
    QString builtName_;
    EntityEvents entityEvents_;
    int stage_ = -1;
    QTextDocument* text_;
    mutable FileStamp stamp_;
    QByteArray onDisk_; // unscrambled, as read or written here
    Analysis analysis_;
    bool pending_ = false;
    int checkedRevision_ = -1; // the text document's revision at the last check or change
    QTimer* pause_;
};

} // namespace vorn
