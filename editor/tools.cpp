#include "frmVorn.h"

#include "cellmath.h"

#include "mapview.h"
#include "shapeframe.h"
#include "stagedocument.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QShortcut>
#include <QToolButton>
#include <algorithm>

// The tile tools beside the designed pencil: rectangle, fill and select, a
// brush of one tile or of a block, and the frames that show a drag. With the
// pencil checked and a one-tile brush, the map behaves exactly as designed.

using vorn::FloorDiv;
using vorn::kPaletteSide;
using vorn::kTileSide;

namespace {

constexpr int kToolLeft = 504; // right of "About"
constexpr int kToolSide = 21;

// A small picture per tool, drawn here so the program needs no files.
QIcon ToolIcon(frmVorn::Tool tool)
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setPen(Qt::black);
    switch (tool) {
    case frmVorn::Tool::Pencil:
        p.drawLine(3, 12, 12, 3);
        p.drawLine(4, 13, 13, 4);
        p.fillRect(2, 12, 2, 2, Qt::black);
        break;
    case frmVorn::Tool::Rectangle:
        p.fillRect(3, 4, 11, 8, QColor(96, 96, 255));
        p.drawRect(3, 4, 10, 7);
        break;
    case frmVorn::Tool::Fill:
        p.drawRect(4, 5, 7, 8);
        p.fillRect(5, 9, 6, 4, QColor(96, 96, 255));
        p.drawLine(11, 7, 13, 10);
        break;
    case frmVorn::Tool::Select:
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.drawRect(2, 3, 11, 9);
        break;
    }
    return QIcon(picture);
}

} // namespace

void frmVorn::BuildTools()
{
    const struct {
        Tool tool;
        const char* name;
        const char* tip;
    } kTools[] = {
        {Tool::Pencil, "cmdPencil", "Pencil: paint the brush where you press and drag (B)"},
        {Tool::Rectangle, "cmdRectangle", "Rectangle: drag to fill a rectangle with the brush (P)"},
        {Tool::Fill, "cmdFill", "Fill: fill the connected cells of one tile; Shift replaces that tile everywhere (F)"},
        {Tool::Select, "cmdSelect", "Select: drag to select cells; Ctrl+A selects the whole map (R)"},
    };
    int x = kToolLeft;
    for (const auto& entry : kTools) {
        auto* button = new QToolButton(picToolbar);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setIcon(ToolIcon(entry.tool));
        button->setToolTip(QString::fromLatin1(entry.tip));
        button->setGeometry(x, 2, kToolSide, kToolSide);
        x += kToolSide;
        const Tool tool = entry.tool;
        connect(button, &QToolButton::clicked, this, [this, tool] { SetTool(tool); });
        toolButtons_[size_t(tool)] = button;
    }
    toolButtons_[size_t(Tool::Pencil)]->setChecked(true);

    shpRegion_ = new vorn::ShapeFrame(picMap, QColor(255, 255, 0));
    shpRegion_->setObjectName(QStringLiteral("shpRegion"));
    shpRegion_->hide();
    shpSelection_ = new vorn::ShapeFrame(picMap, Qt::white, true);
    shpSelection_->setObjectName(QStringLiteral("shpSelection"));
    shpSelection_->hide();

    BindKey(QKeySequence(Qt::Key_B), [this] { SetTool(Tool::Pencil); });
    BindKey(QKeySequence(Qt::Key_P), [this] { SetTool(Tool::Rectangle); });
    BindKey(QKeySequence(Qt::Key_F), [this] { SetTool(Tool::Fill); });
    BindKey(QKeySequence(Qt::Key_R), [this] { SetTool(Tool::Select); });
    BindKey(QKeySequence(Qt::CTRL | Qt::Key_A), [this] { SelectAll(); });
    BindKey(QKeySequence(Qt::Key_Escape), [this] { CancelToolDrag(); });
}

// The row stops short of the caption: what does not fit is hidden.
void frmVorn::PlaceTools()
{
    const int room = imgIcon ? imgIcon->x() - 4 : picToolbar->width();
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
    tool_ = tool;
    for (size_t i = 0; i < toolButtons_.size(); ++i)
        toolButtons_[i]->setChecked(i == size_t(tool));
}

vorn::TileBlock frmVorn::Brush() const
{
    return brushBlock_.valid() ? brushBlock_ : vorn::TileBlock::One(SelectedTile);
}

void frmVorn::UseOneTileBrush()
{
    if (!brushBlock_.valid())
        return;
    brushBlock_ = {};
    shpTile->resize(17, 17);
}

void frmVorn::SelectAll()
{
    if (!stage_->isOpen() || stage_->width() <= 0 || stage_->height() <= 0)
        return;
    selection_ = QRect(0, 0, stage_->width(), stage_->height());
    PlaceRegionFrames();
}

void frmVorn::CancelToolDrag()
{
    drag_ = Drag::None;
    if (floating_) {
        floating_.reset();
        picMap->update();
    }
    PlaceRegionFrames();
}

// The cells from the drag's first cell to `cell`, both included.
QRect frmVorn::DragRect(const QPoint& cell) const
{
    return QRect(regionStart_, cell).normalized();
}

