#include "frmVorn.h"

#include "entitymarker.h"
#include "markerdrawing.h"
#include "numtext.h"

#include <QCheckBox>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

// Entity markers: one per EntityRecord, laid over the map cell the record
// names.

namespace {

constexpr int kParked = -32;

int FloorDiv(int value, int divisor)
{
    const int quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

} // namespace

// Markers from EntityCount on are parked and always hidden: a parked marker
// that could be seen (at zoom 56 and 64 it reaches into the map's corner)
// could be pointed at and select an entity beyond the count.
void frmVorn::PositionEntities()
{
    const int zoom = ZoomSize;
    const int placed = std::clamp<int>(EntityCount, 0, vorn::kMaxEntities);
    const bool show = !chkHideEnts->isChecked();
    for (int i = 0; i < vorn::kMaxEntities; ++i) {
        vorn::EntityMarker* marker = entity[i];
        if (!marker)
            continue;
        if (i < placed) {
            marker->setGeometry(vorn::MarkerRect(EntityRecords[i], zoom));
            marker->setVisible(show);
        } else {
            marker->setGeometry(kParked, kParked, zoom, zoom);
            marker->hide();
        }
    }
    // The selector needs a maximum of at least its minimum; with no entities
    // it stays on record 0, which is not saved.
    hsbEntity->setMaximum(std::max(EntityCount - 1, 0));
}

void frmVorn::entity_MouseMove(int index, int button, int, int x, int y)
{
    if (index < 0 || index >= vorn::kMaxEntities || !entity[index])
        return;
    vorn::EntityMarker* marker = entity[index];

    // The cell cursor and position read-out follow the marker's cell.
    picMap_MouseMove(0, 0, marker->x(), marker->y());

    // Rebuilds the inspector (synchronously) when the selection changes,
    // so it shows the record as it was before this move's drag step.
    hsbEntity->setValue(index);

    if (button != 1)
        return;
    const int zoom = ZoomSize;
    const int left = std::max(FloorDiv(marker->x() + x, zoom) * zoom, 0);
    const int top = std::max(FloorDiv(marker->y() + y, zoom) * zoom, 0);
    marker->move(left, top);
    vorn::EntityRecord& record = EntityRecords[index];
    const QPoint before(record.X, record.Y);
    record.X = qint16(std::min(left / zoom, 32767));
    record.Y = qint16(std::min(top / zoom, 32767));
    RecordDrag(index, before, QPoint(record.X, record.Y));
}

void frmVorn::entity_MouseDown(int, int button, int, int, int)
{
    FinishPendingEdits(); // a drag whose release was missed ends here
    // The pointer's arrival on the marker has already selected its entity.
    if (button == 2)
        cmdEditEnt_Click();
}

void frmVorn::entity_MouseUp(int, int, int, int, int)
{
    FinishPendingEdits(); // the drag becomes one step
}

void frmVorn::chkHideEnts_Click()
{
    const bool show = !chkHideEnts->isChecked();
    for (int i = 0; i < vorn::kMaxEntities; ++i) {
        if (entity[i])
            entity[i]->setVisible(show && i < EntityCount);
    }
}

void frmVorn::cmdChangEntCt_Click()
{
    const std::optional<QString> answer =
        InputBox(QStringLiteral("Enter desired number of entities."), QString::number(EntityCount));
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
    const qint16 before = EntityCount;
    EntityCount = qint16(count);
    PositionEntities();
    RecordEntityCount(before);
}
