#pragma once
// The map's tools and which one is chosen. The pointer goes to a floating
// copy first, then to a Shift+right capture, then to the chosen tool; the
// toolbar and its keys are built from choosable(), so a new tool is one
// class added in the constructor.
#include "maptool.h"

#include <QObject>
#include <memory>
#include <vector>

namespace vorn {

class CaptureTool;
class EntityDragTool;
class FloatingPasteTool;
class PanTool;
class PencilTool;
class SelectTool;

class ToolBox : public QObject {
    Q_OBJECT
public:
    explicit ToolBox(ToolContext context, QObject* parent = nullptr);
    ~ToolBox() override;

    // The toolbar's tools in button order; the first is the pencil.
    const std::vector<MapTool*>& choosable() const { return choosable_; }
    int chosen() const { return chosen_; }
    MapTool& current() const { return *choosable_[size_t(chosen_)]; }
    void choose(int index);

    PencilTool& pencil() const { return *pencil_; }
    SelectTool& select() const { return *select_; }
    FloatingPasteTool& paste() const { return *paste_; }
    CaptureTool& capture() const { return *capture_; }
    EntityDragTool& entityDrag() const { return *entityDrag_; }
    PanTool& pan() const { return *pan_; }

    // True when a tool took the press.
    bool press(const ToolEvent& event);
    void move(const ToolEvent& event);
    void release(const ToolEvent& event);
    // Escape: every drag and the floating copy end.
    void cancel();
    // Drags end; a floating copy stays.
    void cancelDrags();
    bool dragging() const;
    // The frame of the region drag under way (rectangle or capture).
    std::optional<QRect> regionFrame() const;
    void drawPreview(QImage& target, const QRect& area, int zoom) const;
    QRect previewCells() const;
    QString status() const;

signals:
    void chosenChanged(int index);

private:
    std::vector<MapTool*> all() const;
    ToolContext context_;
    std::vector<std::unique_ptr<MapTool>> owned_;
    std::vector<MapTool*> choosable_;
    int chosen_ = 0;
    PencilTool* pencil_ = nullptr;
    SelectTool* select_ = nullptr;
    FloatingPasteTool* paste_ = nullptr;
    CaptureTool* capture_ = nullptr;
    EntityDragTool* entityDrag_ = nullptr;
    PanTool* pan_ = nullptr;
};

} // namespace vorn
