#include "frmVorn.h"

#include "stagedocument.h"
#include "stageswindow.h"

#include <QComboBox>
#include <QSignalBlocker>

// The Stages window and the stage list that follows what it writes.

void frmVorn::OpenStagesWindow()
{
    if (!stagesWindow_) {
        StagesWindowHooks hooks;
        hooks.ask = [this](const QString& text, const QStringList& buttons) {
            return Ask(text, buttons, 0, int(buttons.size()) - 1);
        };
        hooks.tell = [this](const QString& text) { ShowMessage(text, QMessageBox::Warning); };
        hooks.openStage = [this](int index) {
            if (index >= 0 && index < cboMap->count())
                cboMap->setCurrentIndex(index);
        };
        hooks.written = [this] { RefreshStageList(); };
        stagesWindow_ = new StagesWindow(game_, hooks, this);
    }
    stagesWindow_->show();
    stagesWindow_->raise();
    stagesWindow_->activateWindow();
}

void frmVorn::RefreshStageList()
{
    const QSignalBlocker noLoad(cboMap); // a list rebuilt is no new selection
    const int selected = cboMap->currentIndex();
    while (cboMap->count() > game_.stageCount())
        cboMap->removeItem(cboMap->count() - 1);
    for (int i = 0; i < game_.stageCount(); ++i) {
        const QString text = vorn::StageListItemText(i, game_.table[size_t(i)]);
        if (i < cboMap->count())
            cboMap->setItemText(i, text);
        else
            cboMap->addItem(text);
    }
    cboMap->setCurrentIndex(selected < cboMap->count() ? selected : stage_->index());
}
