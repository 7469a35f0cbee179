#pragma once
// The undo history of the open stage: Qt's undo stack with a cap on the
// memory its steps hold instead of on their number, and a saved marker that
// survives the cap.
#include <QUndoStack>

namespace vorn {

class EditCommand;

class EditHistory {
public:
    static constexpr qsizetype kByteCap = qsizetype(64) * 1024 * 1024;

    // Takes the step, whose edit has been made; drops the steps that could
    // have been redone, then the oldest while the rest hold more than the
    // cap (the newest step always stays).
    void Push(EditCommand* command);
    void Undo() { stack_.undo(); }
    void Redo() { stack_.redo(); }
    // Forgets every step; the state now is the saved one.
    void Clear();
    qsizetype Bytes() const;
    const QUndoStack& Stack() const { return stack_; }

    // The state now is the one on disk.
    void MarkSaved() { stack_.setClean(); }
    // No undo or redo can bring back the state on disk any more: the step
    // it was saved at was dropped by the cap or by a new edit after undo.
    void MarkSavedUnreachable() { stack_.resetClean(); }
    bool AtSavedState() const { return stack_.isClean(); }
    bool SavedStateReachable() const { return stack_.cleanIndex() >= 0; }

private:
    QUndoStack stack_; // no limit on the number of steps
};

} // namespace vorn
