#pragma once
// The undo history of the open stage: Qt's undo stack with a cap on the
// memory its steps hold instead of on their number.
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
    void Clear() { stack_.clear(); }
    qsizetype Bytes() const;
    const QUndoStack& Stack() const { return stack_; }

private:
    QUndoStack stack_; // no limit on the number of steps
};

} // namespace vorn