void frmVorn::PlaceRegionFrames()
{
    const int z = ZoomSize;
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
    const bool mapDrag = drag_ == Drag::Rectangle || drag_ == Drag::Capture;
    place(shpRegion_, mapDrag    ? std::optional<QRect>(DragRect(dragCell_))
                      : floating_ ? std::optional<QRect>(FloatingRect())
                                  : std::nullopt);
    place(shpSelection_, drag_ == Drag::Select ? std::optional<QRect>(DragRect(dragCell_)) : selection_);
}

// Presses the tools take from the designed handlers; true when taken.
bool frmVorn::ToolMouseDown(int button, int shift, int x, int y)
{
    const QPoint cell(FloorDiv(x, ZoomSize), FloorDiv(y, ZoomSize));
    const bool onMap = cell.x() >= 0 && cell.x() < stage_->width() && cell.y() >= 0 && cell.y() < stage_->height();
    const bool withShift = (shift & 1) != 0;
    if (floating_ && button == 1) {
        if (onMap)
            PlacePaste();
        return true;
    }
    if (!onMap)
        return tool_ != Tool::Pencil && button == 1;
    if (button == 2 && withShift) { // a block of the map becomes the brush
        regionStart_ = dragCell_ = cell;
        drag_ = Drag::Capture;
        PlaceRegionFrames();
        return true;
    }
    if (button != 1 || tool_ == Tool::Pencil)
        return false;
    switch (tool_) {
    case Tool::Rectangle:
        regionStart_ = dragCell_ = cell;
        drag_ = Drag::Rectangle;
        break;
    case Tool::Fill:
        if (withShift)
            stage_->replaceAll(stage_->cell(cell.x(), cell.y()), Brush(), std::nullopt);
        else
            stage_->fill(cell.x(), cell.y(), Brush(), selection_);
        break;
    case Tool::Select:
        regionStart_ = dragCell_ = cell;
        drag_ = Drag::Select;
        break;
    case Tool::Pencil:
        break;
    }
    PlaceRegionFrames();
    return true;
}

void frmVorn::ToolMouseMove(int x, int y)
{
    if (floating_) {
        // The copy follows the pointer's cell; the view shows it anew.
        const QRect before = FloatingRect();
        const QPoint cell(FloorDiv(x, ZoomSize), FloorDiv(y, ZoomSize));
        if (cell.x() >= 0 && cell.y() >= 0 && cell.x() < stage_->width() && cell.y() < stage_->height()) {
            cursorCell_ = cell;
            const int z = ZoomSize;
            picMap->update(QRect(before.x() * z, before.y() * z, before.width() * z, before.height() * z));
            const QRect now = FloatingRect();
            picMap->update(QRect(now.x() * z, now.y() * z, now.width() * z, now.height() * z));
            PlaceRegionFrames();
        }
    }
    if (drag_ == Drag::None)
        return;
    const int w = stage_->width(), h = stage_->height();
    dragCell_ = QPoint(std::clamp(FloorDiv(x, ZoomSize), 0, std::max(w - 1, 0)),
                       std::clamp(FloorDiv(y, ZoomSize), 0, std::max(h - 1, 0)));
    PlaceRegionFrames();
    if (drag_ == Drag::Select) {
        const QRect r = DragRect(dragCell_);
        lblStatus->setText(QStringLiteral("Selection %1 x %2").arg(r.width()).arg(r.height()));
    }
}

void frmVorn::ToolMouseUp()
{
    const Drag drag = drag_;
    drag_ = Drag::None;
    const QRect cells = DragRect(dragCell_);
    switch (drag) {
    case Drag::Rectangle:
        stage_->paintRegion(cells, Brush());
        break;
    case Drag::Capture:
        if (cells.width() * cells.height() == 1) {
            UseOneTileBrush();
            SelectedTile = stage_->cell(cells.x(), cells.y());
            shpTile->move((SelectedTile & 15) * kTileSide, (SelectedTile >> 4) * kTileSide);
        } else {
            brushBlock_ = stage_->copyBlock(cells);
            SelectedTile = brushBlock_.at(0, 0);
        }
        break;
    case Drag::Select:
        // A click selects nothing: outside the selection it clears it.
        if (cells.width() * cells.height() == 1 && !(selection_ && selection_->contains(cells.topLeft())))
            selection_.reset();
        else if (cells.width() * cells.height() > 1)
            selection_ = cells;
        break;
    default:
        break;
    }
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
    shpTile->setGeometry(r.x() * kTileSide, r.y() * kTileSide, r.width() * kTileSide + 1, r.height() * kTileSide + 1);
    return true;
}

bool frmVorn::PaletteBlockUp()
{
    if (!paletteDrag_)
        return false;
    paletteDrag_ = false;
    const QRect r = QRect(paletteStart_, paletteEnd_).normalized();
    SelectedTile = quint8(r.x() + kPaletteSide * r.y());
    if (r.width() * r.height() == 1) {
        UseOneTileBrush();
        shpTile->move(r.x() * kTileSide, r.y() * kTileSide);
        return true;
    }
    vorn::TileBlock block{r.width(), r.height(), {}};
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            block.tiles.push_back(quint8(x + kPaletteSide * y));
    brushBlock_ = std::move(block);
    return true;
}
