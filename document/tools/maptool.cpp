#include "maptool.h"

#include "editingstate.h"
#include "stagedocument.h"

#include <algorithm>

namespace vorn {

StageDocument& MapTool::stage() const { return context_.stage; }
EditingState& MapTool::editing() const { return context_.editing; }

bool MapTool::onMap(QPoint cell) const
{
    return cell.x() >= 0 && cell.y() >= 0 && cell.x() < stage().width() && cell.y() < stage().height();
}

void MapTool::tell(const QString& text, bool warning) const
{
    if (context_.tell)
        context_.tell(text, warning);
}

QPoint MapTool::clampToMap(QPoint cell) const
{
    return QPoint(std::clamp(cell.x(), 0, std::max(stage().width() - 1, 0)),
                  std::clamp(cell.y(), 0, std::max(stage().height() - 1, 0)));
}

} // namespace vorn
