#include "frmVorn.h"

#include "entitieswindow.h"
#include "stagedocument.h"

#include <QApplication>
#include <QLabel>

// The Entities window and the picks and removals it asks of the main window.

void frmVorn::OpenEntitiesWindow()
{
    if (!entitiesWindow_) {
        EntitiesWindowHooks hooks;
        hooks.pick = [this](int index) {
            if (!loading_ && index >= 0 && index < stage_->entityCount())
                GoToEntity(index);
        };
        hooks.remove = [this](const std::vector<int>& indices) {
            if (loading_ || saving_ || QApplication::activeModalWidget() || indices.empty())
                return;
            const QString caption = indices.size() == 1 ? EntityCaption(indices.front())
                                                        : QStringLiteral("%1 entities").arg(indices.size());
            stage_->removeEntities(indices);
            editing_->setPicked(-1);
            lblStatus_->setText(QStringLiteral("Deleted ") + caption);
        };
        hooks.undo = [this] { UndoEdit(); };
        hooks.redo = [this] { RedoEdit(); };
        entitiesWindow_ = new EntitiesWindow(*stage_, EntityNames_, hooks, this);
        connect(editing_.get(), &vorn::EditingState::pickedChanged, entitiesWindow_, &EntitiesWindow::showPicked);
        entitiesWindow_->showPicked(PickedEntity());
    }
    entitiesWindow_->show();
    entitiesWindow_->raise();
    entitiesWindow_->activateWindow();
}
