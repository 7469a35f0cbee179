#include "edithistory.h"

#include "undocommands.h"

#include <vector>

namespace vorn {

namespace {

const EditCommand* Step(const QUndoStack& stack, int i)
{
    return static_cast<const EditCommand*>(stack.command(i));
}

} // namespace

qsizetype EditHistory::Bytes() const
{
    qsizetype total = 0;
    for (int i = 0; i < stack_.count(); ++i)
        total += Step(stack_, i)->Bytes();
    return total;
}

void EditHistory::Push(EditCommand* command)
{
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
    // done, so the copies go on as done steps and nothing is applied.
    std::vector<EditCommand*> copies;
    for (int i = keepFrom; i < stack_.count(); ++i)
        copies.push_back(Step(stack_, i)->Copy());
    stack_.clear();
    for (EditCommand* copy : copies)
        stack_.push(copy);
}

} // namespace vorn
