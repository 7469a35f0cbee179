#include "floatingpaste.h"

#include "editingstate.h"
#include "preview.h"
#include "stagedocument.h"

namespace vorn {

bool FloatingPasteTool::active() const { return editing().floating().has_value(); }

bool FloatingPasteTool::press(const ToolEvent& event)
{
    if (!active() || event.button != 1)
        return false;
    if (onMap(event.cell)) {
        editing().moveFloating(event.cell);
        place();
    }
    return true;
}

void FloatingPasteTool::move(const ToolEvent& event)
{
    if (active() && onMap(event.cell))
        editing().moveFloating(event.cell);
}

void FloatingPasteTool::cancel() { editing().setFloating(std::nullopt); }

QRect FloatingPasteTool::previewCells() const { return editing().floatingRect(); }

void FloatingPasteTool::drawPreview(QImage& target, const QRect& area, int zoom) const
{
    const std::optional<CellsClip>& clip = editing().floating();
    if (!clip)
        return;
    const bool sprites = context_.showsSprites && context_.showsSprites();
    DrawCellsPreview(target, area, zoom, stage(), clip->cells, editing().floatingAt(),
                     clip->entitiesAt(editing().floatingAt(), stage().width(), stage().height()), sprites);
}

bool FloatingPasteTool::place()
{
    const std::optional<CellsClip> clip = editing().floating();
    if (!clip)
        return false;
    const QPoint at = editing().floatingAt();
    const Outcome pasted = stage().pasteBlock(at, clip->cells, clip->entitiesAt(at, stage().width(), stage().height()));
    editing().setFloating(std::nullopt);
    if (!pasted.ok()) {
        tell(pasted.refusal(), true);
        return false;
    }
    const QString here = context_.tilesetName ? context_.tilesetName() : QString();
    if (!clip->tileset.isEmpty() && !here.isEmpty() && clip->tileset.compare(here, Qt::CaseInsensitive) != 0)
        tell(QStringLiteral("The copy's tiles come from tileset %1; this stage uses %2.").arg(clip->tileset, here));
    return true;
}

} // namespace vorn
