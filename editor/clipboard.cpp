#include "frmVorn.h"

#include "mapview.h"
#include "shapeframe.h"
#include "stagedocument.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QStringList>
#include <algorithm>

// Copy, cut and paste of cells with the entities standing on them, and the
// entity commands (Insert, Delete, Ctrl+D). Copies go on the system
// clipboard as plain text, so they paste into another stage or another
// running Vorn:
//
//   Vorn cells 1
//   <width> <height>
//   <height lines of width tile numbers, 0 to 255>
//   entities <n>
//   <n lines: x y flag event type bits, x and y from the block's top-left>

namespace {

const QString kHeader = QStringLiteral("Vorn cells 1");

bool Number(const QString& text, int low, int high, int& out)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < low || value > high)
        return false;
    out = value;
    return true;
}

} // namespace

QString CellsClip::toText() const
{
    QStringList lines{kHeader, QStringLiteral("%1 %2").arg(cells.width).arg(cells.height)};
    for (int y = 0; y < cells.height; ++y) {
        QStringList row;
        for (int x = 0; x < cells.width; ++x)
            row << QString::number(cells.at(x, y));
        lines << row.join(u' ');
    }
    lines << QStringLiteral("entities %1").arg(entities.size());
    for (const vorn::EntityRecord& e : entities)
        lines << QStringLiteral("%1 %2 %3 %4 %5 %6").arg(e.X).arg(e.Y).arg(e.Flag).arg(e.TSC).arg(e.Type).arg(e.Unknown);
    return lines.join(u'\n') + u'\n';
}

std::optional<CellsClip> CellsClip::fromText(const QString& text)
{
    const QStringList lines = text.split(u'\n');
    qsizetype at = 0;
    const auto next = [&]() { return at < lines.size() ? lines[at++].trimmed() : QString(); };
    if (next() != kHeader)
        return std::nullopt;
    CellsClip clip;
    const QStringList size = next().split(u' ', Qt::SkipEmptyParts);
    if (size.size() != 2 || !Number(size[0], 1, vorn::kMaxMapSide, clip.cells.width) ||
        !Number(size[1], 1, vorn::kMaxMapSide, clip.cells.height))
        return std::nullopt;
    clip.cells.tiles.reserve(size_t(clip.cells.width) * size_t(clip.cells.height));
    for (int y = 0; y < clip.cells.height; ++y) {
        const QStringList row = next().split(u' ', Qt::SkipEmptyParts);
        if (row.size() != clip.cells.width)
            return std::nullopt;
        for (const QString& cell : row) {
            int tile = 0;
            if (!Number(cell, 0, 255, tile))
                return std::nullopt;
            clip.cells.tiles.push_back(quint8(tile));
        }
    }
    const QStringList count = next().split(u' ', Qt::SkipEmptyParts);
    int n = 0;
    if (count.size() != 2 || count[0] != u"entities" || !Number(count[1], 0, vorn::kMaxEntities, n))
        return std::nullopt;
    for (int i = 0; i < n; ++i) {
        const QStringList fields = next().split(u' ', Qt::SkipEmptyParts);
        int v[6];
        if (fields.size() != 6)
            return std::nullopt;
        for (int f = 0; f < 6; ++f) {
            if (!Number(fields[f], -32768, 32767, v[f]))
                return std::nullopt;
        }
        clip.entities.push_back({qint16(v[0]), qint16(v[1]), qint16(v[2]), qint16(v[3]), qint16(v[4]), qint16(v[5])});
    }
    return clip;
}

void frmVorn::InstallEditKeys()
{
    // Each needs an open stage to work on.
    const auto bind = [this](const QKeySequence& keys, const std::function<void()>& action) {
        BindKey(keys, [this, action] {
            if (stage_->isOpen())
                action();
        });
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_C), [this] { CopySelection(); });
    bind(QKeySequence(Qt::CTRL | Qt::Key_X), [this] {
        if (CopySelection())
            stage_->clearRegion(*selection_, true);
    });
    bind(QKeySequence(Qt::CTRL | Qt::Key_V), [this] { StartPaste(); });
    bind(QKeySequence(Qt::Key_Delete), [this] {
        if (selection_)
            stage_->clearRegion(*selection_, true);
        else if (SelectedEntity() >= 0 && SelectedEntity() < stage_->entityCount())
            stage_->removeEntity(SelectedEntity());
    });
    bind(QKeySequence(Qt::Key_Insert), [this] {
        // A text box (the find bar's) keeps Insert, which it does not claim.
        if (qobject_cast<QLineEdit*>(QApplication::focusWidget()))
            return;
        InsertEntity(cursorCell_, 0);
    });
    bind(QKeySequence(Qt::CTRL | Qt::Key_D), [this] {
        const int selected = SelectedEntity();
        if (selected < 0 || selected >= stage_->entityCount())
            return;
        const vorn::EntityRecord& r = stage_->record(selected);
        InsertEntity(QPoint(r.X, r.Y), 1);
    });
}

