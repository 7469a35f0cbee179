#include "frmVorn.h"

#include "cellmath.h"

#include "entitymarker.h"
#include "markerdrawing.h"
#include "numtext.h"
#include "stagedocument.h"

#include <QCheckBox>
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
    const int zoom = ZoomSize;
    const qint16 count = stage_->entityCount();
    const int placed = std::clamp<int>(count, 0, vorn::kMaxEntities);
    const bool show = !chkHideEnts->isChecked();
    for (int i = 0; i < vorn::kMaxEntities; ++i) {
        vorn::EntityMarker* marker = entity[i];
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
    hsbEntity->setMaximum(std::max(count - 1, 0));
}

void frmVorn::entity_MouseMove(int index, int button, int, int x, int y)
{
    if (index < 0 || index >= vorn::kMaxEntities || !entity[index])
        return;
    vorn::EntityMarker* marker = entity[index];

    // The cell cursor and position read-out follow the marker's cell.
    picMap_MouseMove(0, 0, marker->x(), marker->y());

    // Rebuilds the inspector (synchronously) when the selection changes.
    hsbEntity->setValue(index);

    if (button != 1)
        return;
    // The document moves the record; its signal moves the marker.
    const int zoom = ZoomSize;
    const int cx = std::max(FloorDiv(marker->x() + x, zoom), 0);
    const int cy = std::max(FloorDiv(marker->y() + y, zoom), 0);
    stage_->moveEntity(index, std::min(cx, 32767), std::min(cy, 32767));
}

void frmVorn::entity_MouseDown(int, int button, int, int, int)
{
    stage_->finishEdit(); // a drag whose release was missed ends here
    // The pointer's arrival on the marker has already selected its entity.
    if (button == 2)
        cmdEditEnt_Click();
}

void frmVorn::entity_MouseUp(int, int, int, int, int)
{
    stage_->finishEdit(); // the drag becomes one step
}

void frmVorn::chkHideEnts_Click()
{
    const bool show = !chkHideEnts->isChecked();
    for (int i = 0; i < vorn::kMaxEntities; ++i) {
        if (entity[i])
            entity[i]->setVisible(show && i < stage_->entityCount());
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
        // There are only 256 markers and records to use.
        ShowMessage(QStringLiteral("The number of entities must be from 1 to 256."),
                    QMessageBox::Warning);
        return;
    }
    stage_->changeEntityCount(qint16(count));
}
