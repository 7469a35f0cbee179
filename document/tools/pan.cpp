#include "pan.h"

#include "stagedocument.h"

#include <cmath>

namespace vorn {

namespace {
constexpr int kScrollUnit = 16; // pixels of one scroll bar step
}

bool PanTool::press(const ToolEvent& event)
{
    if (event.button != 1 || !context_.scrollPosition || !context_.scrollTo)
        return false;
    stage().finishEdit();
    from_ = event.global;
    start_ = context_.scrollPosition();
    return true;
}

void PanTool::move(const ToolEvent& event)
{
    if (!from_)
        return;
    // The map follows the pointer in whole scroll units.
    const QPoint moved = event.global - *from_;
    context_.scrollTo(QPoint(start_.x() - int(std::lround(double(moved.x()) / kScrollUnit)),
                             start_.y() - int(std::lround(double(moved.y()) / kScrollUnit))));
}

} // namespace vorn
