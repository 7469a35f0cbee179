#include "frmVorn.h"

#include "cellmath.h"

#include "entitymarker.h"
#include "mapview.h"
#include "markerdrawing.h"
#include "numtext.h"
#include "entitydrag.h"
#include "stagedocument.h"
#include "toolbox.h"

#include <QCheckBox>
#include <QCursor>
#include <QLabel>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

// Entity markers: one per EntityRecord, laid over the map cell the record
// names.

using vorn::FloorDiv;
using vorn::kPaletteSide;
using vorn::kTileSide;

namespace {

constexpr int kParked = -32;

} // namespace

// Markers from the entity count on are parked and always hidden: a parked marker
// that could be seen (at zoom 56 and 64 it reaches into the map's corner)
// could be pointed at and select an entity beyond the count.
void frmVorn::PositionEntities()
{
    const int zoom = ZoomSize_;
    const qint16 count = stage_->entityCount();
    const int placed = std::clamp<int>(count, 0, vorn::kMaxEntities);
    const bool show = !chkHideEnts_->isChecked();
    for (int i = 0; i < vorn::kMaxEntities; ++i) {
        vorn::EntityMarker* marker = entity_[i];
        if (!marker)
            continue;
        if (i < placed) {
            marker->setGeometry(vorn::MarkerRect(stage_->record(i), zoom));
            marker->setVisible(show);
        } else {
            marker->setGeometry(kParked, kParked, zoom, zoom);
            marker->hide();
        }
    }
    // The selector needs a maximum of at least its minimum; with no entities
    // it stays on record 0, which is not saved.
    hsbEntity_->setMaximum(std::max(count - 1, 0));
}

// Marker `index`, its pointer going to the entity handlers.
vorn::EntityMarker* frmVorn::NewMarker(int index)
{
    if (!markerHooks_) {
        auto hooks = std::make_shared<vorn::MarkerHooks>();
        hooks->drawsSprite = [this](int i) { return DrawsSprite(i); };
        hooks->picked = [this](int i) { return PickedEntity() == i; };
        hooks->toolTip = [this](int i) { return EntityToolTip(i); };
        hooks->passPresses = [this] { return SpaceHeld(); };
        markerHooks_ = hooks;
    }
    auto* marker = new vorn::EntityMarker(markerHooks_, index, picMap_);
    marker->setObjectName(QStringLiteral("entity%1").arg(index));
    connect(marker, &vorn::EntityMarker::pressed, this, &frmVorn::entity_MouseDown);
    connect(marker, &vorn::EntityMarker::moved, this, &frmVorn::entity_MouseMove);
    connect(marker, &vorn::EntityMarker::released, this, &frmVorn::entity_MouseUp);
    connect(marker, &vorn::EntityMarker::doubleClicked, this, [this](int index) {
        if (Pasting())
            return;
        const int picked = editing_->picked();
        EditEntity(picked >= 0 && picked < stage_->entityCount() ? picked : index);
    });
    return marker;
}

void frmVorn::entity_MouseMove(int index, int button, int shift, int x, int y)
{
    if (index < 0 || index >= vorn::kMaxEntities || !entity_[index])
        return;
    vorn::EntityMarker* marker = entity_[index];

    // The cell cursor and position read-out follow the marker's cell; a
    // floating copy follows it too.
    picMap_MouseMove(0, 0, marker->x(), marker->y());

    // Rebuilds the inspector (synchronously) when the selection changes.
    // With "Pick by click" the selector stays on the picked entity.
    if (!PickByClick())
        hsbEntity_->setValue(index);

    if (button != 1)
        return;
    // The document moves the record; its signal moves the marker.
    const int zoom = ZoomSize_;
    tools_->entityDrag().move({QPoint(FloorDiv(marker->x() + x, zoom), FloorDiv(marker->y() + y, zoom)), button,
                               (shift & 1) != 0, QCursor::pos()});
}

