#include "toolbox.h"

#include "capture.h"
#include "entitydrag.h"
#include "fill.h"
#include "floatingpaste.h"
#include "pan.h"
#include "pencil.h"
#include "rectangle.h"
#include "select.h"

namespace vorn {

namespace {

template <typename T> T* Add(std::vector<std::unique_ptr<MapTool>>& owned, ToolContext& context)
{
    auto tool = std::make_unique<T>(context);
    T* raw = tool.get();
    owned.push_back(std::move(tool));
    return raw;
}

} // namespace

ToolBox::ToolBox(ToolContext context, QObject* parent)
    : QObject(parent)
    , context_(std::move(context))
{
    // The toolbar's tools, in button order.
    pencil_ = Add<PencilTool>(owned_, context_);
    choosable_ = {pencil_, Add<RectangleTool>(owned_, context_), Add<FillTool>(owned_, context_)};
    select_ = Add<SelectTool>(owned_, context_);
    choosable_.push_back(select_);
    // Tools the pointer reaches without a button.
    paste_ = Add<FloatingPasteTool>(owned_, context_);
    capture_ = Add<CaptureTool>(owned_, context_);
    entityDrag_ = Add<EntityDragTool>(owned_, context_);
    pan_ = Add<PanTool>(owned_, context_);
}

ToolBox::~ToolBox() = default;

std::vector<MapTool*> ToolBox::all() const
{
    std::vector<MapTool*> tools;
    for (const auto& tool : owned_)
        tools.push_back(tool.get());
    return tools;
}

void ToolBox::choose(int index)
{
    if (index < 0 || index >= int(choosable_.size()))
        return;
    cancel();
    chosen_ = index;
    emit chosenChanged(index);
}

bool ToolBox::press(const ToolEvent& event)
{
    if (paste_->press(event))
        return true;
    if (capture_->press(event))
        return true;
    return current().press(event);
}

void ToolBox::move(const ToolEvent& event)
{
    paste_->move(event);
    capture_->move(event);
    current().move(event);
}

void ToolBox::release(const ToolEvent& event)
{
    capture_->release(event);
    current().release(event);
}

void ToolBox::cancel()
{
    for (MapTool* tool : all())
        tool->cancel();
}

void ToolBox::cancelDrags()
{
    for (MapTool* tool : all())
        if (tool != paste_)
            tool->cancel();
}

bool ToolBox::dragging() const
{
    for (MapTool* tool : all())
        if (tool != paste_ && tool->active())
            return true;
    return false;
}

std::optional<QRect> ToolBox::regionFrame() const
{
    if (capture_->active())
        return capture_->dragFrame();
    if (&current() != select_)
        return current().dragFrame();
    return std::nullopt;
}

void ToolBox::drawPreview(QImage& target, const QRect& area, int zoom) const
{
    if (paste_->active())
        paste_->drawPreview(target, area, zoom);
    else
        current().drawPreview(target, area, zoom);
}

QRect ToolBox::previewCells() const { return paste_->active() ? paste_->previewCells() : current().previewCells(); }

QString ToolBox::status() const { return current().status(); }

} // namespace vorn