bool frmVorn::CopySelection()
{
    if (!selection_)
        return false;
    CellsClip clip;
    clip.cells = stage_->copyBlock(*selection_);
    for (const int i : stage_->entitiesIn(*selection_)) {
        vorn::EntityRecord e = stage_->record(i);
        e.X = qint16(e.X - selection_->x());
        e.Y = qint16(e.Y - selection_->y());
        clip.entities.push_back(e);
    }
    QApplication::clipboard()->setText(clip.toText());
    lblStatus->setText(QStringLiteral("Copied %1 x %2 cells and %3 entities")
                           .arg(clip.cells.width)
                           .arg(clip.cells.height)
                           .arg(clip.entities.size()));
    return true;
}

void frmVorn::StartPaste()
{
    std::optional<CellsClip> clip = CellsClip::fromText(QApplication::clipboard()->text());
    if (!clip) {
        lblStatus->setText(QStringLiteral("The clipboard holds no cells copied in Vorn."));
        return;
    }
    CancelToolDrag();
    floating_ = std::move(*clip);
    lblStatus->setText(QStringLiteral("Click to place the copy; Escape drops it."));
    PlaceRegionFrames();
    picMap->update();
}

// Where the floating copy stands: its top-left on the cell under the pointer.
QRect frmVorn::FloatingRect() const
{
    if (!floating_)
        return {};
    return QRect(cursorCell_, QSize(floating_->cells.width, floating_->cells.height));
}

void frmVorn::PlacePaste()
{
    if (!floating_)
        return;
    const QPoint at = cursorCell_;
    // What passes the map's edge is left out, cells and entities alike.
    std::vector<vorn::EntityRecord> entities;
    for (vorn::EntityRecord e : floating_->entities) {
        e.X = qint16(e.X + at.x());
        e.Y = qint16(e.Y + at.y());
        if (e.X < stage_->width() && e.Y < stage_->height())
            entities.push_back(e);
    }
    const vorn::Outcome pasted = stage_->pasteBlock(at, floating_->cells, entities);
    floating_.reset();
    PlaceRegionFrames();
    picMap->update();
    if (!pasted.ok())
        ShowMessage(pasted.refusal(), QMessageBox::Warning);
}

// The copy drawn under the pointer as it would land, tiles as the palette
// shows them, before it is placed.
void frmVorn::DrawFloating(QImage& target, const QRect& area) const
{
    if (!floating_)
        return;
    const int z = ZoomSize;
    const QRect cells = FloatingRect();
    const QImage& tiles = stage_->tileset();
    QPainter painter(&target);
    painter.translate(-area.topLeft());
    painter.setOpacity(0.75);
    for (int y = 0; y < cells.height(); ++y) {
        for (int x = 0; x < cells.width(); ++x) {
            const QRect to((cells.x() + x) * z, (cells.y() + y) * z, z, z);
            if (!to.intersects(area))
                continue;
            const quint8 t = floating_->cells.at(x, y);
            painter.drawImage(to, tiles, QRect((t & 15) * 16, (t >> 4) * 16, 16, 16));
        }
    }
}

void frmVorn::InsertEntity(const QPoint& cell, int right)
{
    // A copy of the selected entity's kind, or type 0 when none is selected.
    vorn::EntityRecord record{};
    if (const int selected = SelectedEntity(); selected >= 0 && selected < stage_->entityCount())
        record = stage_->record(selected);
    record.X = qint16(std::clamp(cell.x() + right, 0, 32767));
    record.Y = qint16(std::clamp(cell.y(), 0, 32767));
    const int index = stage_->entityCount();
    if (const vorn::Outcome inserted = stage_->insertEntity(index, record); !inserted.ok()) {
        ShowMessage(inserted.refusal(), QMessageBox::Warning);
        return;
    }
    hsbEntity->setValue(index);
    hsbEntity_Change(); // shown even when it was the selected index already
}
