#pragma once
// One game's entity types as the Entity Types window edits them: the rows of
// "data\npc.tbl", the names this game folder gives its types, and for a type
// added past the shipped ones the shipped type it is drawn as. Every change
// is one step of its own undo; a save writes npc.tbl, then the names.
#include "filestamp.h"
#include "gamefolder.h"
#include "npctable.h"
#include "outcome.h"

#include <QObject>
#include <QStringList>
#include <QUndoStack>

namespace vorn {

struct TypeTableState {
    NpcTable types;
    QStringList ownNames; // one per type; empty where the folder gives none
};

class TypeTable : public QObject {
    Q_OBJECT
public:
    // The settings file written to, and the default one read while it does
    // not exist (settingslocation.h).
    struct Settings {
        QString path, seed;
    };
    TypeTable(const GameFolder& folder, Settings settings, QObject* parent = nullptr);

    // Reads npc.tbl and the names anew, with a fresh history. On a refusal
    // the table is empty.
    Outcome read();
    const TypeTableState& state() const { return state_; }
    const NpcTable& types() const { return state_.types; }
    int count() const { return int(state_.types.size()); }
    // The name shown for `type`: the folder's own, else the shared one of
    // [Entities], else the shipped one; empty when none.
    QString name(int type) const;
    // The name `type` shows when the folder gives it none.
    QString defaultName(int type) const;

    // Each change is one step; refused, with the reason, changing nothing.
    Outcome setField(int type, NpcField field, const QString& text);
    // A whole row at once (a box dragged, a bit ticked), named `what` in
    // the undo history.
    Outcome setType(int type, const NpcType& row, const QString& what);
    // The folder's own name; empty clears it, and so does the default name.
    Outcome setName(int type, const QString& name);
    // Appends a copy of type `copyOf`, named after it, drawn as it.
    Outcome addType(int copyOf);

    QUndoStack& undoStack() { return undo_; }
    // Changes that are not written.
    bool pending() const { return !undo_.isClean(); }
    // Whether another program wrote npc.tbl since it was read or written.
    bool changedOutside() const;
    // Writes npc.tbl (checked, backed up, atomic) when its bytes changed,
    // then the names and the added types' looks into the settings file.
    // When npc.tbl is refused nothing is written.
    Outcome save();

signals:
    // The table or a name changed: an edit, undo, redo or read.
    void changed();

private:
    void show(const TypeTableState& state);
    void push(TypeTableState after, const QString& what);
    bool hasType(int type) const { return type >= 0 && type < count(); }

    const GameFolder& folder_;
    Settings settings_;
    TypeTableState state_;
    TypeTableState onDisk_;
    QStringList sharedNames_; // [Entities] then shipped, for types 0 to count - 1
    FileStamp stamp_;
    QUndoStack undo_;
};

// The rows `table` as read from npc.tbl, with the looks of the types the
// folder added taken from the settings file `settingsPath`.
void ApplyAddedTypeLooks(NpcTable& table, const QString& settingsPath, const QString& gameRoot);

} // namespace vorn
