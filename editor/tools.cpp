#include "frmVorn.h"

#include "cellmath.h"

#include "mapview.h"
#include "shapeframe.h"
#include "stagedocument.h"
#include "select.h"
#include "toolbox.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QToolButton>
#include <algorithm>

// The window's side of the map tools (document/tools): their toolbar
// buttons and keys, the pointer handed to them in cells, and the frames and
// previews that show them. With the pencil checked and a one-tile brush,
// the map behaves exactly as designed.

using vorn::FloorDiv;
using vorn::kPaletteSide;
using vorn::kTileSide;

namespace {

constexpr int kToolLeft = 504; // right of "About"
constexpr int kToolSide = 21;

} // namespace

void frmVorn::BuildTools()
{
    vorn::ToolContext context{*stage_, *editing_, {}, {}, {}, {}, {}};
    context.scrollPosition = [this] { return QPoint(hsbMap_->value(), vsbMap_->value()); };
    context.scrollTo = [this](QPoint value) {
        hsbMap_->setValue(value.x());
        vsbMap_->setValue(value.y());
    };
    context.showsSprites = [this] { return ShowsSprites(); };
    context.tilesetName = [this] {
        return game_.hasStage(stage_->index())
                   ? vorn::DecodeAnsi(vorn::CutAtNull(game_.table[size_t(stage_->index())].tileset()))
                   : QString();
    };
    context.tell = [this](const QString& text, bool warning) {
        if (warning)
            ShowMessage(text, QMessageBox::Warning);
        else
            lblStatus_->setText(text);
    };
    tools_ = std::make_unique<vorn::ToolBox>(std::move(context));

    int x = kToolLeft;
    const std::vector<vorn::MapTool*>& tools = tools_->choosable();
    for (size_t i = 0; i < tools.size(); ++i) {
        const vorn::MapTool* tool = tools[i];
        auto* button = new QToolButton(picToolbar_);
        button->setObjectName(tool->buttonName());
        button->setCheckable(true);
        button->setAutoRaise(true);
        // A small picture per tool, drawn so the program needs no files.
        QPixmap picture(16, 16);
        picture.fill(Qt::transparent);
        {
            QPainter p(&picture);
            p.setPen(Qt::black);
            tool->drawIcon(p);
        }
        button->setIcon(QIcon(picture));
        button->setToolTip(tool->toolTip());
        button->setGeometry(x, 2, kToolSide, kToolSide);
        x += kToolSide;
        const Tool chosen = Tool(i);
        connect(button, &QToolButton::clicked, this, [this, chosen] { SetTool(chosen); });
        BindKey(tool->key(), [this, chosen] { SetTool(chosen); });
        toolButtons_.push_back(button);
    }
    toolButtons_.front()->setChecked(true);

    shpRegion_ = new vorn::ShapeFrame(picMap_, QColor(255, 255, 0));
    shpRegion_->setObjectName(QStringLiteral("shpRegion"));
    shpRegion_->hide();
    shpSelection_ = new vorn::ShapeFrame(picMap_, Qt::white, true);
    shpSelection_->setObjectName(QStringLiteral("shpSelection"));
    shpSelection_->hide();

    connect(editing_.get(), &vorn::EditingState::selectionChanged, this, [this] { PlaceRegionFrames(); });
    connect(editing_.get(), &vorn::EditingState::floatingChanged, this, [this] {
        PlaceRegionFrames();
        ShowPreview();
    });
    connect(editing_.get(), &vorn::EditingState::brushChanged, this, [this] {
        // The palette's frame marks a one-tile brush's tile; a block's
        // frame is drawn by the palette drag that took it.
        if (!editing_->block().valid())
            FrameTiles(QRect(editing_->tile() & 15, editing_->tile() >> 4, 1, 1));
        ShowPreview();
    });

    BindKey(QKeySequence(Qt::CTRL | Qt::Key_A), [this] { SelectAll(); });
    BindKey(QKeySequence(Qt::Key_Escape), [this] { CancelToolDrag(); });
}

// The row stops short of the caption: what does not fit is hidden.
void frmVorn::PlaceTools()
{
    const int room = imgIcon_ ? imgIcon_->x() - 4 : picToolbar_->width();
    for (QToolButton* button : toolButtons_) {
        if (button)
            button->setVisible(button->geometry().right() < room);
    }
    for (QToolButton* button : {cmdEditScript_, cmdWindows_}) {
        if (button)
            button->setVisible(button->geometry().right() < room);
    }
}

void frmVorn::SetTool(Tool tool)
{
    CancelToolDrag();
    tools_->choose(int(tool));
    for (size_t i = 0; i < toolButtons_.size(); ++i)
        toolButtons_[i]->setChecked(int(i) == tools_->chosen());
    ShowPreview();
}

frmVorn::Tool frmVorn::CurrentTool() const { return Tool(tools_->chosen()); }

