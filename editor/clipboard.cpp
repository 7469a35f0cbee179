#include "frmVorn.h"

#include "floatingpaste.h"
#include "mapview.h"
#include "stagedocument.h"
#include "toolbox.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <algorithm>

// Copy, cut and paste of cells with the entities standing on them (the text
// form is formats/cellsclip.h), and the entity commands (Insert, Delete,
// Ctrl+D), which act on the picked entity.

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
        const std::optional<QRect> selection = Selection();
        if (!CopySelection())
            return;
        if (selection)
            stage_->clearRegion(*selection, true);
        else
            RemovePickedEntity(QStringLiteral("Cut"));
    });
    bind(QKeySequence(Qt::CTRL | Qt::Key_V), [this] { StartPaste(); });
    bind(QKeySequence(Qt::Key_Delete), [this] {
        if (Selection())
            stage_->clearRegion(*Selection(), true);
        else
            RemovePickedEntity(QStringLiteral("Deleted"));
    });
    bind(QKeySequence(Qt::Key_Insert), [this] {
        // A text box (the find bar's) keeps Insert, which it does not claim.
        if (qobject_cast<QLineEdit*>(QApplication::focusWidget()))
            return;
        InsertEntity(cursorCell_, 0);
    });
    bind(QKeySequence(Qt::CTRL | Qt::Key_D), [this] {
        const int picked = PickedEntity();
        if (picked < 0) {
            lblStatus_->setText(kNothingPicked);
            return;
        }
        const vorn::EntityRecord& r = stage_->record(picked);
        InsertEntity(QPoint(r.X, r.Y), 1);
    });
}

const QString frmVorn::kNothingPicked = QStringLiteral("No entity is picked: click an entity's marker first.");

// "entity 132, Puppy": the entity as the status texts name it.
QString frmVorn::EntityCaption(int index) const
{
    const vorn::EntityRecord& r = stage_->record(index);
    const bool named = r.Type >= 0 && r.Type < int(EntityNames_.size()) && !EntityNames_[r.Type].isEmpty();
    return QStringLiteral("entity %1").arg(index) + (named ? QStringLiteral(", ") + EntityNames_[r.Type] : QString());
}

void frmVorn::RemovePickedEntity(const QString& verb)
{
    const int picked = PickedEntity();
    if (picked < 0) {
        lblStatus_->setText(kNothingPicked);
        return;
    }
    const QString caption = EntityCaption(picked);
    stage_->removeEntity(picked);
    editing_->setPicked(-1);
    lblStatus_->setText(verb + u' ' + caption);
}

int frmVorn::PickedEntity() const
{
    const int picked = editing_->picked();
    return picked >= 0 && picked < stage_->entityCount() ? picked : -1;
}

bool frmVorn::CopySelection()
{
    vorn::CellsClip clip;
    const std::optional<QRect> selection = Selection();
    if (selection) {
        clip.cells = stage_->copyBlock(*selection);
        for (const int i : stage_->entitiesIn(*selection)) {
            vorn::EntityRecord e = stage_->record(i);
            e.X = qint16(e.X - selection->x());
            e.Y = qint16(e.Y - selection->y());
            clip.entities.push_back(e);
        }
    } else if (const int picked = PickedEntity(); picked >= 0) {
        // No selection: the picked entity with the cell it stands on.
        vorn::EntityRecord e = stage_->record(picked);
        const QRect cell(e.X, e.Y, 1, 1);
        if (!QRect(0, 0, stage_->width(), stage_->height()).contains(cell.topLeft()))
            return false;
        clip.cells = stage_->copyBlock(cell);
        e.X = e.Y = 0;
        clip.entities.push_back(e);
    } else {
        return false;
    }
    if (game_.hasStage(stage_->index()))
        clip.tileset = vorn::DecodeAnsi(vorn::CutAtNull(game_.table[size_t(stage_->index())].tileset()));
    QApplication::clipboard()->setText(clip.toText());
    lblStatus_->setText(QStringLiteral("Copied %1 x %2 cells and %3 entities")
                            .arg(clip.cells.width)
                            .arg(clip.cells.height)
                            .arg(clip.entities.size()));
    return true;
}

void frmVorn::StartPaste()
{
    const QString text = QApplication::clipboard()->text();
    if (text.size() > vorn::kMaxClipText) {
        lblStatus_->setText(QStringLiteral("The clipboard holds too much to paste."));
        return;
    }
    std::optional<vorn::CellsClip> clip = vorn::CellsClip::fromText(text);
    if (!clip) {
        lblStatus_->setText(QStringLiteral("The clipboard holds no cells copied in Vorn."));
        return;
    }
    CancelToolDrag();
    editing_->moveFloating(cursorCell_);
    editing_->setFloating(std::move(*clip));
    lblStatus_->setText(QStringLiteral("Click to place the copy; Escape drops it."));
}

void frmVorn::PlacePaste()
{
    if (!Pasting())
        return;
    editing_->moveFloating(cursorCell_);
    tools_->paste().place();
}

void frmVorn::InsertEntity(const QPoint& cell, int right)
{
    // A copy of the picked entity's kind, or type 0 when none is picked.
    vorn::EntityRecord record{};
    const int picked = PickedEntity();
    if (picked >= 0)
        record = stage_->record(picked);
    record.X = qint16(std::clamp(cell.x() + right, 0, 32767));
    record.Y = qint16(std::clamp(cell.y(), 0, 32767));
    const int index = stage_->entityCount();
    if (const vorn::Outcome inserted = stage_->insertEntity(index, record); !inserted.ok()) {
        ShowMessage(inserted.refusal(), QMessageBox::Warning);
        return;
    }
    Pick(index); // shown even when it was the selected index already
    lblStatus_->setText((right ? QStringLiteral("Duplicated as ") : QStringLiteral("Inserted ")) +
                        EntityCaption(index));
}
