#include "edithistory.h"

#include "stagecommands.h"

#include <QSignalBlocker>
#include <vector>

namespace vorn {

namespace {

const EditCommand* Step(const QUndoStack& stack, int i) { return static_cast<const EditCommand*>(stack.command(i)); }

} // namespace

qsizetype EditHistory::Bytes() const
{
    qsizetype total = 0;
    for (int i = 0; i < stack_.count(); ++i)
        total += Step(stack_, i)->Bytes();
    return total;
}

void EditHistory::Clear()
{
    stack_.clear(); // also marks the empty stack as the saved state
}

void EditHistory::Push(EditCommand* command)
{
    // A push drops the steps that could have been redone; when the saved
    // state lay among them, the stack takes it as unreachable by itself.
    stack_.push(command);
    if (Bytes() <= kByteCap)
        return;

    // The newest steps that fit, and always the newest one.
    int keepFrom = stack_.count() - 1;
    qsizetype kept = Step(stack_, keepFrom)->Bytes();
    while (keepFrom > 0 && kept + Step(stack_, keepFrom - 1)->Bytes() <= kByteCap)
        kept += Step(stack_, --keepFrom)->Bytes();

    // QUndoStack can only drop its oldest steps by a step limit, which can
    // only be set while it is empty. So it is rebuilt from copies of the
    // steps kept, which share their data. Right after a push every step is
    // done, so the copies go on as done steps and nothing is applied. The
    // saved marker moves with its step, or is lost with it.
    const int savedAt = stack_.cleanIndex() - keepFrom; // in the rebuilt stack
    std::vector<EditCommand*> copies;
    for (int i = keepFrom; i < stack_.count(); ++i)
        copies.push_back(Step(stack_, i)->Copy());
    const QSignalBlocker quiet(&stack_); // the rebuild is no change of state
    stack_.clear();
    for (EditCommand* copy : copies) {
        if (stack_.index() == savedAt)
            stack_.setClean();
        stack_.push(copy);
    }
    if (stack_.index() == savedAt)
        stack_.setClean();
    else if (savedAt < 0)
        stack_.resetClean();
}

} // namespace vorn