vorn::TileBlock frmVorn::Brush() const { return editing_->brush(); }

quint8 frmVorn::SelectedTile() const { return editing_->tile(); }

void frmVorn::SetSelectedTile(quint8 tile) { editing_->setTile(tile); }

const std::optional<QRect>& frmVorn::Selection() const { return editing_->selection(); }

bool frmVorn::Pasting() const { return editing_->floating().has_value(); }

void frmVorn::UseOneTileBrush() { editing_->useOneTile(); }

void frmVorn::SelectAll()
{
    if (!stage_->isOpen() || stage_->width() <= 0 || stage_->height() <= 0)
        return;
    editing_->setSelection(QRect(0, 0, stage_->width(), stage_->height()));
}

void frmVorn::CancelToolDrag()
{
    tools_->cancel();
    PlaceRegionFrames();
}

void frmVorn::PlaceRegionFrames()
{
    const int z = ZoomSize_;
    const auto place = [z](vorn::ShapeFrame* frame, const std::optional<QRect>& cells) {
        if (!frame)
            return;
        if (!cells) {
            frame->hide();
            return;
        }
        frame->setGeometry(cells->x() * z, cells->y() * z, cells->width() * z, cells->height() * z);
        frame->show();
        frame->raise();
    };
    std::optional<QRect> region = tools_->regionFrame();
    if (!region && Pasting())
        region = editing_->floatingRect();
    place(shpRegion_, region);
    const vorn::SelectTool& select = tools_->select();
    place(shpSelection_, select.framesSelection() ? select.dragFrame() : editing_->selection());
}

// The tools' preview (a floating copy, a block brush) is drawn where it
// was and where it is now.
void frmVorn::ShowPreview()
{
    const QRect now = tools_->previewCells();
    if (now == previewCells_)
        return;
    const int z = ZoomSize_;
    for (const QRect& cells : {previewCells_, now})
        if (!cells.isEmpty())
            picMap_->update(QRect(cells.x() * z, cells.y() * z, cells.width() * z, cells.height() * z));
    previewCells_ = now;
}

vorn::ToolEvent frmVorn::ToolEventAt(int button, int shift, int x, int y) const
{
    return {QPoint(FloorDiv(x, ZoomSize_), FloorDiv(y, ZoomSize_)), button, (shift & 1) != 0, QCursor::pos()};
}

// Presses the tools take from the designed handlers; true when taken.
bool frmVorn::ToolMouseDown(int button, int shift, int x, int y)
{
    const bool taken = tools_->press(ToolEventAt(button, shift, x, y));
    PlaceRegionFrames();
    return taken;
}

void frmVorn::ToolMouseMove(int button, int shift, int x, int y)
{
    const vorn::ToolEvent event = ToolEventAt(button, shift, x, y);
    tools_->move(event);
    ShowPreview();
    if (!tools_->dragging())
        return;
    PlaceRegionFrames();
    if (const QString said = tools_->status(); !said.isEmpty())
        lblStatus_->setText(said);
}

void frmVorn::ToolMouseUp(int button, int shift, int x, int y)
{
    tools_->release(ToolEventAt(button, shift, x, y));
    PlaceRegionFrames();
}

// Shift+drag on the palette: a block of tiles becomes the brush.
bool frmVorn::PaletteBlockDown(int shift, int x, int y)
{
    if ((shift & 1) == 0)
        return false;
    const QPoint tile(std::clamp(FloorDiv(x, kTileSide), 0, kPaletteSide - 1),
                      std::clamp(FloorDiv(y, kTileSide), 0, kPaletteSide - 1));
    paletteStart_ = paletteEnd_ = tile;
    paletteDrag_ = true;
    PaletteBlockMove(x, y);
    return true;
}

bool frmVorn::PaletteBlockMove(int x, int y)
{
    if (!paletteDrag_)
        return false;
    paletteEnd_ = QPoint(std::clamp(FloorDiv(x, kTileSide), 0, kPaletteSide - 1),
                         std::clamp(FloorDiv(y, kTileSide), 0, kPaletteSide - 1));
    const QRect r = QRect(paletteStart_, paletteEnd_).normalized();
    FrameTiles(r);
    return true;
}

bool frmVorn::PaletteBlockUp()
{
    if (!paletteDrag_)
        return false;
    paletteDrag_ = false;
    const QRect r = QRect(paletteStart_, paletteEnd_).normalized();
    if (r.width() * r.height() == 1) {
        editing_->useOneTile();
        editing_->setTile(quint8(r.x() + kPaletteSide * r.y()));
        MoveTileFrame(r.topLeft());
        return true;
    }
    vorn::TileBlock block{r.width(), r.height(), {}};
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            block.tiles.push_back(quint8(x + kPaletteSide * y));
    editing_->setBlock(std::move(block));
    return true;
}
