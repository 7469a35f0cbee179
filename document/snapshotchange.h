#pragma once
// One step of a table window's undo: the state before and after, whole, so
// that undo gives back every byte. `show` puts a state on screen and in the
// table being edited.
#include <QUndoCommand>
#include <functional>

namespace vorn {

template <class State> class SnapshotChange : public QUndoCommand {
public:
    SnapshotChange(State before, State after, const QString& text, std::function<void(const State&)> show)
        : QUndoCommand(text)
        , before_(std::move(before))
        , after_(std::move(after))
        , show_(std::move(show))
    {
    }
    void undo() override { show_(before_); }
    void redo() override { show_(after_); }

private:
    State before_, after_;
    std::function<void(const State&)> show_;
};

} // namespace vorn