void frmVorn::entity_MouseDown(int index, int button, int, int x, int y)
{
    stage_->finishEdit(); // a drag whose release was missed ends here
    if (index < 0 || index >= vorn::kMaxEntities || !entity_[index])
        return;
    // A floating copy lands where the pointer is, over a marker too.
    if (button == 1 && Pasting()) {
        const vorn::EntityMarker* marker = entity_[index];
        editing_->moveFloating(QPoint(FloorDiv(marker->x() + x, ZoomSize_), FloorDiv(marker->y() + y, ZoomSize_)));
        PlacePaste();
        return;
    }
    if (button == 1) {
        PickAt(index);
        tools_->entityDrag().press({QPoint(), 1, false, QCursor::pos()});
    }
    // The pointer's arrival on the marker has already selected its entity.
    if (button == 2)
        cmdEditEnt_Click();
}

void frmVorn::entity_MouseUp(int, int, int, int, int)
{
    tools_->entityDrag().release({});
    stage_->finishEdit(); // the drag becomes one step
}

// The entities whose cell is `cell`, in record order.
std::vector<int> frmVorn::EntitiesOnCell(QPoint cell) const
{
    std::vector<int> found;
    for (int i = 0; i < stage_->entityCount(); ++i) {
        const vorn::EntityRecord& r = stage_->record(i);
        if (r.X == cell.x() && r.Y == cell.y())
            found.push_back(i);
    }
    return found;
}

// A press on a marker picks its entity; on the picked entity's cell it
// picks the next entity there, in record order and going round, so every
// one of a stack can be reached.
void frmVorn::PickAt(int index)
{
    if (index < 0 || index >= stage_->entityCount())
        return;
    const vorn::EntityRecord& pressed = stage_->record(index);
    const QPoint cell(pressed.X, pressed.Y);
    const int picked = PickedEntity();
    if (picked >= 0 && QPoint(stage_->record(picked).X, stage_->record(picked).Y) == cell) {
        const std::vector<int> stack = EntitiesOnCell(cell);
        const auto at = std::find(stack.begin(), stack.end(), picked);
        if (stack.size() > 1 && at != stack.end()) {
            Pick(*(std::next(at) == stack.end() ? stack.begin() : std::next(at)));
            lblStatus_->setText(QStringLiteral("Picked %1 (%2 of %3 on this cell)")
                                    .arg(EntityCaption(PickedEntity()))
                                    .arg(std::find(stack.begin(), stack.end(), PickedEntity()) - stack.begin() + 1)
                                    .arg(stack.size()));
            return;
        }
    }
    Pick(index);
}

void frmVorn::Pick(int index)
{
    const int before = editing_->picked();
    editing_->setPicked(index);
    for (const int i : {before, index})
        if (i >= 0 && i < vorn::kMaxEntities && entity_[i])
            entity_[i]->update(); // the outline of the picked one
    if (index < 0 || index >= stage_->entityCount())
        return;
    // The selector reports only a change; the entity it already rests on
    // (also before any selection) is shown by hand.
    if (hsbEntity_->value() == index)
        hsbEntity_Change();
    else
        hsbEntity_->setValue(index);
}

bool frmVorn::PickByClick() const { return chkPickByClick_ && chkPickByClick_->isChecked(); }

void frmVorn::chkHideEnts_Click()
{
    const bool show = !chkHideEnts_->isChecked();
    for (int i = 0; i < vorn::kMaxEntities; ++i) {
        if (entity_[i])
            entity_[i]->setVisible(show && i < stage_->entityCount());
    }
}

void frmVorn::cmdChangEntCt_Click()
{
    const std::optional<QString> answer =
        InputBox(QStringLiteral("Enter desired number of entities."), QString::number(stage_->entityCount()));
    // Cancel, an empty answer and one that starts with no number all read 0.
    const double count = std::floor(answer ? vorn::Val(*answer) : 0.0);
    if (count == 0)
        return;
    if (!(count >= 1 && count <= vorn::kMaxEntities)) {
        // The game has room for no more.
        ShowMessage(QStringLiteral("The number of entities must be from 1 to %1.").arg(vorn::kMaxEntities),
                    QMessageBox::Warning);
        return;
    }
    stage_->changeEntityCount(qint16(count));
}
