#pragma once
// One tool of the map behind one small interface: the window hands it the
// pointer in cells, and it works on the stage and the editing state alone,
// so each tool is tried without a window. A new tool is one class, listed
// once in ToolBox's constructor.
#include <QKeySequence>
#include <QPoint>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>

class QImage;
class QPainter;

namespace vorn {

class EditingState;
class StageDocument;

struct ToolEvent {
    QPoint cell; // the map cell under the pointer (may lie outside the map)
    int button = 0; // 1 left, 2 right, 4 middle, summed for a move
    bool shift = false;
    QPoint global; // the pointer on the screen, for the pan
};

// What a tool works on. The scroll hooks are the view's, for the pan.
struct ToolContext {
    StageDocument& stage;
    EditingState& editing;
    std::function<QPoint()> scrollPosition;
    std::function<void(QPoint)> scrollTo;
    std::function<bool()> showsSprites; // previews show entities as the map does
    std::function<QString()> tilesetName; // the open stage's, as its record names it
    // A status text; `warning` for a refusal the user must acknowledge.
    std::function<void(const QString& text, bool warning)> tell;
};

class MapTool {
public:
    explicit MapTool(ToolContext& context)
        : context_(context)
    {
    }
    virtual ~MapTool() = default;

    // The toolbar button's object name, tooltip and key; tools that are not
    // chosen from the toolbar (paste, drag, pan) leave them empty.
    virtual QString buttonName() const { return {}; }
    virtual QString toolTip() const { return {}; }
    virtual QKeySequence key() const { return {}; }
    virtual void drawIcon(QPainter&) const { }

    // True when the tool takes the press; the designed handler runs when
    // no tool does.
    virtual bool press(const ToolEvent& event) = 0;
    virtual void move(const ToolEvent&) { }
    virtual void release(const ToolEvent&) { }
    virtual void cancel() { }
    virtual bool active() const { return false; } // a drag under way
    // The cells a drag under way covers, framed while it lasts.
    virtual std::optional<QRect> dragFrame() const { return std::nullopt; }
    // Drawn over the map into `target`, whose top-left is the map's pixel
    // area.topLeft() at `zoom`; previewCells() is what it may cover, so the
    // view shows it anew where it was and where it is.
    virtual void drawPreview(QImage& /*target*/, const QRect& /*area*/, int /*zoom*/) const { }
    virtual QRect previewCells() const { return {}; }
    // What the status label says after a move; empty for nothing.
    virtual QString status() const { return {}; }

protected:
    StageDocument& stage() const;
    EditingState& editing() const;
    bool onMap(QPoint cell) const;
    void tell(const QString& text, bool warning = false) const;
    QPoint clampToMap(QPoint cell) const;
    ToolContext& context_;
};

} // namespace vorn
